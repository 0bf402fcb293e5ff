#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Coltavenira for 64-bit Windows on Debian 12 (installing what is missing), makes the
# portable zip and the installer in build-windows/, and tests both under Wine on a private X
# server. Qt for Windows is cross-built once from Debian's qt6-base source and kept in
# ${XDG_CACHE_HOME:-~/.cache}/coltavenira/; later runs reuse it.
#
#   tools/windows.sh            everything
#   tools/windows.sh --qt-only  only make sure the cached Qt for Windows is there
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

MINGW=x86_64-w64-mingw32
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
QT_PATCH=$ROOT/cmake/qtbase-directwrite3-needs-direct2d.patch
BUILD=$ROOT/build-windows
CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/coltavenira

need_packages ca-certificates cmake ninja-build dpkg-dev xz-utils g++-mingw-w64-x86-64-posix \
    qt6-base-dev-tools

# Qt for Windows, a minimal shared release build: Core, Gui, Widgets and Test, the windows
# platform plugin and the windowsvista style, with zlib, libpng, HarfBuzz, FreeType and PCRE2
# built in. Direct2D is off, which the windows plugin takes only with $QT_PATCH.
QT_OPTIONS=(-release -shared -opensource -confirm-license -nomake examples -nomake tests
    -xplatform win32-g++ -no-opengl -no-dbus -no-icu -no-zstd
    -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-concurrent
    -no-feature-xml -no-feature-vulkan -no-feature-jpeg -no-feature-tabletevent
    -no-feature-direct2d -qt-zlib -qt-libpng -qt-harfbuzz -qt-freetype -qt-pcre)

# The host tools (moc, rcc, uic) must be the same Qt version as the one we build.
qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
qt_version=${qt_deb_version%%+*}
qt_version=${qt_version%%-*}
mingw_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
qt_key=$({
    echo "$qt_deb_version" "${QT_OPTIONS[*]}" "$mingw_version"
    cat "$QT_PATCH" "$TOOLCHAIN"
} | sha256sum | cut -c1-12)
QT_DIR=$CACHE/qt-$qt_version-mingw-$qt_key

# apt-get source needs a deb-src entry; add one for the running suite when there is none.
need_deb_src() {
    if apt-get indextargets --format '$(CREATED_BY)' | grep -q '^Sources$'; then
        return
    fi
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "== Adding Debian's source packages for $suite to apt"
    as_root tee /etc/apt/sources.list.d/debian-src.sources > /dev/null << EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    as_root apt-get update -q
}

build_qt() {
    if [ -f "$QT_DIR/.complete" ]; then
        echo "== Qt $qt_version for Windows: $QT_DIR"
        return
    fi
    echo "== Building Qt $qt_version for Windows in $QT_DIR (about 35 minutes on 2 cores)"
    need_deb_src
    local work=$QT_DIR.build
    rm -rf "$QT_DIR" "$work"
    mkdir -p "$work"
    (cd "$work" && apt-get source -q "qt6-base=$qt_deb_version" > source.log 2>&1) || {
        cat "$work/source.log"
        exit 1
    }
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
    patch -d "$src" -p1 < "$QT_PATCH"
    mkdir -p "$work/build"
    (
        cd "$work/build"
        "$src/configure" -prefix "$QT_DIR" "${QT_OPTIONS[@]}" -qt-host-path /usr -- -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/"$(dpkg-architecture -qDEB_HOST_MULTIARCH)"/cmake
        nice -n 10 cmake --build .
        cmake --install .
    )
    touch "$QT_DIR/.complete"
    rm -rf "$work"
}

build_qt
# Qt's own texts in Spanish (an edit field's menu, a message box's buttons) are the same files on
# every system: Debian's, for the same Qt version.
need_packages qt6-translations-l10n
mkdir -p "$QT_DIR/translations"
cp /usr/share/qt6/translations/qtbase_es.qm "$QT_DIR/translations/"
if [ "${1:-}" = --qt-only ]; then
    exit 0
