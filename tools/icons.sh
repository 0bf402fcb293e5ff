#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes, the web page's install icons and the Windows .ico from
# data/icons/coltavenira.svg.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages librsvg2-bin imagemagick
cd data/icons
for lado in 16 24 32 48 64 128 192 256 512; do
    rsvg-convert -w $lado -h $lado coltavenira.svg -o coltavenira-$lado.png
done
convert coltavenira-{16,24,32,48,256}.png coltavenira.ico
# The web page's maskable icon, which a launcher crops to its own shape (a circle, a squircle):
# the drawing, whose wire reaches 0.477 of the side from the centre, scaled to 416 of 512 px so
# that it keeps within the safe zone (a circle of 0.4 of the side), on the window's face colour.
rsvg-convert -w 416 -h 416 --page-width 512 --page-height 512 --left 48 --top 48 -b '#f0f0f0' \
    coltavenira.svg -o coltavenira-maskable-512.png
# The window icon's sizes as raw pixels, which the program takes without an image decoder.
for lado in 16 32 48; do
    convert coltavenira-$lado.png -depth 8 rgba:coltavenira-$lado.rgba
done
