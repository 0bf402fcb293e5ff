#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer as a user meets it, in a fresh Wine prefix on the X server of $DISPLAY, for all
# users and then for the current user: install silently; the folder holds the program, its
# licence texts and the uninstaller, and no library; start the installed program from its folder,
# with only what the installer put there, at 100 %, 150 % and 200 % display scaling: the window
# grows by the scale; choose four colours with the keyboard and read the result off the screen
# (OCR of a screenshot: the program has no other output); uninstall silently; nothing is left.
# The screenshots stay in OUT_DIR.
# Usage: instalador_windows.sh SETUP VERSION OUT_DIR
set -euo pipefail
setup=$1 version=$2 salida=$3
# The reading asserted below has a decimal point: the program takes its separator from the
# locale Wine gives it, which follows the caller's.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEPREFIX=$salida/wine-instalacion
"$(dirname "$0")/wine.sh" prefijo "$WINEPREFIX"
programa=
terminar() {
    [ -z "$programa" ] || kill "$programa" 2> /dev/null || true
    wineserver -k 2> /dev/null || true
}
trap terminar EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
windows_path() { echo "Z:${1//\//\\}"; }
CLAVE='Software\Microsoft\Windows\CurrentVersion\Uninstall\Coltavenira'
# reg_value HIVE NAME: a value of the program's uninstall key, empty when there is none.
reg_value() {
    wine reg query "$1\\$CLAVE" /v "$2" 2> /dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# lee WINDOW PNG SCALE: saves a screenshot of the window and prints what its result label reads
# (the label is the lower half of the window: below 75 pixels at 100 %). In this font Tesseract
# reads "0" as "O" and "±" as "+", and spaces are its guess: misma_lectura compares readings
# without those doubts.
lee() {
    import -window "$1" "$2"
    convert "$2" -crop +0+$((75 * $3 / 100)) +repage -resize $((30000 / $3))% -colorspace Gray \
        "$2.ocr.png"
    tesseract "$2.ocr.png" - --psm 7 2> /dev/null | tr -d '\n'
    rm -f "$2.ocr.png"
}
sin_dudas() { echo "$1" | sed 's/ //g; s/O/0/g; s/±/+/g'; }
misma_lectura() { [ "$(sin_dudas "$1")" = "$(sin_dudas "$2")" ]; }
# What the installer puts in the program's folder, in name order: no library, no subfolder.
ARCHIVOS="AVISOS-DE-TERCEROS.txt LICENCIA-GPL-3.0.txt LICENCIA-LGPL-3.0.txt coltavenira.exe \
desinstalar.exe "

for modo in AllUsers CurrentUser; do
    hive=HKLM
    [ $modo = CurrentUser ] && hive=HKCU
    echo "-- /$modo"
    wine "$(windows_path "$setup")" /S /$modo
    wineserver -w
    for valor in DisplayName DisplayIcon Publisher UninstallString QuietUninstallString; do
        [ -n "$(reg_value $hive $valor)" ] || fail "no $valor in $hive\\$CLAVE"
    done
    [ "$(reg_value $hive DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
    carpeta_win=$(reg_value $hive InstallLocation)
    carpeta=$(winepath -u "$carpeta_win" | tr -d '\r')
    [ -f "$carpeta/coltavenira.exe" ] || fail "no coltavenira.exe in $carpeta"
    [ "$(find "$WINEPREFIX/drive_c" -name Coltavenira.lnk | wc -l)" = 1 ] ||
        fail "no Start-menu shortcut"
    echo "installed in $carpeta_win"
    contenido=$(cd "$carpeta" && find . -type f -printf '%P\n' | sort | tr '\n' ' ')
    [ "$contenido" = "$ARCHIVOS" ] || fail "the folder holds $contenido, not $ARCHIVOS"

    # Windows' display scaling: its dots per inch, 96 at 100 %, which Wine reads when it starts.
    ancho=
    for escala in 100 150 200; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d $((96 * escala / 100)) /f > /dev/null
        wineserver -w
        (cd / && exec wine "$carpeta_win\\coltavenira.exe") &
        programa=$!
        # Searched again and again: Wine's short-lived windows can vanish in the middle of a
        # search, which then fails with BadWindow.
        ventana=
        for _ in $(seq 120); do
            ventana=$(xdotool search --onlyvisible --name '^Coltavenira$' 2> /dev/null |
                head -n 1) || true
            [ -n "$ventana" ] && break
            sleep 0.5
        done
        [ -n "$ventana" ] || fail "the window Coltavenira did not open at $escala %"
        sleep 1
        tamano=$(xwininfo -id "$ventana" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
            END { print w "x" h }')
        echo "at $escala %, the window is $tamano"
        # The window at 100 % is the measure; at 150 % and 200 % it is that much larger, give or
        # take a few pixels of rounding in its layout.
        if [ -z "$ancho" ]; then
            ancho=${tamano%x*} alto=${tamano#*x}
        else
            for par in "${tamano%x*} $ancho" "${tamano#*x} $alto"; do
                read -r medido base <<< "$par"
                diferencia=$((medido - base * escala / 100))
                [ "${diferencia#-}" -le $((base / 20)) ] ||
                    fail "at $escala % the window is $tamano, not $escala % of ${ancho}x$alto"
            done
        fi
        texto=$(lee "$ventana" "$salida/instalado-$modo-$escala-0.png" $escala)
        misma_lectura "$texto" "0 Ohms ± 0" ||
            fail "at start, at $escala %, the window reads: $texto"
        # Focus starts on band 1; Tab goes to the tolerance, then bands 2 and 3. Down from no
        # choice picks the first colour: Amarillo (5th), Dorada (1st), Violeta (8th), Rojo (3rd).
        xdotool windowfocus --sync "$ventana"
        xdotool key --delay 50 Down Down Down Down Down Tab Down Tab \
            Down Down Down Down Down Down Down Down Tab Down Down Down
        sleep 1
        texto=$(lee "$ventana" "$salida/instalado-$modo-$escala.png" $escala)
        echo "at $escala %, the window reads: $texto"
        misma_lectura "$texto" "4.7 Kohms ± 5%" || fail "expected 4.7 Kohms ± 5% at $escala %"
        xdotool windowfocus --sync "$ventana" key alt+F4
        timeout 30 tail --pid=$programa -f /dev/null || fail "the program did not close"
        programa=
    done

    desinstalar=$(reg_value $hive QuietUninstallString)
    exe=${desinstalar#\"}
    exe=${exe%%\"*}
    # shellcheck disable=SC2086 # the string's arguments, split as Windows would
    wine "$exe" ${desinstalar##*\" }
    wineserver -w
    [ ! -e "$carpeta" ] || fail "$carpeta is still there: $(ls -R "$carpeta")"
    [ -z "$(find "$WINEPREFIX/drive_c" -name Coltavenira.lnk)" ] || fail "the shortcut is left"
    ! wine reg query "$hive\\$CLAVE" > /dev/null 2>&1 || fail "the uninstall key is left"
    echo "uninstalled: nothing left"
done
