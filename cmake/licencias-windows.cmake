# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The licence texts beside coltavenira.exe, as conveying it requires: the GPL (the program), the
# LGPL (Qt, linked in), and a notice naming each component built into the program with its
# version and licence, with where the source is and, in full, the notices those licences ask a
# copy to carry. Every text is Debian's own copy on the build machine: the common licences, the
# copyright files of the MinGW-w64 packages, and those of the qt6-base source Qt was built from
# (tools/windows.sh keeps them in Qt's folder). Windows opens a .txt with a double click; the
# lines end in CRLF, which every Notepad shows right. Sets COLTAVENIRA_LICENCIAS to their names.

set(_licencias ${QT6_INSTALL_PREFIX}/licencias)
if(NOT EXISTS ${_licencias}/qt6-base-copyright)
    message(FATAL_ERROR "No ${_licencias}/qt6-base-copyright: tools/windows.sh puts it there")
endif()
# The files of the Corresponding Source, by the names they are published under beside the
# program (tools/release.sh): our source archive, the qt6-base source package Qt was built from
# (tools/windows.sh keeps it beside Qt), the .dsc first, and the patch it took.
file(GLOB _fuente_qt LIST_DIRECTORIES false RELATIVE ${QT6_INSTALL_PREFIX}/fuente
     ${QT6_INSTALL_PREFIX}/fuente/*)
list(FILTER _fuente_qt EXCLUDE REGEX "\\.dsc$")
list(SORT _fuente_qt)
file(GLOB _dsc LIST_DIRECTORIES false RELATIVE ${QT6_INSTALL_PREFIX}/fuente
     ${QT6_INSTALL_PREFIX}/fuente/*.dsc)
if(NOT _dsc OR NOT _fuente_qt)
    message(FATAL_ERROR "No qt6-base source in ${QT6_INSTALL_PREFIX}/fuente: tools/windows.sh "
                        "puts it there")
endif()
set(_fuente_qt ${_dsc} ${_fuente_qt})
list(JOIN _fuente_qt "\n  " _fuente_qt)
set(_parche qtbase-directwrite3-needs-direct2d.patch)
set(_salida ${PROJECT_BINARY_DIR}/licencias)
file(MAKE_DIRECTORY ${_salida})

# _crlf(VAR): VAR's lines ending in CRLF.
macro(_crlf variable)
    string(REPLACE "\r\n" "\n" ${variable} "${${variable}}")
    string(REPLACE "\n" "\r\n" ${variable} "${${variable}}")
endmacro()

# _version_debian(VAR PACKAGE): the version of the installed Debian package, and of its source.
function(_version_debian variable paquete)
    execute_process(COMMAND dpkg-query -W [=[-f=${Version}|${source:Package} ${source:Version}]=]
                            ${paquete}
                    OUTPUT_VARIABLE _version RESULT_VARIABLE _fallo)
    if(_fallo)
        message(FATAL_ERROR "dpkg-query knows no ${paquete}")
    endif()
    string(REPLACE "|" ";" _version "${_version}")
    set(${variable} "${_version}" PARENT_SCOPE)
endfunction()

# The libraries built into Qt: name, folder in Qt's source, and their version and licence as Qt's
# record of them (qt_attribution.json) gives them.
set(_terceros "FreeType|freetype" "HarfBuzz|harfbuzz-ng" "libpng|libpng" "zlib|zlib"
              "PCRE2|pcre2" "double-conversion|double-conversion")
file(STRINGS ${_licencias}/qt6-base-version _qt_debian)
_version_debian(_gcc gcc-mingw-w64-x86-64-posix)
_version_debian(_mingw mingw-w64-x86-64-dev)
list(GET _gcc 0 _gcc_version)
string(REGEX REPLACE "-.*" "" _gcc_version "${_gcc_version}")
list(GET _mingw 0 _mingw_version)
string(REGEX REPLACE "-.*" "" _mingw_version "${_mingw_version}")
list(GET _gcc 1 _gcc_fuente)
list(GET _mingw 1 _mingw_fuente)

set(_lista "")
set(_textos "")
foreach(tercero IN LISTS _terceros)
    string(REPLACE "|" ";" tercero "${tercero}")
    list(GET tercero 0 _nombre)
    list(GET tercero 1 _carpeta)
    file(READ ${_licencias}/${_carpeta}/qt_attribution.json _registro)
    string(REGEX MATCH "\"Version\": \"([^\"]*)\"" _ "${_registro}")
    set(_version ${CMAKE_MATCH_1})
    string(REGEX MATCH "\"License\": \"(([^\"\\\\]|\\\\.)*)\"" _ "${_registro}")
    string(REPLACE "\\\"" "\"" _licencia "${CMAKE_MATCH_1}")
    string(APPEND _lista "- ${_nombre} ${_version}, incorporado en Qt: ${_licencia}.\n")
    string(APPEND _textos "\n\n===== ${_nombre} ${_version} =====\n")
    file(GLOB _archivos LIST_DIRECTORIES false ${_licencias}/${_carpeta}/*)
    list(FILTER _archivos EXCLUDE REGEX "qt_attribution\\.json$")
    list(SORT _archivos)
    foreach(archivo IN LISTS _archivos)
        cmake_path(GET archivo FILENAME _archivo)
        string(APPEND _textos "\n----- ${_archivo} -----\n\n")
        file(READ ${archivo} _texto)
        string(APPEND _textos "${_texto}")
    endforeach()
endforeach()

string(REGEX REPLACE "[+-].*" "" _qt_version "${_qt_debian}")
set(_version_programa ${COLTAVENIRA_VERSION_TEXT})
set(_titulo "Coltavenira ${_version_programa} para Windows: avisos de terceros")
string(LENGTH "${_titulo}" _largo)
string(REPEAT "=" ${_largo} _raya)
set(_avisos "${_titulo}
${_raya}

coltavenira.exe es Coltavenira ${_version_programa}, software libre bajo la licencia GPL-3.0-or-later
(LICENCIA-GPL-3.0.txt). Lleva incorporados, enlazados en el mismo archivo, estos componentes:

- Qt ${_qt_version} (Qt Core, Qt Gui, Qt Widgets y sus plugins windows y windowsvista), de The Qt
  Company Ltd. y otros autores: LGPL-3.0-only (LICENCIA-LGPL-3.0.txt).
${_lista}- El tiempo de ejecución de MinGW-w64 ${_mingw_version}: su biblioteca de C (mingw-w64-crt) y
  winpthreads, bajo las licencias ZPL-2.1, MIT y otras libres que su aviso detalla abajo.
- libstdc++ y libgcc de GCC ${_gcc_version}: GPL-3.0-or-later con la GCC Runtime Library Exception,
  versión 3.1, que permite incorporarlas a un programa bajo cualquier licencia.

Fuente correspondiente
----------------------

La fuente correspondiente se publica junto a este programa, en el mismo sitio del que se
descarga, en estos archivos (SHA256SUMS, a su lado, da la suma SHA-256 de cada uno):

  coltavenira-${_version_programa}.tar.gz
      la fuente de Coltavenira ${_version_programa}, de la que se construyó coltavenira.exe;
  ${_fuente_qt}
      el paquete fuente de Debian qt6-base ${_qt_debian}, del que se construyó Qt
      (apt-get source qt6-base=${_qt_debian} lo descarga también de Debian);
  ${_parche}
      el pequeño cambio que se aplicó a esa fuente de Qt antes de construirla.

La fuente de Coltavenira está también en su repositorio, en la etiqueta v${_version_programa}:
${PROJECT_HOMEPAGE_URL}
Su tools/windows.sh construye Qt a partir de esos archivos, y el programa; con él se puede
volver a enlazar coltavenira.exe con otra versión de Qt, modificada o no. El tiempo de ejecución
de MinGW-w64 y el de GCC vienen de los paquetes fuente de Debian ${_mingw_fuente} y
${_gcc_fuente}.

Los avisos que esas licencias piden acompañar al programa siguen, completos: los de cada
biblioteca incorporada en Qt, como las trae la fuente de Qt; el registro de derechos de Debian
(debian/copyright) de qt6-base, que cubre Qt entero; y los de los paquetes de MinGW-w64 y de GCC.

De FreeType, Coltavenira toma la FreeType License (FTL), que pide este reconocimiento:
Portions of this software are copyright © 2022 The FreeType Project (www.freetype.org).
All rights reserved.
${_textos}")
string(APPEND _avisos "\n\n===== Qt ${_qt_version}: debian/copyright de qt6-base ${_qt_debian} =====\n\n")
file(READ ${_licencias}/qt6-base-copyright _texto)
string(APPEND _avisos "${_texto}")
string(APPEND _avisos "\n\n===== MinGW-w64 ${_mingw_version}: /usr/share/doc/mingw-w64-common/copyright =====\n\n")
file(READ /usr/share/doc/mingw-w64-common/copyright _texto)
string(APPEND _avisos "${_texto}")
string(APPEND _avisos "\n\n===== GCC ${_gcc_version}, libstdc++ y libgcc: /usr/share/doc/gcc-mingw-w64-base/copyright =====\n\n")
file(READ /usr/share/doc/gcc-mingw-w64-base/copyright _texto)
string(APPEND _avisos "${_texto}")

# The notice is UTF-8 with a byte order mark, by which every Notepad knows it.
set(COLTAVENIRA_LICENCIAS LICENCIA-GPL-3.0.txt LICENCIA-LGPL-3.0.txt AVISOS-DE-TERCEROS.txt)
file(READ /usr/share/common-licenses/GPL-3 _gpl)
file(READ /usr/share/common-licenses/LGPL-3 _lgpl)
string(ASCII 239 187 191 _bom)
set(_avisos "${_bom}${_avisos}")
set(_textos _gpl _lgpl _avisos)
foreach(nombre texto IN ZIP_LISTS COLTAVENIRA_LICENCIAS _textos)
    _crlf(${texto})
    file(WRITE ${_salida}/${nombre} "${${texto}}")
    install(FILES ${_salida}/${nombre} DESTINATION .)
endforeach()
