#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Composes the AppStream catalog from a staged install, as a distribution does: the component
# must come out with its icon and its desktop entry, and the run without a warning or error.
# Usage: appstream_compose.sh BUILD_DIR APPSTREAM_ID
set -euo pipefail
# Its messages are read below: in English, whatever the caller's locale.
export LC_ALL=C.UTF-8
unset LANGUAGE
build=$1
id=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
DESTDIR=$out/raiz cmake --install "$build" --prefix /usr > /dev/null
appstreamcli compose --no-net --origin=coltavenira --result-root="$out/catalogo" \
    --hints-dir="$out/pistas" "$out/raiz" > "$out/compose.log" 2>&1 || {
    cat "$out/compose.log"
    exit 1
}
fail() { echo "$*"; cat "$out/compose.log"; find "$out/pistas" -type f -exec cat {} +; exit 1; }

catalogo=$(find "$out/catalogo" -name 'coltavenira.xml.gz')
[ -n "$catalogo" ] || fail "no catalog written"
componente=$(zcat "$catalogo")
grep -q "<id>$id</id>" <<< "$componente" || fail "no component $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" <<< "$componente" ||
    fail "no desktop launchable"
grep -q '<icon type="cached"[^>]*>.*coltavenira.*png</icon>' <<< "$componente" ||
    fail "no cached icon"
find "$out/catalogo" -path '*icons*' -name '*coltavenira*.png' | grep -q . || fail "no icon file"
# The hints file gives every tag it knows with its severity, then lists the unit's hints: none
# may be more than an info. AppStream 0.16 has an info for the <developer> tag, which it predates.
grep -qiE '\b(warning|error)' "$out/compose.log" && fail "warnings from compose"
pistas=$out/pistas/coltavenira.hints.yaml
severidades=$(awk '/^- Tag: /{tag=$3} /^  Severity: /{print tag, $2}' "$pistas")
while read -r tag; do
    case $(awk -v tag="$tag" '$1 == tag {print $2}' <<< "$severidades") in
        info | pedantic) ;;
        *) fail "hint from compose: $tag" ;;
    esac
done < <(sed -n '/^- Unit:/,$s/^ *- tag: //p' "$pistas")
echo "$id: composed with icon and desktop entry"
