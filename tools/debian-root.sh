#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# A fresh Debian machine in a folder, as a new user has one: a minimal root of any Debian
# release with only git and sudo, and a user, "usuario", who may use sudo. The README's commands
# are tried there on Debian 12 and 13 from a clean clone, as CI does. Needs root.
#
#   tools/debian-root.sh make SUITE DIR         a fresh root of SUITE (bookworm, trixie) in DIR
#   tools/debian-root.sh run DIR COMMAND        COMMAND by bash in DIR, as usuario in its home
#   tools/debian-root.sh run-root DIR COMMAND   the same as root
#   tools/debian-root.sh remove DIR             DIR and everything in it
#   tools/debian-root.sh try SUITE COMMAND [FILE...]
#       a new user's first steps: a fresh root of SUITE, a clean clone of this repository's HEAD
#       in ~/coltavenira and the FILEs in ~; COMMAND run there as usuario; the root removed
#       after. Its status is COMMAND's.
#
# Debian's packages downloaded in a root (by mmdebstrap, and by apt-get in the root), and the
# package lists, are kept in ${XDG_CACHE_HOME:-~/.cache}/coltavenira/apt/SUITE, so that the next
# root downloads nothing it had. The machine's own CA certificates (in
# /usr/local/share/ca-certificates) and npm's settings (~/.npmrc) are carried in, or npm could not
# reach its registry from inside.
# COLTAVENIRA_ROOT_BIND, a list of host folders separated by colons, binds each at the same path
# in the root for the command run (a source tree, the cache of Qt for Windows).
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

APT_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/coltavenira/apt