fi

need_packages nsis wine wine64 xvfb xauth openbox xdotool imagemagick tesseract-ocr \
    fonts-liberation python3-pefile

# Coltavenira for Windows, warnings as errors, its tests run by CTest under Wine.
cmake --preset windows -DCMAKE_PREFIX_PATH="$QT_DIR" > /dev/null
nice -n 10 cmake --build --preset windows
cmake --build "$BUILD" --target paquetes
version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$BUILD/coltavenira.nsi")
ZIP=$BUILD/coltavenira-$version-win64.zip
SETUP=$BUILD/coltavenira-$version-win64-setup.exe
CARPETA=$BUILD/paquete/coltavenira-$version-win64

# Wine runs on a private X server, in prefixes of its own under build-windows/, without asking
# to install Mono or Gecko. The window manager is not for looks: without one Wine waits two
# seconds for every window it closes to be withdrawn.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
TESTS_PREFIX=$BUILD/wine-pruebas
SETUP_PREFIX=$BUILD/wine-instalacion
rm -f "$BUILD/xvfb.display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> "$BUILD/xvfb.display" 2> /dev/null &
xvfb=$!
trap 'kill $xvfb' EXIT
while [ ! -s "$BUILD/xvfb.display" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$BUILD/xvfb.display")
openbox > "$BUILD/openbox.log" 2>&1 &
wm=$!
trap 'kill $wm $xvfb; WINEPREFIX=$SETUP_PREFIX wineserver -k 2> /dev/null || true' EXIT

# new_wine_prefix DIR: a 64-bit Wine prefix whose Arial is Liberation Sans, as on Windows.
new_wine_prefix() {
    rm -rf "$1"
    WINEPREFIX=$1 wineboot -i > "$1.log" 2>&1 || {
        cat "$1.log"
        exit 1
    }
    WINEPREFIX=$1 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
        /d 'Liberation Sans' /f > /dev/null
    WINEPREFIX=$1 wineserver -w
}
[ -f "$TESTS_PREFIX/system.reg" ] || new_wine_prefix "$TESTS_PREFIX"

# The packages: the zip holds the program's folder and nothing else; every file under 12 MB;
# every library any of them loads is beside the program or part of Windows (what a fresh Wine
# prefix has in system32), and every library beside it is loaded; coltavenira.exe is a GUI
# program with the icon and the Spanish (Spain) version record.
echo "== Checking $(basename "$ZIP") and $(basename "$SETUP")"
/usr/bin/python3 - "$ZIP" "$CARPETA" "$version" "$ROOT/data/icons/coltavenira.ico" \
    "$TESTS_PREFIX/drive_c/windows/system32" << 'PYTHON'
import os, struct, sys, zipfile
import pefile

zip_path, folder, version, ico_path, system32 = sys.argv[1:]
top = os.path.basename(folder)
fails = []

with zipfile.ZipFile(zip_path) as z:
    in_zip = sorted(i.filename for i in z.infolist() if not i.is_dir())
on_disk = sorted(os.path.relpath(os.path.join(d, f), os.path.dirname(folder))
                 for d, _, files in os.walk(folder) for f in files)
if in_zip != on_disk:
    fails.append(f"zip holds {in_zip}, the folder {on_disk}")
for f in [zip_path, zip_path.replace(".zip", "-setup.exe")] + [
        os.path.join(os.path.dirname(folder), f) for f in on_disk]:
    if os.path.getsize(f) >= 12 * 1024 * 1024:
        fails.append(f"{f}: {os.path.getsize(f)} bytes")

system = {f.lower() for f in os.listdir(system32)}
beside = {f.split("/")[1].lower() for f in on_disk if f.count("/") == 1}
loaded = set()
for name in (f for f in on_disk if f.endswith((".dll", ".exe"))):
    pe = pefile.PE(os.path.join(os.path.dirname(folder), name))
    if pe.FILE_HEADER.NumberOfSymbols:
        fails.append(f"{name} is not stripped")
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode().lower()
        loaded.add(dll)
        # api-ms-win-…: API sets, names the Windows loader maps to its own libraries.
        if dll not in beside and dll not in system and not dll.startswith("api-ms-win-"):
            fails.append(f"{name} loads {dll}, which is neither beside it nor in Windows")
for dll in beside:
    if dll.endswith(".dll") and dll not in loaded:
        fails.append(f"{dll} is beside the program but nothing loads it")
if sorted(f.split("/", 1)[1] for f in on_disk if f.count("/") > 1) != [
        "platforms/qwindows.dll", "styles/qwindowsvistastyle.dll", "translations/qtbase_es.qm"]:
    fails.append(f"plugins and translations: {on_disk}")

exe = pefile.PE(os.path.join(folder, "coltavenira.exe"))
if exe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
    fails.append("coltavenira.exe is not a GUI program")
strings = {}
for info in exe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            strings[table.LangID] = {k.decode(): v.decode() for k, v in table.entries.items()}
    if info.Key == b"VarFileInfo":
        translations = [v for var in info.Var for v in var.entry.values()]
if set(strings) != {b"0c0a04b0"}:
    fails.append(f"version record blocks: {list(strings)}")
elif (strings[b"0c0a04b0"].get("FileVersion"), strings[b"0c0a04b0"].get("ProductVersion")) != (
        version, version):
    fails.append(f"version record: {strings}")
if translations != ["0x0c0a 0x04b0"]:  # Spanish (Spain), Unicode (1200)
    fails.append(f"translations: {translations}")
icons = {}
for kind in exe.DIRECTORY_ENTRY_RESOURCE.entries:
    for name in kind.directory.entries:
        for lang in name.directory.entries:
            data = exe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
            icons.setdefault(kind.id, {})[name.id] = data
with open(ico_path, "rb") as f:
    ico = f.read()
count = struct.unpack_from("<H", ico, 4)[0]
images = sorted(ico[o:o + n] for n, o in (struct.unpack_from("<II", ico, 6 + 16 * i + 8)
                                         for i in range(count)))
if len(icons.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], {})) != 1 or sorted(
        icons.get(pefile.RESOURCE_TYPE["RT_ICON"], {}).values()) != images:
    fails.append("the program's icon group does not hold data/icons/coltavenira.ico")

