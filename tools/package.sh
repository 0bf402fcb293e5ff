#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (installing what is missing) in build-release/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
configure_and_build release
rm -f build-release/coltavenira_*.deb
(cd build-release && cpack)
ls "$ROOT"/build-release/coltavenira_*.deb
