#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Wine for the Windows build's tests, on the X server of $DISPLAY.
#   wine.sh prefijo PREFIX       a fresh 64-bit Wine prefix whose Arial is Liberation Sans
#   wine.sh arranca PREFIX       the tests' prefix (made once) and a window manager
#   wine.sh para PREFIX          ends what `arranca` started and the prefix's Wine processes
# The window manager is not for looks: without one Wine waits two seconds for every window it
# closes to be withdrawn.
set -euo pipefail
prefijo=$2

nuevo_prefijo() {
    rm -rf "$prefijo"
    WINEPREFIX=$prefijo wineboot -i > "$prefijo.log" 2>&1 || {
        cat "$prefijo.log"
        exit 1
    }
    WINEPREFIX=$prefijo wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial \
        /t REG_SZ /d 'Liberation Sans' /f > /dev/null
    WINEPREFIX=$prefijo wineserver -w
}

case $1 in
prefijo)
    nuevo_prefijo
    ;;
arranca)
    [ -f "$prefijo/system.reg" ] || nuevo_prefijo
    # Its output goes to a file: CTest would wait for a process holding the test's output.
    openbox > "$prefijo.openbox.log" 2>&1 < /dev/null &
    echo $! > "$prefijo.openbox.pid"
    ;;
para)
    WINEPREFIX=$prefijo wineserver -k 2> /dev/null || true
    if [ -f "$prefijo.openbox.pid" ]; then
        pid=$(cat "$prefijo.openbox.pid")
        kill "$pid" 2> /dev/null || true
        while kill -0 "$pid" 2> /dev/null; do sleep 0.1; done
        rm -f "$prefijo.openbox.pid"
    fi
    ;;
esac
