#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (installing what is missing) in build-release/.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
configure_and_build release
rm -f build-release/coltavenira_*.deb
(cd build-release && cpack)
deb=$(ls "$ROOT"/build-release/coltavenira_*.deb)
# A release says what it brings: its version has an entry in CHANGELOG.md.
version=$(dpkg-deb -f "$deb" Version)
if ! zcat build-release/debian/changelog.gz | head -n1 | grep -qF "coltavenira ($version) "; then
    echo "CHANGELOG.md has no entry for $version: add one to package this version" >&2
    exit 1
fi
echo "$deb"
print_sha256 "$deb"
