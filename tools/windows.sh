#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Coltavenira for 64-bit Windows on Debian 12 (installing what is missing), makes the
# portable zip and the installer in build-windows/, and tests both under Wine on a private X
# server. Qt for Windows is cross-built once from Debian's qt6-base source and kept in
# ${XDG_CACHE_HOME:-~/.cache}/coltavenira/; later runs reuse it. On Debian 13 the build runs in
# a Debian 12 root kept in that cache (made once by tools/debian-root.sh, which needs root or
# sudo), and the tests run on Debian 13 itself, under its Wine.
#
#   tools/windows.sh                  everything
#   tools/windows.sh --qt-only        only make sure the cached Qt for Windows is there
#   tools/windows.sh --packages-only  build the packages without testing them
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
QT_PATCH=$ROOT/cmake/qtbase-directwrite3-needs-direct2d.patch
CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/coltavenira

# Every test under Wine, on a private X server: the suites, the packages' contents, the installer
# and the window read over UI Automation (Wine 10 or later). Then the packages again, from a clone
# under other settings: the same bytes.
test_packages() {
    need_packages wine wine64 xvfb xauth openbox xdotool x11-utils imagemagick tesseract-ocr \
        fonts-liberation python3 python3-pefile unzip
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" ctest --preset windows
    ./tools/reproducible.sh --built "./tools/windows.sh --packages-only" "${paquetes[@]}"
}

# On a Debian other than 12, the build is Debian 12's: it runs in a Debian 12 root that sees this
# tree and the cache at their own paths, with Debian 12's compilers, Qt and tools, so that it
# reuses the same cached Qt and gives the same bytes.
if [ "$(sed -n "s/^VERSION_CODENAME=//p" /etc/os-release)" != bookworm ]; then
    need_packages ca-certificates cmake mmdebstrap
    raiz=$CACHE/debian12
    if [ ! -f "$raiz/.complete" ]; then
        as_root "$ROOT/tools/debian-root.sh" make bookworm "$raiz"
        as_root touch "$raiz/.complete"
    fi
    solo=--packages-only
    [ "${1:-}" = --qt-only ] && solo=--qt-only
    as_root env COLTAVENIRA_ROOT_BIND="$ROOT:$CACHE" "$ROOT/tools/debian-root.sh" run-root "$raiz" \
        "cd '$ROOT' && SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH XDG_CACHE_HOME='${CACHE%/*}' \
            ./tools/windows.sh $solo"
    if [ "$(id -u)" -ne 0 ]; then
        as_root chown -R "$(id -u):$(id -g)" build-windows "$CACHE"/qt-*
    fi
    [ "$solo" = --qt-only ] && exit 0
    paquetes=(build-windows/coltavenira-*-win64.zip build-windows/coltavenira-*-win64-setup.exe)
    [ "${1:-}" = --packages-only ] || test_packages
    print_sha256 "${paquetes[@]}"
    exit 0
fi

# The host's Qt: its moc, rcc and uic, and the CMake files (qt6-base-dev) through which the
# cross build finds them.
need_packages ca-certificates cmake ninja-build dpkg-dev xz-utils g++-mingw-w64-x86-64-posix \
    qt6-base-dev-tools qt6-base-dev

# Qt for Windows, a minimal static release build optimised for size, with MinGW's runtime linked
# in: Core, Gui, Widgets and Test, the windows platform plugin and the windowsvista style, with
# zlib, libpng, HarfBuzz, FreeType and PCRE2 built in, and without the parts of Qt the window
# never uses. Every function and datum of Qt in a section of its own, so that the program's link
# can drop those it does not call. Direct2D is off, which the windows plugin takes only with
# $QT_PATCH.
QT_OPTIONS=(-release -optimize-size -static -static-runtime -opensource -confirm-license
    -nomake examples -nomake tests -xplatform win32-g++ -no-opengl -no-dbus -no-icu -no-zstd
    -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-concurrent
    -no-feature-xml -no-feature-vulkan -no-feature-jpeg -no-feature-tabletevent
    -no-feature-direct2d -qt-zlib -qt-libpng -qt-harfbuzz -qt-freetype -qt-pcre
    -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
    -no-feature-pdf -no-feature-gif -no-feature-ico -no-feature-sessionmanager
    -no-feature-systemtrayicon -no-feature-wizard -no-feature-mdiarea -no-feature-dockwidget
    -no-feature-calendarwidget -no-feature-colordialog -no-feature-fontdialog
    -no-feature-filedialog -no-feature-graphicsview -no-feature-fontcombobox
    -no-feature-style-stylesheet -no-feature-filesystemmodel -no-feature-mimetype-database)
QT_CMAKE_OPTIONS=("-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections")
# What the licences of the libraries built into Qt ask a copy of the program to carry.
QT_3RDPARTY=(freetype harfbuzz-ng libpng zlib pcre2 double-conversion)

# The host tools (moc, rcc, uic) must be the same Qt version as the one we build.
qt_deb_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
qt_version=${qt_deb_version%%+*}
qt_version=${qt_version%%-*}
mingw_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
qt_key=$({
    echo "$qt_deb_version" "${QT_OPTIONS[*]}" "${QT_CMAKE_OPTIONS[*]}" "$mingw_version"
    cat "$QT_PATCH" "$TOOLCHAIN"
} | sha256sum | cut -c1-12)
QT_DIR=$CACHE/qt-$qt_version-mingw-$qt_key

# apt-get source needs a deb-src entry; add one for the running suite when there is none.
need_deb_src() {
    # shellcheck disable=SC2016 # apt's own field syntax
    if apt-get indextargets --format '$(CREATED_BY)' | grep -q '^Sources$'; then
        return
    fi
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "== Adding Debian's source packages for $suite to apt"
    as_root tee /etc/apt/sources.list.d/debian-src.list > /dev/null << EOF
deb-src http://deb.debian.org/debian $suite main
deb-src http://deb.debian.org/debian $suite-updates main
deb-src http://deb.debian.org/debian-security $suite-security main
EOF
    as_root apt-get update -q
}

build_qt() {
    if [ -f "$QT_DIR/.complete" ]; then
        echo "== Qt $qt_version for Windows: $QT_DIR"
        return
    fi
    echo "== Building Qt $qt_version for Windows in $QT_DIR (about 40 minutes on 2 cores)"
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
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/"$(dpkg-architecture -qDEB_HOST_MULTIARCH)"/cmake \
            "${QT_CMAKE_OPTIONS[@]}"
        nice -n 10 cmake --build .
        cmake --install .
    )
    # Debian's record of who holds the rights to what in qt6-base, and the licence and version
    # of each library built into Qt, as its source has them.
    local licencias=$QT_DIR/licencias
    mkdir -p "$licencias"
    cp "$src/debian/copyright" "$licencias/qt6-base-copyright"
    echo "$qt_deb_version" > "$licencias/qt6-base-version"
    for parte in "${QT_3RDPARTY[@]}"; do
        mkdir -p "$licencias/$parte"
        find "$src/src/3rdparty/$parte" -maxdepth 1 \( -name qt_attribution.json -o -name COPYING \
            -o -name '*LICEN[CS]E*' \) -exec cp -t "$licencias/$parte/" {} +
    done
    mkdir "$QT_DIR/fuente"
    find "$work" -mindepth 1 -maxdepth 1 -type f -name 'qt6-base_*' \
        -exec mv -t "$QT_DIR/fuente/" {} +
    touch "$QT_DIR/.complete"
    rm -rf "$work"
}

