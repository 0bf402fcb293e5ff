# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Windows: coltavenira.exe and, beside it, the Qt and MinGW libraries and the two Qt plugins it
# loads, nothing more. `cmake --build <dir> --target paquetes` makes from them, in the build
# folder, a portable zip and an installer (NSIS, makensis).

set(COLTAVENIRA_PAQUETE coltavenira-${COLTAVENIRA_VERSION_TEXT}-win64)

# What goes where, relative to the program's folder. Qt finds its plugins in the platforms/
# and styles/ folders beside the program, and its Spanish texts in translations/.
set(_bibliotecas_qt Qt6::Core Qt6::Gui Qt6::Widgets)
set(_plataforma Qt6::QWindowsIntegrationPlugin)
set(_estilo Qt6::QWindowsVistaStylePlugin)
set(_bibliotecas_mingw libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)

install(TARGETS coltavenira RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS ${_bibliotecas_qt} RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS ${_plataforma} LIBRARY DESTINATION platforms)
install(IMPORTED_RUNTIME_ARTIFACTS ${_estilo} LIBRARY DESTINATION styles)
set(_traduccion ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_es.qm)
if(NOT EXISTS ${_traduccion})
    message(FATAL_ERROR "No ${_traduccion}: tools/windows.sh puts Debian's there")
endif()
install(FILES ${_traduccion} DESTINATION translations)
foreach(dll IN LISTS _bibliotecas_mingw)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE _ruta OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_ruta}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    install(FILES ${_ruta} DESTINATION .)
endforeach()

# The program's PE header carries its link time, which ld takes from SOURCE_DATE_EPOCH: a build
# tree configured again under another date links the program again.
file(CONFIGURE OUTPUT fecha-de-enlace.txt CONTENT "$ENV{SOURCE_DATE_EPOCH}\n")
set_property(TARGET coltavenira APPEND PROPERTY LINK_DEPENDS
             ${CMAKE_CURRENT_BINARY_DIR}/fecha-de-enlace.txt)

# `cmake --install --strip` strips the libraries too, not only the program.
install(CODE "set(_strip \"${CMAKE_STRIP}\")")
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
        set(_binarios ${CMAKE_INSTALL_MANIFEST_FILES})
        list(FILTER _binarios INCLUDE REGEX "\\.(dll|exe)$")
        execute_process(COMMAND ${_strip} --strip-all ${_binarios} COMMAND_ERROR_IS_FATAL ANY)
    endif()
]])

set(_carpeta ${PROJECT_BINARY_DIR}/paquete/${COLTAVENIRA_PAQUETE})
# The program's folder, file by file in a fixed order. The installer puts exactly these there, in
# this order (`File /r` would take them in the order the file system lists them, which differs
# from one machine to another), and the uninstaller removes exactly these.
set(_archivos $<TARGET_FILE_NAME:coltavenira> ${_bibliotecas_mingw})
foreach(biblioteca IN LISTS _bibliotecas_qt)
    list(APPEND _archivos $<TARGET_FILE_NAME:${biblioteca}>)
endforeach()
list(APPEND _archivos platforms/$<TARGET_FILE_NAME:${_plataforma}>
     styles/$<TARGET_FILE_NAME:${_estilo}> translations/qtbase_es.qm)
set(COLTAVENIRA_NSIS_INSTALAR "")
set(COLTAVENIRA_NSIS_BORRAR "")
set(_carpeta_actual "")
foreach(archivo IN LISTS _archivos)
    set(_destino "$INSTDIR")
    string(FIND "${archivo}" "/" _barra)
    if(_barra GREATER 0)
        string(SUBSTRING "${archivo}" 0 ${_barra} _subcarpeta)
        string(APPEND _destino "\\${_subcarpeta}")
    endif()
    if(NOT _destino STREQUAL _carpeta_actual)
        string(APPEND COLTAVENIRA_NSIS_INSTALAR "  SetOutPath \"${_destino}\"\n")
        set(_carpeta_actual "${_destino}")
    endif()
    string(REPLACE "/" "\\" _windows "${archivo}")
    string(APPEND COLTAVENIRA_NSIS_INSTALAR "  File \"${_carpeta}/${archivo}\"\n")
    string(APPEND COLTAVENIRA_NSIS_BORRAR "  Delete \"$INSTDIR\\${_windows}\"\n")
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
