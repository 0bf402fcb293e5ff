# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Windows: coltavenira.exe is the whole program, linked against a static Qt with MinGW's runtime
# built in, and beside it only the licence texts that conveying it requires. `cmake --build <dir>
# --target paquetes` makes from them, in the build folder, a portable zip and an installer (NSIS,
# makensis).

set(COLTAVENIRA_PAQUETE coltavenira-${COLTAVENIRA_VERSION_TEXT}-win64)

# A Windows program as one file. Its Qt plugins are linked in: the windows platform and the
# windowsvista style, and none of the others Qt builds (minimal, offscreen). MinGW's C++ runtime
# and threads are inside it, not DLLs beside it; and of Qt, whose every function and datum has a
# section of its own, only what the program calls.
function(coltavenira_un_archivo objetivo)
    qt_import_plugins(${objetivo} INCLUDE_BY_TYPE platforms Qt6::QWindowsIntegrationPlugin
                                                  styles Qt6::QWindowsVistaStylePlugin)
    target_link_options(${objetivo} PRIVATE -static -Wl,--gc-sections)
endfunction()
coltavenira_un_archivo(coltavenira)
# The benchmark's bare Qt window, built the same way, for tools/bench.sh to start under Wine.
add_subdirectory(bench/suelo EXCLUDE_FROM_ALL)
coltavenira_un_archivo(coltavenira_suelo)

install(TARGETS coltavenira RUNTIME DESTINATION .)
include(${CMAKE_CURRENT_LIST_DIR}/licencias-windows.cmake)

# The program's PE header carries its link time, which ld takes from SOURCE_DATE_EPOCH: a build
# tree configured again under another date links the program again.
file(CONFIGURE OUTPUT fecha-de-enlace.txt CONTENT "$ENV{SOURCE_DATE_EPOCH}\n")
set_property(TARGET coltavenira APPEND PROPERTY LINK_DEPENDS
             ${CMAKE_CURRENT_BINARY_DIR}/fecha-de-enlace.txt)

set(_carpeta ${PROJECT_BINARY_DIR}/paquete/${COLTAVENIRA_PAQUETE})
# The program's folder, file by file in a fixed order. The installer puts exactly these there, in
# this order, and the uninstaller removes exactly these.
set(_archivos $<TARGET_FILE_NAME:coltavenira> ${COLTAVENIRA_LICENCIAS})
set(COLTAVENIRA_NSIS_INSTALAR "")
set(COLTAVENIRA_NSIS_BORRAR "")
foreach(archivo IN LISTS _archivos)
    string(APPEND COLTAVENIRA_NSIS_INSTALAR "  File \"${_carpeta}/${archivo}\"\n")
    string(APPEND COLTAVENIRA_NSIS_BORRAR "  Delete \"$INSTDIR\\${archivo}\"\n")
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/data/coltavenira.nsi.in coltavenira.nsi.gen @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/coltavenira.nsi
     INPUT ${PROJECT_BINARY_DIR}/coltavenira.nsi.gen)

find_program(COLTAVENIRA_MAKENSIS makensis REQUIRED)
add_custom_target(paquetes
    COMMAND ${CMAKE_COMMAND} -E rm -rf paquete ${COLTAVENIRA_PAQUETE}.zip
            ${COLTAVENIRA_PAQUETE}-setup.exe
    COMMAND ${CMAKE_COMMAND} --install . --prefix ${_carpeta} --strip
    COMMAND ${CMAKE_COMMAND} -DCARPETA=${_carpeta} -DZIP=${PROJECT_BINARY_DIR}/${COLTAVENIRA_PAQUETE}.zip
            -DRAIZ=${PROJECT_SOURCE_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/zip.cmake
    COMMAND ${COLTAVENIRA_MAKENSIS} -V2 -INPUTCHARSET UTF8 coltavenira.nsi
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DEPENDS coltavenira
    COMMENT "Making ${COLTAVENIRA_PAQUETE}.zip and ${COLTAVENIRA_PAQUETE}-setup.exe"
    VERBATIM)
