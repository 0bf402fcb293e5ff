#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Coltavenira (installing what is missing) and runs every test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# Beside the build: comma locales, Qt's private headers (to switch accessibility on in tests),
# the tools that check the desktop entry, the AppStream record, the Windows resource script and
# the Debian package; a private X server with a window manager and the accessibility bus, where
# the real program is read as a screen reader reads it; a headless Weston and Qt's Wayland
# plugin for the window on Wayland; reuse for the licences.
need_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" locales qt6-base-private-dev \
    desktop-file-utils appstream binutils-mingw-w64-x86-64 clang libclang-rt-14-dev \
    python3-pyatspi at-spi2-core dbus xvfb openbox xdotool x11-utils \
    appstream-compose lintian weston qt6-wayland reuse clang-format

echo "== Licences"
reuse lint

# The calculator is checked in comma locales, as a Qt program in Spain or Germany runs.
for loc in es_ES de_DE; do
    if ! locale -a 2>/dev/null | grep -qx "${loc}.utf8"; then
        as_root sed -i "s/^# *${loc}.UTF-8 UTF-8/${loc}.UTF-8 UTF-8/" /etc/locale.gen
        need_locale_gen=1
    fi
done
if [ -n "${need_locale_gen:-}" ]; then
    as_root locale-gen
fi

configure_and_build dev
ctest --preset dev

# The site, built with emscripten, and its tests in headless Chromium; the WebAssembly walk is
# checked against recorrido_lecturas of the build above.
echo "== The web edition"
./tools/web.sh --test

echo "== Debian package"
./tools/package.sh
lintian --pedantic --display-info --fail-on error,warning,pedantic \
    build-release/coltavenira_*.deb

echo "== Fuzzing the calculator"
configure_and_build fuzz
ctest --preset fuzz

echo "== Sanitized build"
configure_and_build asan
ctest --preset asan
