# Instrumented builds of the standing checks: VEXA_FUZZ (scripts/fuzz) and VEXA_SANITIZE
# (scripts/sanitize). Undefined behaviour aborts instead of printing and going on, so
# every finding fails the run. -O1 keeps the runs fast and the stacks readable.

if(VEXA_FUZZ AND VEXA_SANITIZE)
    message(FATAL_ERROR "VEXA_FUZZ and VEXA_SANITIZE need separate build folders")
endif()

if(VEXA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VEXA_FUZZ needs clang: CC=clang CXX=clang++ cmake ... -DVEXA_FUZZ=ON")
    endif()
    # The harnesses add libFuzzer's main at their own link (-fsanitize=fuzzer).
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
    add_link_options(-fsanitize=address,undefined)
elseif(VEXA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer -O1)
    add_link_options(-fsanitize=address,undefined)
endif()