usage() {
    sed -n '7,14s/^# \?//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

suite_of() {
    sed -n 's/^VERSION_CODENAME=//p' "$1/etc/os-release"
}

# sync_var FROM TO: apt's downloaded packages (as hard links where it can) and package lists
# from one var/ folder to another, a root's or the suite's cache. Each root has copies of its
# own, so that roots may run side by side; a copy holds the cache's lock.
sync_var() {
    mkdir -p "$2/cache/apt/archives/partial" "$2/lib/apt/lists/partial"
    (
        flock 9
        find "$1/cache/apt/archives" -maxdepth 1 -name '*.deb' \
            -exec cp --link --no-clobber -t "$2/cache/apt/archives" {} + 2> /dev/null ||
            find "$1/cache/apt/archives" -maxdepth 1 -name '*.deb' \
                -exec cp --no-clobber -t "$2/cache/apt/archives" {} +
        find "$1/lib/apt/lists" -maxdepth 1 -type f ! -name lock \
            -exec cp --preserve=timestamps --update -t "$2/lib/apt/lists" {} +
    ) 9> "$APT_CACHE/.lock"
}

make_root() {
    local suite=$1 dir=$2
    need_packages mmdebstrap
    local cache=$APT_CACHE/$suite
    mkdir -p "$cache/cache/apt/archives" "$cache/lib/apt/lists"
    rm -rf "$dir"
    echo "== A fresh Debian $suite in $dir"
    # With the packages and the package lists of the last root, apt downloads only what is new.
    # The cache goes in before the download, and out before mmdebstrap empties the root's.
    # shellcheck disable=SC2016 # "$1" is the hook's
    (
        flock 9
        mmdebstrap --quiet --variant=minbase --include=ca-certificates,git,sudo,locales \
            --skip=download/empty \
            --setup-hook='mkdir -p "$1"/var/cache/apt/archives "$1"/var/lib/apt/lists' \
            --setup-hook="sync-in $cache/cache/apt/archives /var/cache/apt/archives" \
            --setup-hook="sync-in $cache/lib/apt/lists /var/lib/apt/lists" \
            --customize-hook="sync-out /var/cache/apt/archives $cache/cache/apt/archives" \
            --customize-hook="sync-out /var/lib/apt/lists $cache/lib/apt/lists" \
            "$suite" "$dir" http://deb.debian.org/debian
    ) 9> "$APT_CACHE/.lock"
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    # sudo looks up the host's name.
    echo "127.0.1.1 $(hostname)" >> "$dir/etc/hosts"
    if compgen -G '/usr/local/share/ca-certificates/*.crt' > /dev/null; then
        cp /usr/local/share/ca-certificates/*.crt "$dir/usr/local/share/ca-certificates/"
        chroot "$dir" update-ca-certificates > /dev/null 2>&1
    fi
    # The release's security and update suites, as on an installed machine.
    cat > "$dir/etc/apt/sources.list" << EOF
deb http://deb.debian.org/debian $suite main
deb http://deb.debian.org/debian $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
EOF
    chroot "$dir" useradd --create-home --shell /bin/bash usuario
    echo 'usuario ALL=(ALL) NOPASSWD: ALL' > "$dir/etc/sudoers.d/usuario"
    chmod 0440 "$dir/etc/sudoers.d/usuario"
    if [ -f "$HOME/.npmrc" ]; then
        cp "$HOME/.npmrc" "$dir/root/.npmrc"
        install -o 1000 -g 1000 -m 0600 "$HOME/.npmrc" "$dir/home/usuario/.npmrc"
    fi
}

# run_in DIR USER COMMAND: the command in a mount namespace of its own, so that whatever it
# mounts goes when it ends; what apt downloaded is kept in the cache, whatever the status. DIR
# is bound onto itself so that the root's / is a mount point: a root inside it (tools/windows.sh
# on Debian 13 makes one) can have a namespace of its own too.
run_in() {
    local dir=$1 user=$2 command=$3 cache status=0
    cache=$APT_CACHE/$(suite_of "$dir")
    mkdir -p "$cache"
    sync_var "$cache" "$dir/var"
    # shellcheck disable=SC2016 # the inner bash's arguments
    unshare --mount --fork bash -euo pipefail -c '
        dir=$1
        mount --bind "$dir" "$dir"
        mount --rbind /dev "$dir/dev"
        mount -t proc proc "$dir/proc"
        mount --rbind /sys "$dir/sys"
        mount -t tmpfs tmpfs "$dir/tmp"
        mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
        IFS=: read -r -a binds <<< "$4"
        for bind in "${binds[@]}"; do
            mkdir -p "$dir$bind"
            mount --bind "$bind" "$dir$bind"
        done
        exec chroot "$dir" /usr/sbin/runuser -l "$2" -c "$3"' \
        bash "$dir" "$user" \
        "export CI=${CI:-} NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt; $command" \
        "${COLTAVENIRA_ROOT_BIND:-}" || status=$?
    sync_var "$dir/var" "$cache"
    return "$status"
}

# try SUITE COMMAND FILE...
try_in_fresh_root() {
    local suite=$1 command=$2 dir status=0
    shift 2
    dir=$(mktemp -d /var/tmp/coltavenira-"$suite".XXXXXX)
    # shellcheck disable=SC2064 # the folder of this call
    trap "rm -rf --one-file-system '$dir'" EXIT
    make_root "$suite" "$dir"
    git clone --quiet "$ROOT" "$dir/home/usuario/coltavenira"
    if [ $# -gt 0 ]; then
        cp -t "$dir/home/usuario" "$@"
    fi
    chown -R 1000:1000 "$dir/home/usuario"
    echo "== In a fresh Debian $suite, as a new user: $command"
    run_in "$dir" usuario "cd coltavenira && $command" || status=$?
    return "$status"
}

[ $# -ge 2 ] || usage
if [ "$(id -u)" -ne 0 ]; then
    echo "debian-root.sh needs root (mmdebstrap, chroot and mounts)" >&2
    exit 1
fi
case $1 in
    make) [ $# -eq 3 ] || usage; make_root "$2" "$3" ;;
    run) [ $# -eq 3 ] || usage; run_in "$2" usuario "$3" ;;
    run-root) [ $# -eq 3 ] || usage; run_in "$2" root "$3" ;;
    remove) [ $# -eq 2 ] || usage; rm -rf --one-file-system "$2" ;;
    try) [ $# -ge 3 ] || usage; shift; try_in_fresh_root "$@" ;;
    *) usage ;;
esac
