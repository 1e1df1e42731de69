# Qt's headers are most of what a translation unit of this project parses. Each library
# precompiles the Qt modules it uses; the programs of one kind (core tests, window tests,
# benchmarks, fuzz harnesses) share one precompiled header made by a target of their own,
# which must have the programs' flags and definitions for the compiler to take it.
# -DVEXA_PCH=OFF builds without, which shows a file that forgets an include.
option(VEXA_PCH "Precompile the Qt headers" ON)

# Precompiles headers (like <QtCore/QtCore>) for target's own sources.
function(vexa_precompile target)
    if(VEXA_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()

# Makes the target that holds the precompiled header for programs of one kind; give it
# the programs' links, definitions and options, then vexa_reuse_precompiled() per program.
function(vexa_add_precompiled_target target)
    if(NOT VEXA_PCH)
        return()
    endif()
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Holds the precompiled header only.\n")
    add_library(${target} OBJECT ${source})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
    target_precompile_headers(${target} PRIVATE ${ARGN})
endfunction()

function(vexa_reuse_precompiled target from)
    if(VEXA_PCH)
        target_precompile_headers(${target} REUSE_FROM ${from})
    endif()
endfunction()
