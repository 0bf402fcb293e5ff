#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# A headless Weston for the window tests on Wayland, in a runtime folder of its own.
# Usage: weston.sh start|stop RUNTIME_DIR; clients connect with XDG_RUNTIME_DIR=RUNTIME_DIR
# and WAYLAND_DISPLAY=wayland-coltavenira.
set -euo pipefail
dir=$2
case $1 in
start)
    rm -rf "$dir"
    mkdir -p "$dir"
    chmod 0700 "$dir"
    # Its output goes to a file: CTest would wait for a process holding the test's output.
    XDG_RUNTIME_DIR=$dir weston --backend=headless-backend.so --socket=wayland-coltavenira \
        --idle-time=0 > "$dir/weston.log" 2>&1 < /dev/null &
    echo $! > "$dir/weston.pid"
    for _ in $(seq 100); do
        [ -S "$dir/wayland-coltavenira" ] && exit 0
        kill -0 "$(cat "$dir/weston.pid")" 2> /dev/null || break
        sleep 0.1
    done
    cat "$dir/weston.log"
    exit 1
    ;;
stop)
    if [ -f "$dir/weston.pid" ]; then
        pid=$(cat "$dir/weston.pid")
        kill "$pid" 2> /dev/null || true
        while kill -0 "$pid" 2> /dev/null; do sleep 0.1; done
    fi
    rm -rf "$dir"
    ;;
esac
