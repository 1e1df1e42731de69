# Instrumented builds of the standing checks: VEXA_FUZZ (scripts/fuzz) and VEXA_SANITIZE
# (scripts/sanitize). Undefined behaviour aborts instead of printing and going on, so
# every finding fails the run. -O1 keeps the runs fast and the stacks readable.
#
# Both options together (as the scripts configure build-check/) compile the core once
# for the tests and the harnesses: the coverage hooks libFuzzer reads are compiled in
# everywhere, and the sanitizer runtime gives them a default where libFuzzer is not
# linked (the tests, the build tools).

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
