#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# CTest's emulator in the Windows build (tools/windows.sh sets it up): runs a Qt Test program
# under Wine. What Qt Test prints does not reach this side, so it writes to a file, printed
# here; the program's exit status is this script's.
set -uo pipefail
# Wine keeps the QT_ variables of Unix programs from Windows ones, but passes WINEQT_ ones on
# as QT_: a test's QT_SCALE_FACTOR or QT_QPA_PLATFORM must reach it.
for nombre in $(compgen -e); do
    if [[ $nombre == QT_* ]]; then
        export "WINE$nombre=${!nombre}"
    fi
done
salida=$(mktemp --suffix=.txt)
trap 'rm -f "$salida"' EXIT
wine "$@" -o "Z:${salida//\//\\},txt"
estado=$?
cat "$salida"
exit "$estado"
