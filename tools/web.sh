#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the web edition (installing what is missing) into build-web/sitio/, a static folder any
# web host serves as it is, then serves it on http://127.0.0.1:8080/ until Ctrl+C.
#   --build-only   only build
#   --test         build, then run the page's tests in headless Chromium (needs the dev build's
#                  recorrido_lecturas, which tools/test.sh builds first)
#   --bench        build, then measure the page's budgets (tools/bench.sh runs it)
#   --screenshot   build, then retake docs/coltavenira-web*.png: a phone, light and dark, and a
#                  wide screen
# shellcheck source=tools/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

modo=${1:-serve}
case "$modo" in
serve | --build-only | --test | --bench | --screenshot) ;;
*)
    echo "uso: $0 [--build-only | --test | --bench | --screenshot]" >&2
    exit 2
    ;;
esac

# Debian's emscripten, with its prebuilt system libraries: the web preset uses its frozen cache,
# as a cache of our own would rebuild them for minutes.
need_packages ca-certificates cmake ninja-build emscripten
# emscripten's tools find acorn through NODE_PATH when node is not Debian's own.
export NODE_PATH=/usr/share/nodejs
configure_and_build web
echo "== The site: build-web/sitio/"
print_sha256 build-web/sitio/*

case "$modo" in
--build-only) ;;
--test | --bench | --screenshot)
    need_packages chromium
    command -v npm > /dev/null || need_packages npm
    (cd web && npm ci --no-audit --no-fund --loglevel=error)
    case "$modo" in
    --test) (cd web && node --test pruebas/) ;;
    --bench) node web/banco.mjs ;;
    --screenshot) node web/captura.mjs docs ;;
    esac
    ;;
serve)
    exec node web/servidor.mjs build-web/sitio 8080
    ;;
esac
