#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the source archive that the site and the release carry: every file git tracks, under a
# top folder coltavenira-VERSION/, as a tar in name order with every date SOURCE_DATE_EPOCH, owner
# 0 and the modes a 0022 umask gives, gzipped with no name or date. The archive lists its files in
# .archivos-de-la-fuente, so that the same command in a folder unpacked from it, where there is
# no git, makes the same bytes again: a site built from the unpacked source carries the archive
# it came from.
# Usage: tools/fuente.sh VERSION ARCHIVE
if [ $# -ne 2 ]; then
    echo "uso: $0 VERSION ARCHIVO.tar.gz" >&2
    exit 2
fi
version=$1
salida=$(realpath -m "$2")
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
LISTA=.archivos-de-la-fuente

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The files, one to a line, in byte order, without the list itself. In a checkout, git's list of
# the tracked files (as they are on disk, so that a build of uncommitted changes carries them);
# in an unpacked archive, its own list.
if own_checkout; then
    if [ -n "$(git -C "$ROOT" ls-files --others --exclude-standard)" ]; then
        echo "fuente.sh: files git does not track are left out of $(basename "$salida")" >&2
    fi
    git -C "$ROOT" ls-files --cached --deleted -z | tr '\0' '\n' | LC_ALL=C sort | uniq -u
elif [ -f "$ROOT/$LISTA" ]; then
    cat "$ROOT/$LISTA"
else
    echo "fuente.sh: $ROOT is neither a git checkout nor unpacked from a source archive" \
        "(no $LISTA)" >&2
    exit 1
fi > "$tmp/lista"

carpeta=$tmp/coltavenira-$version
mkdir "$carpeta"
tr '\n' '\0' < "$tmp/lista" | tar -c --null --no-recursion -T - | tar -x -C "$carpeta"
cp "$tmp/lista" "$carpeta/$LISTA"
tar -c -C "$tmp" --sort=name --format=gnu --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
    --numeric-owner --mode=u+rw,go-w,a+rX --hard-dereference "coltavenira-$version" |
    gzip -9 -n > "$salida.tmp"
mv "$salida.tmp" "$salida"
