# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Makes the zip ZIP of the folder CARPETA, the folder's name its top folder, with the same bytes
# wherever and whenever the same commit is built: its files in name order, each dated by
# SOURCE_DATE_EPOCH (the last commit's time when it is unset) in UTC, with the modes a 0022 umask
# gives and no owner or other extra fields. The folder's files keep those dates and modes, so
# that the installer made from them stores the same.
# Usage: cmake -DCARPETA=FOLDER -DZIP=FILE -DRAIZ=SOURCE_DIR -P zip.cmake

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(_epoca $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git -C ${RAIZ} log -1 --format=%ct OUTPUT_VARIABLE _epoca
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _fallo ERROR_QUIET)
    if(_fallo)
        string(TIMESTAMP _epoca "%s" UTC)
    endif()
endif()

cmake_path(GET CARPETA PARENT_PATH _arriba)
file(GLOB_RECURSE _archivos LIST_DIRECTORIES false RELATIVE ${_arriba} ${CARPETA}/*)
file(GLOB_RECURSE _todo LIST_DIRECTORIES true ${CARPETA}/*)
list(SORT _archivos)

file(CHMOD_RECURSE ${CARPETA} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
     DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                           WORLD_READ WORLD_EXECUTE)
execute_process(COMMAND touch --no-dereference --date=@${_epoca} ${CARPETA} ${_todo}
                COMMAND_ERROR_IS_FATAL ANY)

string(REPLACE ";" "\n" _lista "${_archivos}\n")
file(WRITE ${ZIP}.lista "${_lista}")
file(REMOVE ${ZIP})
# -X: no owner, no extra time fields; -D: no folder entries. A zip's dates are local times.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q -@ ${ZIP}
                WORKING_DIRECTORY ${_arriba} INPUT_FILE ${ZIP}.lista COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${ZIP}.lista)
