# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# Used both to build Qt for Windows and to build Coltavenira against that Qt.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_coltavenira_mingw x86_64-w64-mingw32)
# The posix thread model: std::thread and std::mutex, as Qt needs them.
set(CMAKE_C_COMPILER ${_coltavenira_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_coltavenira_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_coltavenira_mingw}-windres)

# Windows headers and libraries come from the MinGW tree, and from the prefixes given in
# CMAKE_PREFIX_PATH (our Qt for Windows); programs run during the build are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${_coltavenira_mingw} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
