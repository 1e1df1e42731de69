# Install layout and the Debian package.
#
#   bin/vexa
#   share/vexa/                  the program folder, as assembled in the build folder;
#                                AppPaths::locateProgramDir finds it as ../share/vexa
#   share/applications/vexa.desktop
#   share/icons/hicolor/         scalable/apps/vexa.svg and <N>x<N>/apps/vexa.png
#   share/doc/vexa/copyright
#
# `cmake --install <build> [--prefix P]` installs it (prefix /usr/local by default);
# `cpack -G DEB` in the build folder packs the same tree under /usr.

include(GNUInstallDirs)

install(TARGETS vexa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The generated files (archive, PDFs) exist only in the build folder, so everything is
# taken from there.
foreach(_vexa_file IN LISTS VEXA_PROGRAM_FILES)
    file(RELATIVE_PATH _vexa_relative ${VEXA_PROGRAM_DIR} ${_vexa_file})
    get_filename_component(_vexa_folder ${_vexa_relative} DIRECTORY)
    install(FILES ${_vexa_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/vexa/${_vexa_folder})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/install/desktop/vexa.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(_vexa_icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${VEXA_ICON_SVG} DESTINATION ${_vexa_icon_theme}/scalable/apps)
foreach(_vexa_size IN LISTS VEXA_ICON_SIZES)
    set(_vexa_folder ${_vexa_size}x${_vexa_size}/apps)
    install(FILES ${VEXA_ICONS_DIR}/${_vexa_folder}/vexa.png
        DESTINATION ${_vexa_icon_theme}/${_vexa_folder})
endforeach()

# Debian wants the licences of a package in share/doc/<package>/copyright: the program
# code's and the content's in one file. Written only when it changed, so an unchanged
# reconfigure does not make the package stale.
set(_vexa_licence ${PROJECT_SOURCE_DIR}/LICENSE)
set(_vexa_notice ${PROJECT_SOURCE_DIR}/install/NOTICE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_vexa_licence})
file(READ ${_vexa_licence} _vexa_text)
set(_vexa_copyright "Vexa\n\nProgram code\n============\n\n${_vexa_text}")
if(EXISTS ${_vexa_notice})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_vexa_notice})
    file(READ ${_vexa_notice} _vexa_text)
    string(APPEND _vexa_copyright "\n\n${_vexa_text}")
endif()
set(_vexa_copyright_file ${CMAKE_BINARY_DIR}/package/copyright)
set(_vexa_text "")
if(EXISTS ${_vexa_copyright_file})
    file(READ ${_vexa_copyright_file} _vexa_text)
endif()
if(NOT _vexa_text STREQUAL _vexa_copyright)
    file(WRITE ${_vexa_copyright_file} "${_vexa_copyright}")
endif()
install(FILES ${_vexa_copyright_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vexa)

# The Debian package. dpkg-shlibdeps finds the linked libraries; the rest is what only
# shows at run time: WebEngine's helper process and the fonts the pages ask for.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa)
set(CPACK_PACKAGE_VENDOR Ostravello)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "trainer for the German amateur radio licence examination")
set(CPACK_PACKAGE_DESCRIPTION
    "Vexa trains the questions of the German amateur radio licence examination\n\
(classes A and E) section by section, holds timed mock examinations of the\n\
three parts (technical knowledge, operating knowledge, regulations), evaluates\n\
every submitted sheet and keeps an exam log. A demonstration catalogue with\n\
worked solutions is included. The user interface is German.\n\
\n\
Vexa ist ein Trainer für die deutsche Amateurfunkprüfung (Klassen A und E):\n\
Fragen abschnittsweise üben, Prüfungen auf Zeit ablegen, Auswertung und\n\
Prüfungslog.")
set(VEXA_DEB_MAINTAINER "Ostravello <vexa@ostravello.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VEXA_DEB_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The import typesets formulas with Debian's KaTeX script at run time; the learning
# store needs Qt's SQLite driver, a plugin that no library links.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS libqt6webenginecore6-bin fonts-liberation
    fonts-dejavu-core qt6-translations-l10n libjs-katex libqt6sql6-sqlite)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
