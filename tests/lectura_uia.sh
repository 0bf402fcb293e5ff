#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program read over UI Automation, as a Windows screen reader reads it, under Wine 10
# or later (Debian 13's; Debian 12's Wine 8 has no UI Automation client): the portable zip is
# unpacked in a fresh Wine prefix, its program started on a private X server beside a window
# manager, and UIA_CLIENT (tests/uia_ventana.cpp, which the windows preset builds) reads its
# window and presses keys in it. A watchdog ends the client if it hangs, so that a UI Automation
# call that never returns fails the test instead of stalling it. Installs what it lacks from
# Debian's archive, with sudo when not root.
#   tests/lectura_uia.sh ZIP UIA_CLIENT
# Exits 0 when the window reads as it should, 1 when not, and 77 (a skipped test) under an older
# Wine.
set -euo pipefail
if [ $# -ne 2 ]; then
    sed -n '11p' "$0" | sed 's/^# *//' >&2
    exit 2
fi
zip=$(realpath "$1") cliente=$(realpath "$2")
pruebas=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
source "$pruebas/../tools/common.sh"
# How long the client may take: it takes about 5 s under Wine 10 on 2 cores, and waits at most
# 30 s for the window.
LIMITE=90

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ -z "${LECTURA_UIA_X:-}" ]; then
    need_packages wine wine64
    version=$(wine --version)
    version=${version#wine-}
    if [ "${version%%.*}" -lt 10 ]; then
        echo "SKIP: Wine $version has no UI Automation client; Wine 10 or later has"
        exit 77
    fi
    need_packages xvfb xauth openbox unzip fonts-liberation
    echo "== $(wine --version), on a private X server"
    LECTURA_UIA_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$pruebas/$(basename "$0")" "$zip" "$cliente"
fi

tmp=$(mktemp -d)
export LC_ALL=C.UTF-8 LANG=C.UTF-8 WINEPREFIX=$tmp/prefijo WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml=
ventana_manager=
terminar() {
    wineserver -k 2> /dev/null || true
    [ -z "$ventana_manager" ] || kill "$ventana_manager" 2> /dev/null || true
    rm -rf "$tmp"
}
trap terminar EXIT

"$pruebas/wine.sh" prefijo "$WINEPREFIX"
openbox > "$tmp/openbox.log" 2>&1 < /dev/null &
ventana_manager=$!
unzip -q "$zip" -d "$tmp"
programa=$(find "$tmp" -path "$tmp/prefijo" -prune -o -name coltavenira.exe -print)
[ -n "$programa" ] || fail "no coltavenira.exe in $zip"
echo "== $(basename "$zip"): $(basename "$(dirname "$programa")")/coltavenira.exe"
(cd / && exec wine "$programa") > "$tmp/programa.log" 2>&1 &

# The client finds the window itself, waiting for it to open.
estado=0
timeout -k 5 $LIMITE wine "$cliente" || estado=$?
case $estado in
    0) echo "The window reads as a screen reader should read it." ;;
    124 | 137) fail "the UI Automation client hung: ended after $LIMITE s (watchdog)" ;;
    *) fail "the window does not read as it should over UI Automation" ;;
esac
