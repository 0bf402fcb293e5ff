#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release of the version in CMakeLists.txt into build-release/publicar/, a folder to
# publish as it is: the Debian package, the Windows zip and setup, the site as one zip for a web
# host, the source they were built from, the qt6-base source the Windows program's Qt was built
# from with the patch it took, and SHA256SUMS of them all. Then checks it: the sums, the names,
# the Windows notice naming the source files, and the source archive unpacked where there is no
# git, built, tested and made into the same site again. It prints the tag to make; it neither
# tags nor publishes.
#
# It runs the other tools, which reuse their builds (CI runs it after them); they build, they do
# not test: ./tools/test.sh and ./tools/windows.sh do. It refuses, saying why in one line, a tree
# with uncommitted changes, a version that is not the newest in CHANGELOG.md, a tag of that
# version on another commit, and the failure of any tool.
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

refuse() {
    echo "release.sh: refused: $*" >&2
    exit 1
}
# run TOOL ARGS...: a tool's failure is the release's.
run() {
    echo "== release.sh: $*"
    "$@" || refuse "$* failed (see above)"
}

# What is published is one commit, whose tag names it.
if ! own_checkout; then
    refuse "$ROOT is not a git checkout: a release is built from a commit, to tag"
fi
if [ -n "$(git status --porcelain)" ]; then
    refuse "the tree has uncommitted changes (git status): a release is built from a commit"
fi
# The version as the program shows it (CMakeLists.txt: 1.0 is "1.00"), which CHANGELOG.md's
# first heading must give.
read -r mayor menor < <(sed -nE 's/^project\(coltavenira VERSION ([0-9]+)\.([0-9]+)\b.*/\1 \2/p' \
    CMakeLists.txt) || refuse "CMakeLists.txt gives no version in its project() line"
centesimas=$((10#$menor + 100))
version=$mayor.${centesimas:1:2}
ultima=$(sed -nE 's/^## ([^ ]+) \(.*/\1/p' CHANGELOG.md | head -n1)
if [ "$version" != "$ultima" ]; then
    refuse "CMakeLists.txt is at $version, but the newest release in CHANGELOG.md is $ultima"
fi
commit=$(git rev-parse HEAD)
if etiquetado=$(git rev-parse -q --verify "refs/tags/v$version^{commit}"); then
    if [ "$etiquetado" != "$commit" ]; then
        refuse "tag v$version is already on commit ${etiquetado:0:12}: a new release takes" \
            "a new version"
    fi
fi

run ./tools/package.sh
run ./tools/web.sh --build-only
run ./tools/windows.sh --packages-only

publicar=build-release/publicar
rm -rf "$publicar"
mkdir -p "$publicar"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The Qt that the Windows build was configured with, and beside it the source it was built from.
qt=$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' build-windows/CMakeCache.txt)
if [ -z "$qt" ] || [ ! -d "$qt/fuente" ]; then
    refuse "no qt6-base source beside the Qt of build-windows/ (${qt:-none}):" \
        "tools/windows.sh keeps it there"
fi
fuente_qt=()
for archivo in "$qt"/fuente/*; do
    fuente_qt+=("$(basename "$archivo")")
done
cp -t "$publicar" build-release/coltavenira_"$version"_*.deb \
    build-windows/coltavenira-"$version"-win64{.zip,-setup.exe} \
    "${fuente_qt[@]/#/$qt/fuente/}" cmake/qtbase-directwrite3-needs-direct2d.patch
# The source the site carries is the release's, made once by tools/fuente.sh.
cp build-web/sitio/coltavenira-fuente.tar.gz "$publicar/coltavenira-$version.tar.gz"
sitio=coltavenira-$version-web
cp -a build-web/sitio "$tmp/$sitio"
need_packages zip unzip
run cmake -DCARPETA="$tmp/$sitio" -DZIP="$ROOT/$publicar/$sitio.zip" -DRAIZ="$ROOT" \
    -P cmake/zip.cmake
chmod 0644 "$publicar"/*
(cd "$publicar" && LC_ALL=C sha256sum -- * > SHA256SUMS)
touch --date="@$SOURCE_DATE_EPOCH" "$publicar"/* "$publicar"

echo "== release.sh: checking the release"
deb=$(cd "$publicar" && echo coltavenira_"$version"_*.deb)
windows=coltavenira-$version-win64
nombres=("$deb" "$windows.zip" "$windows-setup.exe" "$sitio.zip" "coltavenira-$version.tar.gz"
    "${fuente_qt[@]}" qtbase-directwrite3-needs-direct2d.patch SHA256SUMS)
(cd "$publicar" && sha256sum --quiet --strict -c SHA256SUMS) ||
    refuse "sha256sum -c SHA256SUMS fails in $publicar"
tiene=$(cd "$publicar" && LC_ALL=C ls)
esperados=$(printf '%s\n' "${nombres[@]}" | LC_ALL=C sort)
de_mas=$(LC_ALL=C comm -23 <(echo "$tiene") <(echo "$esperados") | xargs)
faltan=$(LC_ALL=C comm -13 <(echo "$tiene") <(echo "$esperados") | xargs)
if [ -n "$de_mas$faltan" ]; then
    refuse "$publicar holds ${de_mas:-nothing} beyond the release's files and lacks ${faltan:-none}"
fi
# The Windows notice names each file of the Corresponding Source, whole on a line of its own.
unzip -p "$publicar/$windows.zip" "$windows/AVISOS-DE-TERCEROS.txt" > "$tmp/avisos"
fuentes=("coltavenira-$version.tar.gz" "${fuente_qt[@]}" qtbase-directwrite3-needs-direct2d.patch)
for archivo in "${fuentes[@]}"; do
    grep -qxF "  $archivo"$'\r' "$tmp/avisos" ||
        refuse "$windows.zip's AVISOS-DE-TERCEROS.txt does not name $archivo"
done
unzip -p "$publicar/$sitio.zip" "$sitio/coltavenira-fuente.tar.gz" |
    cmp -s - "$publicar/coltavenira-$version.tar.gz" ||
    refuse "the site does not carry coltavenira-$version.tar.gz"

# The source archive on its own, unpacked where no git is above it and with the date its files
# give: it configures, the calculator's suite passes, and it makes the release's site again.
echo "== release.sh: building coltavenira-$version.tar.gz, unpacked in $tmp"
tar -xzf "$publicar/coltavenira-$version.tar.gz" -C "$tmp"
need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES_FOR_13[@]}" qt6-base-private-dev
# (A subshell on the left of || does not stop at a failure: each step is chained.)
(
    cd "$tmp/coltavenira-$version" &&
        unset SOURCE_DATE_EPOCH &&
        export GIT_CEILING_DIRECTORIES=$tmp &&
        cmake --preset dev > /dev/null &&
        nice cmake --build --preset dev --target tst_calculadora &&
        ctest --preset dev -R '^tst_calculadora$' &&
        ./tools/web.sh --build-only &&
        diff -r build-web/sitio "$tmp/$sitio"
) || refuse "the source archive, unpacked, does not build, test or make the same site (see above)"

echo
echo "The release of Coltavenira $version, from commit $commit, is in $ROOT/$publicar/:"
(cd "$publicar" && stat -c '  %10s  %n' -- *)
echo "Once it is published, tag the commit it was built from:"
echo "  git tag -a v$version -m \"Coltavenira $version\" $commit && git push origin v$version"
