#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a release build with the benchmark (installing what is missing) and runs it on a
# private X server: start-up and memory against a bare Qt window, choice latency, Calcular.
# Then the web edition's budgets in headless Chromium, against a page of one line of text.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}" libxcb1-dev libxcb-damage0-dev xvfb xauth
configure_and_build bench
xvfb-run -a -s "-screen 0 1024x768x24" build-bench/bench/coltavenira_bench
./tools/web.sh --bench

# The Windows program's start-up under Wine, beside a bare Qt window built the same way, once
# ./tools/windows.sh has made the Windows build.
./tools/bench-windows.sh