for f in fails:
    print("FAIL:", f)
sys.exit(1 if fails else 0)
PYTHON
echo "deliverables: ok"
ls -l "$ZIP" "$SETUP"

# The Qt Test suites, on Qt's windows platform under Wine.
echo "== Tests under Wine"
# windows_path FILE: the file as Windows programs under Wine see it.
windows_path() { echo "Z:${1//\//\\}"; }
dll_dirs="$(windows_path "$QT_DIR/bin")"
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    dll_dirs+=";$(windows_path "$(dirname "$($MINGW-g++-posix -print-file-name=$dll)")")"
done
WINEPREFIX=$TESTS_PREFIX WINEPATH=$dll_dirs \
    ctest --test-dir "$BUILD" --output-on-failure
WINEPREFIX=$TESTS_PREFIX wineserver -k || true

# The installer, as a user meets it, in a fresh Wine prefix, for all users and for the current
# user: install silently; start the installed program from its folder, with only what the
# installer put there; choose four colours with the keyboard and read the result off the screen
# (OCR of a screenshot: the program has no other output); uninstall silently; nothing is left.
echo "== The installer under Wine"
new_wine_prefix "$SETUP_PREFIX"
en_wine() { WINEPREFIX=$SETUP_PREFIX "$@"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
CLAVE='Software\Microsoft\Windows\CurrentVersion\Uninstall\Coltavenira'
# reg_value HIVE NAME: a value of the program's uninstall key, empty when there is none.
reg_value() {
    en_wine wine reg query "$1\\$CLAVE" /v "$2" 2> /dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# lee WINDOW PNG: saves a screenshot of the window and prints what its result label reads (the
# label is the lower half of the window). In this font Tesseract reads "0" as "O" and "±" as
# "+", and spaces are its guess: misma_lectura compares readings without those doubts.
lee() {
    import -window "$1" "$2"
    convert "$2" -crop +0+75 +repage -resize 300% -colorspace Gray "$2.ocr.png"
    tesseract "$2.ocr.png" - --psm 7 2> /dev/null | tr -d '\n'
    rm -f "$2.ocr.png"
}
sin_dudas() { echo "$1" | sed 's/ //g; s/O/0/g; s/±/+/g'; }
misma_lectura() { [ "$(sin_dudas "$1")" = "$(sin_dudas "$2")" ]; }

for modo in AllUsers CurrentUser; do
    hive=HKLM
    [ $modo = CurrentUser ] && hive=HKCU
    echo "-- /$modo"
    en_wine wine "$(windows_path "$SETUP")" /S /$modo
    en_wine wineserver -w
    for valor in DisplayName DisplayIcon Publisher UninstallString QuietUninstallString; do
        [ -n "$(reg_value $hive $valor)" ] || fail "no $valor in $hive\\$CLAVE"
    done
    [ "$(reg_value $hive DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
    carpeta_win=$(reg_value $hive InstallLocation)
    carpeta=$(en_wine winepath -u "$carpeta_win" | tr -d '\r')
    [ -f "$carpeta/coltavenira.exe" ] || fail "no coltavenira.exe in $carpeta"
    [ "$(find "$SETUP_PREFIX/drive_c" -name Coltavenira.lnk | wc -l)" = 1 ] ||
        fail "no Start-menu shortcut"
    echo "installed in $carpeta_win"

    (cd / && en_wine wine "$carpeta_win\\coltavenira.exe") &
    programa=$!
    # Searched again and again: Wine's short-lived windows can vanish in the middle of a search,
    # which then fails with BadWindow.
    ventana=
    for _ in $(seq 120); do
        ventana=$(xdotool search --onlyvisible --name '^Coltavenira$' 2> /dev/null | head -n 1) ||
            true
        [ -n "$ventana" ] && break
        sleep 0.5
    done
    [ -n "$ventana" ] || fail "the window Coltavenira did not open"
    sleep 1
    texto=$(lee "$ventana" "$BUILD/instalado-$modo-0.png")
    misma_lectura "$texto" "0 Ohms ± 0" || fail "at start the window reads: $texto"
    # Focus starts on band 1; Tab goes to the tolerance, then bands 2 and 3. Down from no choice
    # picks the first colour: Amarillo (5th), Dorada (1st), Violeta (8th), Rojo (3rd).
    xdotool windowfocus --sync "$ventana"
    xdotool key --delay 50 Down Down Down Down Down Tab Down Tab \
        Down Down Down Down Down Down Down Down Tab Down Down Down
    sleep 1
    texto=$(lee "$ventana" "$BUILD/instalado-$modo.png")
    echo "the window reads: $texto"
    misma_lectura "$texto" "4.7 Kohms ± 5%" || fail "expected 4.7 Kohms ± 5%"
    xdotool windowfocus --sync "$ventana" key alt+F4
    timeout 30 tail --pid=$programa -f /dev/null || fail "the program did not close"

    desinstalar=$(reg_value $hive QuietUninstallString)
    exe=${desinstalar#\"}
    exe=${exe%%\"*}
    # shellcheck disable=SC2086 # the string's arguments, split as Windows would
    en_wine wine "$exe" ${desinstalar##*\" }
    en_wine wineserver -w
    [ ! -e "$carpeta" ] || fail "$carpeta is still there: $(ls -R "$carpeta")"
    [ -z "$(find "$SETUP_PREFIX/drive_c" -name Coltavenira.lnk)" ] || fail "the shortcut is left"
    ! en_wine wine reg query "$hive\\$CLAVE" > /dev/null 2>&1 || fail "the uninstall key is left"
    echo "uninstalled: nothing left"
done
echo "== Windows: all good"
