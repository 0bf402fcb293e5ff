#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the Windows resource script as a Windows build would, reads the result back, and
# checks the version record: file and product version 1.00, Spanish (Spain), and the icon.
set -euo pipefail
rc=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-xc -i "$rc" -O res -o "$tmp/r.res"
x86_64-w64-mingw32-windres -i "$tmp/r.res" -O rc > "$tmp/r.rc"
for expected in 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' 'BLOCK "0c0a04b0"' \
    'VALUE "FileVersion", "1.00"' 'VALUE "ProductVersion", "1.00"' \
    'VALUE "Translation", 0xc0a, 1200' 'RT_GROUP_ICON' 'LANGUAGE 10, 3'; do
    grep -qF "$expected" "$tmp/r.rc" || { echo "missing: $expected"; cat "$tmp/r.rc"; exit 1; }
done
echo "version record and icon: ok"
