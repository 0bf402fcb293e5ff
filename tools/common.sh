# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the tools: installs what is missing on Debian 12 and configures the build. Sourced,
# not run; its package lists are for the scripts that source it.
# shellcheck shell=bash disable=SC2034

set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

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
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
    fi
}

# qt6-translations-l10n: Qt's own texts in Spanish (an edit field's menu, a message box's buttons).
BUILD_PACKAGES=(ca-certificates g++ cmake ninja-build pkg-config qt6-base-dev fonts-liberation
    qt6-translations-l10n)
# What cpack needs to work out the Debian package's dependencies.
PACKAGE_PACKAGES=(dpkg-dev file)

# configure_and_build PRESET [cmake options...]: the builds are the presets of CMakePresets.json.
configure_and_build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@" > /dev/null
    cmake --build --preset "$preset"
}
