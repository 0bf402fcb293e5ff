# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the tools: installs what is missing on Debian 12 or 13 and configures the build. Sourced,
# not run; its package lists are for the scripts that source it.
# shellcheck shell=bash disable=SC2034

set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

# Whether this tree is a git checkout of its own, not a folder unpacked from the source archive
# (which may lie inside another repository).
own_checkout() {
    [ "$(git -C "$ROOT" rev-parse --show-toplevel 2> /dev/null)" = "$(cd "$ROOT" && pwd -P)" ]
}

# One clock for everything the tools make: file dates in archives, the manual pages' date and
# anything else a build stamps take the time of the last commit, so that a rebuild of the same
# commit gives the same bytes. Outside a git checkout of its own (a source tarball, which keeps
# file dates, even one unpacked inside another repository), the date of CHANGELOG.md.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if own_checkout; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(stat -c %Y "$ROOT/CHANGELOG.md")
    fi
fi
export SOURCE_DATE_EPOCH
# File modes in the packages come from the files on disk: a umask of 0002 would give
# directories and archive members group-write bits that 0022 does not.
umask 0022

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages given that are not installed yet; a second run installs nothing.
need_packages() {
    local missing=()
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== Installing ${missing[*]}"
        # Another install under way (a second tool, unattended upgrades) is waited for.
        as_root apt-get -o DPkg::Lock::Timeout=1200 update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=1200 install \
            -y -q --no-install-recommends "${missing[@]}"
    fi
}

# qt6-translations-l10n: Qt's own texts in Spanish (an edit field's menu, a message box's buttons).
BUILD_PACKAGES=(ca-certificates g++ cmake ninja-build pkg-config qt6-base-dev fonts-liberation
    qt6-translations-l10n)
# What cpack needs to work out the Debian package's dependencies.
PACKAGE_PACKAGES=(dpkg-dev file)

# Where Debian 12 and 13 differ, for the tools; every name here is in both releases, and what 13
# alone needs is installed on 12 too:
# - Qt 6.8's private headers, which the tests use, want libxkbcommon-dev;
# - AppStream 1.0 reads the SVG icon through gdk-pixbuf's SVG loader, librsvg2-common;
# - clang's runtime goes by each release's default name, libclang-rt-dev, never by a version;
# - Debian 13's Qt libraries carry the 64-bit time names (libqt6core6t64): the package's test
#   takes either name, and the package built on 12 installs on 13.
TEST_PACKAGES_FOR_13=(libxkbcommon-dev librsvg2-common)

# configure_and_build PRESET [cmake options...]: the builds are the presets of CMakePresets.json.
configure_and_build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@" > /dev/null
    cmake --build --preset "$preset"
}

# need_locales es_ES de_DE ...: generates the UTF-8 locales given that the system lacks.
need_locales() {
    local loc generate=
    for loc in "$@"; do
        if ! locale -a 2>/dev/null | grep -qx "${loc}.utf8"; then
            as_root sed -i "s/^# *${loc}.UTF-8 UTF-8/${loc}.UTF-8 UTF-8/" /etc/locale.gen
            generate=1
        fi
    done
    if [ -n "$generate" ]; then
        as_root locale-gen
    fi
}

# print_sha256 FILE...: what a tool made, with the SHA-256 that a rebuild of the same commit
# must give (README, "Verifying a download").
print_sha256() {
    local file
    for file in "$@"; do
        (cd "$(dirname "$file")" && sha256sum "$(basename "$file")")
    done
}
