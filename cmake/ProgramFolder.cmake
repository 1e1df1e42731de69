# Makes the build folder a runnable program folder: the installed pages, style sheets
# and pictures, the catalogue archive packed from its text sources, and the worked
# solutions rendered to PDF. Globs are re-read at every build (CONFIGURE_DEPENDS), so
# files added to install/ later are picked up without a manual reconfigure.

set(VEXA_INSTALL_SOURCE ${PROJECT_SOURCE_DIR}/install)
set(_vexa_program_files)

# One copy rule per file: editing a page copies just that page again.
function(_vexa_copy_file relative)
    set(from ${VEXA_INSTALL_SOURCE}/${relative})
    set(to ${VEXA_PROGRAM_DIR}/${relative})
    add_custom_command(OUTPUT ${to}
        COMMAND ${CMAKE_COMMAND} -E copy ${from} ${to}
        DEPENDS ${from}
        COMMENT "Copying ${relative}"
        VERBATIM)
    set(_vexa_program_files ${_vexa_program_files} ${to} PARENT_SCOPE)
endfunction()

foreach(folder IN ITEMS html css pics)
    file(GLOB_RECURSE _vexa_files CONFIGURE_DEPENDS LIST_DIRECTORIES false
        RELATIVE ${VEXA_INSTALL_SOURCE} ${VEXA_INSTALL_SOURCE}/${folder}/*)
    foreach(relative IN LISTS _vexa_files)
        _vexa_copy_file(${relative})
    endforeach()
endforeach()

file(GLOB _vexa_notice CONFIGURE_DEPENDS ${VEXA_INSTALL_SOURCE}/NOTICE)
if(_vexa_notice)
    _vexa_copy_file(NOTICE)
endif()

# Catalogue archive. The pictures are inputs too: the packer checks that every picture
# a question names exists.
file(GLOB _vexa_catalogue_sources CONFIGURE_DEPENDS
    ${VEXA_INSTALL_SOURCE}/Fragen/*fragen.txt
    ${VEXA_INSTALL_SOURCE}/Fragen/*Abschnitte.txt
    ${VEXA_INSTALL_SOURCE}/Fragen/FragenVersion.txt)
file(GLOB_RECURSE _vexa_pictures CONFIGURE_DEPENDS LIST_DIRECTORIES false
    ${VEXA_INSTALL_SOURCE}/pics/*)
if(_vexa_catalogue_sources)
    set(_vexa_archive ${VEXA_PROGRAM_DIR}/Fragen/ZIROdazud.qst)
    add_custom_command(OUTPUT ${_vexa_archive}
        COMMAND vexapack ${VEXA_INSTALL_SOURCE}/Fragen ${_vexa_archive}
            --install ${VEXA_INSTALL_SOURCE}
        DEPENDS vexapack ${_vexa_catalogue_sources} ${_vexa_pictures}
        COMMENT "Checking and packing the catalogue archive Fragen/ZIROdazud.qst"
        VERBATIM)
    list(APPEND _vexa_program_files ${_vexa_archive})
else()
    message(STATUS "install/Fragen holds no catalogue sources yet; no catalogue archive")
endif()

# Worked solutions: one run renders all pages; every PDF is a named output, so a
# deleted PDF is made again.
set(_vexa_solutions_source ${VEXA_INSTALL_SOURCE}/Fragen/QZ7TRV)
set(_vexa_solutions_output ${VEXA_PROGRAM_DIR}/Fragen/QZ7TRV)
file(GLOB _vexa_solution_pages CONFIGURE_DEPENDS
    ${_vexa_solutions_source}/KlasseA/*.html
    ${_vexa_solutions_source}/KlasseE/*.html)
if(_vexa_solution_pages)
    set(_vexa_solution_pdfs)
    foreach(page IN LISTS _vexa_solution_pages)
        get_filename_component(_vexa_id ${page} NAME_WLE)
        get_filename_component(_vexa_class_dir ${page} DIRECTORY)
        get_filename_component(_vexa_class ${_vexa_class_dir} NAME)
        list(APPEND _vexa_solution_pdfs ${_vexa_solutions_output}/${_vexa_class}/${_vexa_id}.pdf)
    endforeach()
    add_custom_command(OUTPUT ${_vexa_solution_pdfs}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:vexasolutions> ${_vexa_solutions_source} ${_vexa_solutions_output}
        DEPENDS vexasolutions ${_vexa_solution_pages}
        COMMENT "Rendering the worked solutions to PDF"
        VERBATIM)
    list(APPEND _vexa_program_files ${_vexa_solution_pdfs})
endif()

# KaTeX's style sheet and fonts (Debian's libjs-katex and fonts-katex) for the formulas of
# an imported catalogue: the generated pages' style sheet imports css/katex/katex.min.css.
set(VEXA_KATEX_DIR /usr/share/javascript/katex CACHE PATH "Folder of katex.min.css and fonts/")
if(EXISTS ${VEXA_KATEX_DIR}/katex.min.css)
    file(GLOB _vexa_katex_fonts ${VEXA_KATEX_DIR}/fonts/*.woff2)
    foreach(from IN LISTS _vexa_katex_fonts ITEMS ${VEXA_KATEX_DIR}/katex.min.css)
        file(RELATIVE_PATH _vexa_relative ${VEXA_KATEX_DIR} ${from})
        set(to ${VEXA_PROGRAM_DIR}/css/katex/${_vexa_relative})
        add_custom_command(OUTPUT ${to}
            COMMAND ${CMAKE_COMMAND} -E copy ${from} ${to}
            DEPENDS ${from}
            COMMENT "Copying KaTeX ${_vexa_relative}"
            VERBATIM)
        list(APPEND _vexa_program_files ${to})
    endforeach()
else()
    message(STATUS "No KaTeX style sheet in ${VEXA_KATEX_DIR}: imported formulas show unstyled")
endif()

add_custom_target(vexa_program_folder ALL DEPENDS ${_vexa_program_files})
# cmake/Install.cmake installs exactly these.
set(VEXA_PROGRAM_FILES ${_vexa_program_files})
