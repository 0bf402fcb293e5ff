#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots: the real window on a private X server, with a few colours
# chosen through the keyboard, at scale factors 1 and 2. Writes docs/coltavenira*.png.
# shellcheck disable=SC2016 # the scripts in single quotes are for the X server's shell
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}" xvfb xauth imagemagick x11-utils xdotool
configure_and_build dev

shoot() { # SCALE OUTPUT
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        QT_SCALE_FACTOR=$1 build/app/coltavenira & app=$!
        for _ in $(seq 50); do
            id=$(xdotool search --name "^Coltavenira$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
            sleep 0.1
        done
        sleep 0.5
        # Amarillo, Violeta, Rojo, Dorada: the arrow keys choose in the focused list, Tab moves
        # in the window'"'"'s order b1, b4, b2, b3.
        xdotool key --window "$id" Down Down Down Down Down Tab Down Tab \
            Down Down Down Down Down Down Down Down Tab Down Down Down
        sleep 0.5
        import -window "$id" "$2"
        kill $app' _ "$1" "$2"
    echo "wrote $2"
}
shoot 1 docs/coltavenira.png
shoot 2 docs/coltavenira@2x.png

# The multiplier's list open, with its swatches: the window and what drops below it.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    build/app/coltavenira & app=$!
    for _ in $(seq 50); do
        id=$(xdotool search --name "^Coltavenira$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
        sleep 0.1
    done
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool key --window "$id" Down Down Down Down Down Tab Down Tab Down Down Down Down Down \
        Down Down Down Tab Down Down Down alt+Down
    sleep 0.5
    import -window root -crop "391x226+$X+$Y" +repage docs/coltavenira-lista.png
    kill $app'
echo "wrote docs/coltavenira-lista.png"
