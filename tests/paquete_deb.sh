#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build tree and checks its control fields and contents.
set -euo pipefail
cpack=$1
build=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || {
    cat "$out/cpack.log"
    exit 1
}
deb=$(ls "$out"/coltavenira_1.0*_amd64.deb)
fail() { echo "$*"; dpkg-deb --info "$deb"; dpkg-deb --contents "$deb"; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = coltavenira ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.0 ] || fail "wrong version"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-liberation; do
    grep -q "\b$dep\b" <<< "$depends" || fail "Depends lacks $dep: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/coltavenira ./usr/share/applications/io.github.coltavenira.coltavenira.desktop \
    ./usr/share/metainfo/io.github.coltavenira.coltavenira.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/coltavenira.svg \
    ./usr/share/icons/hicolor/48x48/apps/coltavenira.png \
    ./usr/share/icons/hicolor/256x256/apps/coltavenira.png; do
    grep -qx "$path" <<< "$contents" || fail "missing $path"
done
# Nothing of the build (static libraries, headers) leaks into the package.
if grep -E '\.(a|h)$' <<< "$contents"; then fail "build files in the package"; fi
echo "$(basename "$deb"): ok"
