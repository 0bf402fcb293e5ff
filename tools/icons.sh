#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes and the Windows .ico from data/icons/coltavenira.svg.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages librsvg2-bin imagemagick
cd data/icons
for lado in 16 24 32 48 64 128 256; do
    rsvg-convert -w $lado -h $lado coltavenira.svg -o coltavenira-$lado.png
done
convert coltavenira-{16,24,32,48,256}.png coltavenira.ico
# The window icon's sizes as raw pixels, which the program takes without an image decoder.
for lado in 16 32 48; do
    convert coltavenira-$lado.png -depth 8 rgba:coltavenira-$lado.rgba
done
