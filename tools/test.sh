#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Coltavenira (installing what is missing) and runs every test suite.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# Beside the build: comma locales, Qt's private headers (to switch accessibility on in tests),
# the tools that check the desktop entry, the AppStream record, the Windows resource script and
# the Debian package; a private X server with a window manager and the accessibility bus, where
# the real program is read as a screen reader reads it, and Orca speaks it; a headless Weston and
# Qt's Wayland plugin for the window on Wayland; reuse for the licences; shellcheck and flake8
# for the scripts.
need_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${TEST_PACKAGES_FOR_13[@]}" \
    locales qt6-base-private-dev desktop-file-utils appstream appstream-compose \
    binutils-mingw-w64-x86-64 clang libclang-rt-dev python3-pyatspi at-spi2-core dbus xvfb \
    openbox xdotool x11-utils orca lintian weston qt6-wayland reuse clang-format shellcheck \
    python3-flake8

echo "== Licences"
reuse lint

# The calculator is checked in comma locales, as a Qt program in Spain or Germany runs.
need_locales es_ES de_DE

configure_and_build dev
ctest --preset dev
# Once more as a contributor from Spain runs them: no check may depend on the caller's locale.
echo "== The suites in es_ES.UTF-8"
LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8 ctest --preset dev

# The site, built with emscripten, and its tests in headless Chromium; the WebAssembly walk is
# checked against recorrido_lecturas of the build above.
echo "== The web edition"
./tools/web.sh --test
./tools/reproducible.sh --built "./tools/web.sh --build-only" build-web/sitio

echo "== Debian package"
./tools/package.sh
lintian --pedantic --display-info --fail-on error,warning,pedantic \
    build-release/coltavenira_*.deb
# Anyone rebuilding this commit elsewhere gets the same bytes.
./tools/reproducible.sh --built ./tools/package.sh 'build-release/coltavenira_*.deb'

echo "== Fuzzing the calculator"
configure_and_build fuzz
ctest --preset fuzz

echo "== Sanitized build"
configure_and_build asan
ctest --preset asan
