#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package installed as a user installs it, with apt and what it recommends, then the
# installed program read over AT-SPI as a screen reader reads it, and spoken by Orca. It installs
# into this very machine: CI runs it in a fresh Debian 13 root (tools/debian-root.sh try), with
# the package built on Debian 12.
# Usage: tests/paquete_instalado.sh DEB
set -euo pipefail
deb=$(realpath "$1")
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tools/common.sh"

echo "== Installing $(basename "$deb") on Debian $(cat /etc/debian_version)"
as_root apt-get -o DPkg::Lock::Timeout=1200 update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=1200 install -y -q \
    "$deb"
need_packages python3-pyatspi at-spi2-core dbus xvfb openbox xdotool x11-utils orca locales
need_locales es_ES
dbus-run-session -- tests/lectura_atspi.py /usr/bin/coltavenira
