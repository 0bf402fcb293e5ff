#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the Windows resource script as a Windows build would, reads the result back, and
# checks the version record: the file and product version as the program writes it ("1.00"),
# Spanish (Spain), and the icon.
# Usage: recurso_windows.sh RC_FILE VERSION_TEXT MAJOR MINOR
set -euo pipefail
rc=$1 texto=$2 mayor=$3 menor=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-xc -i "$rc" -O res -o "$tmp/r.res"
x86_64-w64-mingw32-windres -i "$tmp/r.res" -O rc > "$tmp/r.rc"
for expected in "FILEVERSION $mayor, $menor, 0, 0" "PRODUCTVERSION $mayor, $menor, 0, 0" \
    'BLOCK "0c0a04b0"' "VALUE \"FileVersion\", \"$texto\"" \
    "VALUE \"ProductVersion\", \"$texto\"" 'VALUE "Translation", 0xc0a, 1200' 'RT_GROUP_ICON' \
    'LANGUAGE 10, 3'; do
    grep -qF "$expected" "$tmp/r.rc" || { echo "missing: $expected"; cat "$tmp/r.rc"; exit 1; }
done
echo "version record and icon: ok"