# same_as_dsc FOLDER: FOLDER holds a source package, its .dsc and exactly the files the .dsc
# names, each with the SHA-256 the .dsc gives it.
same_as_dsc() {
    local dsc sumas
    dsc=$(find "$1" -maxdepth 1 -name '*.dsc')
    [ -n "$dsc" ] && [ "$(wc -l <<< "$dsc")" -eq 1 ] || return 1
    sumas=$(awk '/^Checksums-Sha256:/ { dentro = 1; next } /^[^ ]/ { dentro = 0 }
        dentro && NF == 3 { print $1 "  " $3 }' "$dsc")
    [ -n "$sumas" ] || return 1
    [ "$(LC_ALL=C ls "$1")" = "$({ basename "$dsc"; cut -d' ' -f3 <<< "$sumas"; } |
        LC_ALL=C sort)" ] || return 1
    (cd "$1" && sha256sum --quiet --strict -c - <<< "$sumas" > /dev/null)
}

# The exact source Qt was built from stays beside it, as a copy of the program conveys it with
# Qt linked in: Debian's qt6-base source package (the .dsc, the upstream and the Debian
# archives), which a cache made before it was kept lacks, and which is fetched again then.
# cmake/licencias-windows.cmake names these files in the notice, and tools/release.sh publishes
# them beside the program.
keep_qt_source() {
    local fuente=$QT_DIR/fuente
    if [ ! -d "$fuente" ]; then
        echo "== Fetching the source of qt6-base $qt_deb_version to keep it beside Qt"
        need_deb_src
        rm -rf "$fuente.tmp"
        mkdir "$fuente.tmp"
        (cd "$fuente.tmp" && apt-get source -q --download-only "qt6-base=$qt_deb_version" \
            > ../fuente.log 2>&1) || {
            cat "$QT_DIR/fuente.log"
            exit 1
        }
        rm -f "$QT_DIR/fuente.log"
        mv "$fuente.tmp" "$fuente"
    fi
    if ! same_as_dsc "$fuente"; then
        echo "$fuente is not qt6-base's source as its .dsc lists it: remove that folder and run" \
            "this again to fetch it anew" >&2
        exit 1
    fi
}

build_qt
keep_qt_source
# Qt's own texts in Spanish (an edit field's menu, a message box's buttons) are the same files on
# every system: Debian's, for the same Qt version.
need_packages qt6-translations-l10n
mkdir -p "$QT_DIR/translations"
cp /usr/share/qt6/translations/qtbase_es.qm "$QT_DIR/translations/"
if [ "${1:-}" = --qt-only ]; then
    exit 0
fi

# Coltavenira for Windows, warnings as errors, and its packages.
need_packages nsis zip
# A build folder made with another Qt is configured afresh: CMake keeps the Qt it found first.
fresh=()
if ! grep -qsx "Qt6_DIR:PATH=$QT_DIR/lib/cmake/Qt6" build-windows/CMakeCache.txt; then
    fresh=(--fresh)
fi
cmake --preset windows "${fresh[@]}" -DCMAKE_PREFIX_PATH="$QT_DIR" > /dev/null
nice -n 10 cmake --build --preset windows
cmake --build --preset windows --target paquetes
paquetes=(build-windows/coltavenira-*-win64.zip build-windows/coltavenira-*-win64-setup.exe)
[ "${1:-}" = --packages-only ] || test_packages
print_sha256 "${paquetes[@]}"
