#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a build gives the same bytes on another machine: builds here, then again in a
# fresh clone of HEAD in a folder of another name, under another umask, time zone, locale, user
# and host name, and compares each artifact of the two builds byte for byte. On a difference it
# prints diffoscope's report of it and fails.
#
# Usage: tools/reproducible.sh [--built] 'BUILD COMMAND' ARTIFACT...
#   BUILD COMMAND  run by bash from the top folder of each tree, e.g. ./tools/package.sh
#   ARTIFACT       a file or a folder, relative to the top folder; a glob pattern is expanded
#                  in this tree ('build-release/coltavenira_*.deb'); a folder is compared file
#                  by file (names and bytes)
#   --built        the artifacts here are already built by the caller: build only the clone
# Uncommitted changes to this tree (tracked files, and new files git does not ignore) are
# carried into the clone, so that both builds have the same source. In a folder unpacked from
# the source archive, where there is no git, the second build is in a copy of its files.

# The caller's settings, before common.sh sets its own umask: the clone's build takes others.
caller_umask=$(umask)
# shellcheck source=/dev/null # common.sh is checked on its own
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

built=
if [ "${1:-}" = --built ]; then
    built=1
    shift
fi
if [ $# -lt 2 ]; then
    sed -n '9,16s/^# \?//p' "${BASH_SOURCE[0]}" >&2
    exit 2
fi
build=$1
shift

need_packages git diffoscope-minimal tzdata locales
need_locales es_ES

# Whatever the caller has, the clone's build differs from it in each of these.
if [ "$caller_umask" = 0002 ]; then other_umask=0022; else other_umask=0002; fi
if [ "$(date +%z)" = "$(TZ=Pacific/Auckland date +%z)" ]; then
    other_tz=UTC
else
    other_tz=Pacific/Auckland
fi
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
    es_ES.UTF-8 | es_ES.utf8) other_locale=C.UTF-8 ;;
    *) other_locale=es_ES.UTF-8 ;;
esac

start=$SECONDS
if [ -z "$built" ]; then
    echo "== Reproducibility: first build, in $ROOT"
    bash -c "$build"
fi

# The second build on the same filesystem as the first, in the tree's own build area: CPack
# counts each folder's size into the package's Installed-Size, and a folder's size is the
# filesystem's (4 KiB on ext4, less on the tmpfs that is Debian 13's /tmp).
mkdir -p "$ROOT/build-reproducible"
tmp=$(mktemp -d "$ROOT/build-reproducible/XXXXXX")
trap 'rm -rf "$tmp"' EXIT
other=$tmp/$(basename "$ROOT")-otra-copia
echo "== Reproducibility: second build, in $other"
echo "   (umask $other_umask, TZ=$other_tz, LC_ALL=$other_locale, another user and host name)"
second_start=$SECONDS
(
    umask "$other_umask"
    export TZ=$other_tz LC_ALL=$other_locale LANG=$other_locale USER=otra LOGNAME=otra
    # The clone's tools take the date from its own last commit, as anyone rebuilding does.
    unset SOURCE_DATE_EPOCH LANGUAGE
    if own_checkout; then
        git clone --quiet "$ROOT" "$other"
        if ! git diff --quiet HEAD; then
            echo "   (with this tree's uncommitted changes)"
            git diff HEAD --binary | git -C "$other" apply --index --whitespace=nowarn
        fi
        git ls-files -z --others --exclude-standard | tar -c --null -T - | tar -x -C "$other"
    else
        # A folder unpacked from the source archive, without git: a copy of the files it lists.
        mkdir "$other"
        # shellcheck disable=SC2094 # tar reads the list twice: as names, and as a file to copy
        tr '\n' '\0' < .archivos-de-la-fuente |
            tar -c --null -T - .archivos-de-la-fuente | tar -x -C "$other"
    fi
    cd "$other" || exit
    # A host name of its own, where the system lets us have one.
    if [ "$(id -u)" -eq 0 ] && unshare --uts true 2> /dev/null; then
        # shellcheck disable=SC2016 # $1 is the inner bash's.
        unshare --uts bash -c 'hostname otra-maquina && bash -c "$1"' bash "$build"
    else
        bash -c "$build"
    fi
)
echo "== Reproducibility: second build took $((SECONDS - second_start)) s"

# same_bytes A B: two files of the same bytes, or two folders of the same names and bytes.
same_bytes() {
    if [ -d "$1" ]; then
        diff -r -q --no-dereference "$1" "$2" > /dev/null
    else
        cmp -s "$1" "$2"
    fi
}

status=0
for pattern in "$@"; do
    # Unquoted on purpose: the pattern is expanded here, in this tree.
    # shellcheck disable=SC2206
    matches=($pattern)
    if [ ! -e "${matches[0]}" ]; then
        echo "no $pattern in $ROOT" >&2
        status=1
        continue
    fi
    for path in "${matches[@]}"; do
        if [ ! -e "$other/$path" ]; then
            echo "DIFFERENT: $path is missing from the second build" >&2
            status=1
        elif same_bytes "$path" "$other/$path"; then
            echo "same bytes: $path"
        else
            echo "DIFFERENT: $path (diffoscope's report follows)" >&2
            # File dates and modes on disk are not part of a folder's bytes; in an archive they
            # are, and diffoscope shows them.
            LC_ALL=C.UTF-8 timeout 900 diffoscope --no-progress --text - --text-color never \
                --exclude-directory-metadata yes --max-text-report-size 400000 \
                "$path" "$other/$path" || true
            status=1
        fi
    done
done
echo "== Reproducibility: $((SECONDS - start)) s in all"
if [ "$status" -ne 0 ]; then
    echo "The two builds differ: see above" >&2
fi
exit "$status"
