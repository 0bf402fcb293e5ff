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

# `cmake --install --strip` strips the libraries too, not only the program.
install(CODE "set(_strip \"${CMAKE_STRIP}\")")
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
        set(_binarios ${CMAKE_INSTALL_MANIFEST_FILES})
        list(FILTER _binarios INCLUDE REGEX "\\.(dll|exe)$")
        execute_process(COMMAND ${_strip} --strip-all ${_binarios} COMMAND_ERROR_IS_FATAL ANY)
    endif()
]])

# The uninstaller removes exactly what the installer put in the program's folder.
set(COLTAVENIRA_NSIS_BORRAR "")
foreach(archivo $<TARGET_FILE_NAME:coltavenira> ${_bibliotecas_mingw})
    string(APPEND COLTAVENIRA_NSIS_BORRAR "  Delete \"$INSTDIR\\${archivo}\"\n")
endforeach()
foreach(biblioteca IN LISTS _bibliotecas_qt)
    string(APPEND COLTAVENIRA_NSIS_BORRAR
           "  Delete \"$INSTDIR\\$<TARGET_FILE_NAME:${biblioteca}>\"\n")
endforeach()
string(APPEND COLTAVENIRA_NSIS_BORRAR
       "  Delete \"$INSTDIR\\platforms\\$<TARGET_FILE_NAME:${_plataforma}>\"\n"
       "  Delete \"$INSTDIR\\styles\\$<TARGET_FILE_NAME:${_estilo}>\"\n"
       "  Delete \"$INSTDIR\\translations\\qtbase_es.qm\"\n")

set(_carpeta ${PROJECT_BINARY_DIR}/paquete/${COLTAVENIRA_PAQUETE})
configure_file(${PROJECT_SOURCE_DIR}/data/coltavenira.nsi.in coltavenira.nsi.gen @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/coltavenira.nsi
     INPUT ${PROJECT_BINARY_DIR}/coltavenira.nsi.gen)

find_program(COLTAVENIRA_MAKENSIS makensis REQUIRED)
add_custom_target(paquetes
    COMMAND ${CMAKE_COMMAND} -E rm -rf paquete ${COLTAVENIRA_PAQUETE}.zip
            ${COLTAVENIRA_PAQUETE}-setup.exe
    COMMAND ${CMAKE_COMMAND} --install . --prefix ${_carpeta} --strip
    COMMAND ${CMAKE_COMMAND} -E chdir paquete
            ${CMAKE_COMMAND} -E tar cf ../${COLTAVENIRA_PAQUETE}.zip --format=zip
            ${COLTAVENIRA_PAQUETE}
    COMMAND ${COLTAVENIRA_MAKENSIS} -V2 -INPUTCHARSET UTF8 coltavenira.nsi
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DEPENDS coltavenira
    COMMENT "Making ${COLTAVENIRA_PAQUETE}.zip and ${COLTAVENIRA_PAQUETE}-setup.exe"
    VERBATIM)
