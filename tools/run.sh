#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Coltavenira (installing what is missing) and starts it.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}"
# The program alone: the tests' packages are the test command's business.
configure_and_build app
no_display() {
    echo "No display to show the window on. To try the program without one, install xvfb" >&2
    echo "(sudo apt-get install xvfb) and run:  xvfb-run -a $0" >&2
    exit 1
}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    no_display
fi
# Qt aborts when the display named cannot be reached.
status=0
build-app/app/coltavenira "$@" || status=$?
if [ "$status" -eq 134 ]; then
    no_display
fi
exit "$status"
