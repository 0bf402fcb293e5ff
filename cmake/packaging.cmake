# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by cpack from the install rules.
#
# lintian --pedantic finds no error, warning or pedantic tag in it (tools/test.sh checks). One
# info tag is left, hardening-no-fortify-functions: the binary is built with _FORTIFY_SOURCE=2,
# but none of its calls can be fortified. The memcpy, memmove and memset it calls (inlined
# std::string code) write through pointers whose size the compiler cannot know, and libstdc++'s
# std::to_string of a double calls vsnprintf through a function pointer; hardening-check lists
# just those four.
# What lintian cannot see is done by hand here as dh would do it: the binary built with
# dpkg-buildflags' hardening flags (cmake/dpkg-buildflags.cmake, on in the release preset),
# stripped of its .comment and .note sections, the copyright file in machine-readable form and
# a changelog in Debian's format.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coltavenira)
# The version as the program and CHANGELOG.md write it.
set(CPACK_PACKAGE_VERSION ${COLTAVENIRA_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR "${COLTAVENIRA_AUTHORS}")
set(CPACK_PACKAGE_CONTACT "${COLTAVENIRA_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "resistor colour code reader")
set(CPACK_PACKAGE_DESCRIPTION
    "Coltavenira finds the value of a four-band resistor from its colours, picked\n\
in four drop-down lists, and shows it in ohms, kilo-ohms or mega-ohms with its\n\
tolerance. It works from the keyboard too. Its window is in Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked libraries, so dpkg-shlibdeps cannot see them: the font that stands in for Arial,
# and Qt's Spanish translation of its own texts (without it they show in English).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# Qt's Wayland platform plugin: without it the window runs through XWayland on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

if(NOT WIN32)
    # As dh_strip does: the compiler's .comment and .note sections go with the symbols.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                    --remove-section=.note
                                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:coltavenira>\"
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()")

    # The copyright file, its comment header dropped.
    file(READ ${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in _copyright)
    string(REGEX REPLACE "^(#[^\n]*\n)+" "" _copyright "${_copyright}")
    file(CONFIGURE OUTPUT debian/copyright CONTENT "${_copyright}" @ONLY)

    # The changelog, from CHANGELOG.md, compressed as dh_compress does. A native package's
    # changelog.gz is read as a Debian changelog.
    find_program(GZIP gzip REQUIRED)
    set(_changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog)
    add_custom_command(
        OUTPUT ${_changelog}.gz
        COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUT=${_changelog}
                -DPACKAGE=${CPACK_PACKAGE_NAME} -DMAINTAINER=${COLTAVENIRA_CONTACT}
                -P ${CMAKE_CURRENT_LIST_DIR}/debian/changelog.cmake
        COMMAND ${GZIP} -9nf ${_changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_CURRENT_LIST_DIR}/debian/changelog.cmake
        VERBATIM)
    add_custom_target(changelog ALL DEPENDS ${_changelog}.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright ${_changelog}.gz
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
include(CPack)
