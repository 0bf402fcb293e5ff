#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build tree and checks its control fields and contents.
# Usage: paquete_deb.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1
build=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || {
    cat "$out/cpack.log"
    exit 1
}
deb=$out/coltavenira_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; echo "no $(basename "$deb")"; exit 1; }
fail() { echo "$*"; dpkg-deb --info "$deb"; dpkg-deb --contents "$deb"; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = coltavenira ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong version"
grep -qE '^[^<]+ <[^@> ]+@[^> ]+>$' <<< "$(dpkg-deb -f "$deb" Maintainer)" || fail "no address"
depends=$(dpkg-deb -f "$deb" Depends)
# Debian 13's Qt libraries carry the 64-bit time names: libqt6core6t64.
for dep in 'libqt6widgets6(t64)?' 'libqt6gui6(t64)?' 'libqt6core6(t64)?' libc6 'libstdc\+\+6' \
    fonts-liberation qt6-translations-l10n; do
    grep -qE "(^|, )$dep( |,|$)" <<< "$depends" || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "does not recommend qt6-wayland"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/coltavenira \
    ./usr/share/applications/io.github.coltavenira.coltavenira.desktop \
    ./usr/share/metainfo/io.github.coltavenira.coltavenira.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/coltavenira.svg \
    ./usr/share/icons/hicolor/48x48/apps/coltavenira.png \
    ./usr/share/icons/hicolor/256x256/apps/coltavenira.png \
    ./usr/share/doc/coltavenira/copyright ./usr/share/doc/coltavenira/changelog.gz \
    ./usr/share/man/man1/coltavenira.1.gz ./usr/share/man/es/man1/coltavenira.1.gz; do
    grep -qx "$path" <<< "$contents" || fail "missing $path"
done
# Nothing of the build (static libraries, headers) leaks into the package.
if grep -E '\.(a|h)$' <<< "$contents"; then fail "build files in the package"; fi

# The changelog is Debian's, of this package. Whether it has an entry for this version is the
# release's business (tools/package.sh), not the tree's between two releases.
dpkg-deb -x "$deb" "$out/raiz"
entrada=$(zcat "$out/raiz/usr/share/doc/coltavenira/changelog.gz" | head -n1)
[[ $entrada =~ ^coltavenira\ \([0-9.]+\)\ unstable\;\ urgency=medium$ ]] ||
    fail "changelog starts with: $entrada"
# The menu entry, under Education › Electronics.
grep -qx 'Categories=Education;Electronics;' \
    "$out/raiz/usr/share/applications/io.github.coltavenira.coltavenira.desktop" ||
    fail "the menu entry is not under Education › Electronics"
echo "$(basename "$deb"): ok"
