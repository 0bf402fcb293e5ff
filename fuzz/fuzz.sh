#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the fuzz target for a while and shows its closing figures; on a finding, its whole log.
# Usage: fuzz.sh FUZZER SECONDS BUILD_DIR SEEDS_DIR
set -euo pipefail
fuzzer=$1 seconds=$2 build=$3 seeds=$4
mkdir -p "$build/corpus"
log="$build/fuzz.log"
if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/" \
    "$build/corpus" "$seeds" > "$log" 2>&1; then
    cat "$log"
    exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|INFO: .*corpus' "$log" | tail -n 6
