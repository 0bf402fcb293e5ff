# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's compiler and linker flags, as dpkg-buildflags gives them to a package's build: with
# every hardening feature (fortified functions, stack protector, full RELRO with bind-now)
# unless DEB_BUILD_MAINT_OPTIONS in the environment says otherwise.
option(COLTAVENIRA_DPKG_BUILDFLAGS "Build with the flags of dpkg-buildflags (Debian hardening)"
       OFF)
if(COLTAVENIRA_DPKG_BUILDFLAGS)
    find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
    if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
        set(_opciones "$ENV{DEB_BUILD_MAINT_OPTIONS}")
    else()
        set(_opciones hardening=+all)
    endif()
    foreach(_par IN ITEMS CPPFLAGS:CMAKE_CXX_FLAGS CXXFLAGS:CMAKE_CXX_FLAGS
                          LDFLAGS:CMAKE_EXE_LINKER_FLAGS LDFLAGS:CMAKE_SHARED_LINKER_FLAGS)
        string(REPLACE ":" ";" _par ${_par})
        list(GET _par 0 _de)
        list(GET _par 1 _a)
        # From the source folder, so that -ffile-prefix-map takes the build's paths out.
        execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${_opciones}
                                ${DPKG_BUILDFLAGS} --get ${_de}
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        OUTPUT_VARIABLE _banderas OUTPUT_STRIP_TRAILING_WHITESPACE
                        COMMAND_ERROR_IS_FATAL ANY)
        string(APPEND ${_a} " ${_banderas}")
    endforeach()
endif()
