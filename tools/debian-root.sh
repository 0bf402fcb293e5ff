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
#
# Debian's packages downloaded in a root (by mmdebstrap, and by apt-get in the root) are kept in
# ${XDG_CACHE_HOME:-~/.cache}/coltavenira/apt/SUITE, so that the next root downloads nothing it
# had. The machine's own CA certificates (/usr/local/share/ca-certificates) and npm's settings
# (~/.npmrc) are carried in, or npm could not reach its registry from inside.
# COLTAVENIRA_ROOT_BIND, a list of host folders separated by colons, binds each at the same path
# in the root for the command run (a source tree, the cache of Qt for Windows).
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

APT_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/coltavenira/apt

usage() {
    sed -n '7,10s/^# \?//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

suite_of() {
    (. "$1/etc/os-release" && echo "$VERSION_CODENAME")
}

make_root() {
    local suite=$1 dir=$2
    need_packages mmdebstrap
    local cache=$APT_CACHE/$suite
    mkdir -p "$cache"
    rm -rf "$dir"
    echo "== A fresh Debian $suite in $dir"
    # The cache is copied in before the download and out before mmdebstrap empties it.
    # shellcheck disable=SC2016 # "$1" is the hook's
    mmdebstrap --quiet --variant=minbase --include=ca-certificates,git,sudo,locales \
        --skip=download/empty --setup-hook='mkdir -p "$1"/var/cache/apt/archives' \
        --setup-hook="sync-in $cache /var/cache/apt/archives" \
        --customize-hook="sync-out /var/cache/apt/archives $cache" \
        "$suite" "$dir" http://deb.debian.org/debian
    cp /etc/resolv.conf "$dir/etc/resolv.conf"
    # sudo looks up the host's name.
    echo "127.0.1.1 $(hostname)" >> "$dir/etc/hosts"
    if compgen -G '/usr/local/share/ca-certificates/*.crt' > /dev/null; then
        cp /usr/local/share/ca-certificates/*.crt "$dir/usr/local/share/ca-certificates/"
        chroot "$dir" update-ca-certificates > /dev/null
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
# mounts goes when it ends; apt's downloads land in the shared cache. DIR is bound onto itself so
# that the root's / is a mount point: a root inside it (tools/windows.sh on Debian 13 makes one)
# can have a namespace of its own too.
run_in() {
    local dir=$1 user=$2 command=$3 suite
    suite=$(suite_of "$dir")
    mkdir -p "$APT_CACHE/$suite"
    # shellcheck disable=SC2016 # the inner bash's arguments
    unshare --mount --fork bash -euo pipefail -c '
        dir=$1
        mount --bind "$dir" "$dir"
        mount --rbind /dev "$dir/dev"
        mount -t proc proc "$dir/proc"
        mount --rbind /sys "$dir/sys"
        mount -t tmpfs tmpfs "$dir/tmp"
        mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
        mount --bind "$2" "$dir/var/cache/apt/archives"
        IFS=: read -r -a binds <<< "$5"
        for bind in "${binds[@]}"; do
            mkdir -p "$dir$bind"
            mount --bind "$bind" "$dir$bind"
        done
        exec chroot "$dir" /usr/sbin/runuser -l "$3" -c "$4"' \
        bash "$dir" "$APT_CACHE/$suite" "$user" \
        "export CI=${CI:-} NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt; $command" \
        "${COLTAVENIRA_ROOT_BIND:-}"
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
    *) usage ;;
esac
