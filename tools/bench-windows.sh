#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program's start-up under Wine, beside the bare Qt window built the same way
# (bench/suelo, static Qt, one file): from the process start to its first frame, that is to its
# window mapped and drawn with text (a screenshot of it in more than one colour: Wine draws text
# without anti-aliasing, on a plain background). A figure, not a test; tools/bench.sh runs it
# once tools/windows.sh has made the Windows build, and it says so and stops when there is none.
# The Wine prefix of the tests (build-windows/wine-pruebas) serves.
#   tools/bench-windows.sh [RUNS]    RUNS start-ups of each, in turns (5); medians
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

veces=${1:-5}
build=$ROOT/build-windows
programa=$build/coltavenira.exe
if [ ! -f "$build/CMakeCache.txt" ] || [ ! -f "$programa" ]; then
    echo "== Windows start-up: no Windows build in $build (./tools/windows.sh makes it); skipped"
    exit 0
fi
need_packages wine wine64 xvfb xauth xdotool imagemagick
cmake --build "$build" --target coltavenira_suelo > /dev/null
suelo=$build/coltavenira_suelo.exe

if [ -z "${COLTAVENIRA_BENCH_X:-}" ]; then
    export COLTAVENIRA_BENCH_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
export WINEPREFIX=$build/wine-pruebas WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
[ -f "$WINEPREFIX/system.reg" ] || "$ROOT/tests/wine.sh" prefijo "$WINEPREFIX"
# The Wine server stays up between start-ups, as it does on a desktop where Wine already runs.
wineserver -k 2> /dev/null || true
wineserver -p
trap 'wineserver -k 2> /dev/null || true' EXIT
wine cmd /c exit 2> /dev/null

# primer_cuadro EXE: milliseconds from starting EXE to its first drawn frame.
primer_cuadro() {
    local clase ventana=
    clase=$(basename "$1")
    local inicio=$EPOCHREALTIME
    wine "Z:${1//\//\\}" 2> /dev/null &
    local pid=$!
    while true; do
        [ -n "$ventana" ] ||
            ventana=$(xdotool search --onlyvisible --classname "^$clase$" 2> /dev/null |
                head -n 1) || true
        if [ -n "$ventana" ] && [ "$(import -window "$ventana" png:- 2> /dev/null |
            identify -format %k - 2> /dev/null || echo 0)" -gt 1 ]; then
            break
        fi
        kill -0 "$pid" 2> /dev/null || {
            echo "$clase ended before it drew its window" >&2
            exit 1
        }
    done
    local fin=$EPOCHREALTIME
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    # $EPOCHREALTIME has the locale's decimal separator.
    echo $(((${fin//[.,]/} - ${inicio//[.,]/}) / 1000))
}
mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

tiempos_programa=() tiempos_suelo=()
for _ in $(seq "$veces"); do
    tiempos_programa+=("$(primer_cuadro "$programa")")
    tiempos_suelo+=("$(primer_cuadro "$suelo")")
done
a=$(printf '%s\n' "${tiempos_programa[@]}" | mediana)
b=$(printf '%s\n' "${tiempos_suelo[@]}" | mediana)
echo "Windows under $(wine --version), $veces start-ups each, in turns:"
printf '%-34s %12s %12s %8s\n' "" coltavenira.exe suelo ratio
awk -v a="$a" -v b="$b" 'BEGIN {
    printf "%-34s %9d ms %9d ms %8.3f\n", "start to first frame (median)", a, b, a / b }'
echo "(each run: ${tiempos_programa[*]} ms against ${tiempos_suelo[*]} ms)"
