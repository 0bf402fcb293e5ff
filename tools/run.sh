#!/usr/bin/env bash
# Builds Coltavenira (installing what is missing) and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

need_packages "${BUILD_PACKAGES[@]}"
configure_and_build build
exec build/app/coltavenira
