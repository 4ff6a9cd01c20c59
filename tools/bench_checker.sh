#!/usr/bin/env bash
# Times CSystemChecker::Run under Wine against the reference service on
# loopback: whole runs and runs split into download, graphics probe and
# evaluation, each in a fresh process. Usage: tools/bench_checker.sh [runs]
# Uses the Windows build folder and Wine prefix of scripts/lib.sh.
set -uo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
runs="${1:-5}"
build_windows >/dev/null || exit 1
prepare_wine_prefix || exit 1
wineserver -p  # keep the server up, so no run pays for its start
trap 'wineserver -k 2>/dev/null' EXIT
bench="$win_build/bin/checker_bench.exe"
python3 -B "$root/tools/with_config_service.py" -- bash -c '
    for i in $(seq 1 '"$runs"'); do "'"$wine"'" "'"$bench"'"; done
    for i in $(seq 1 '"$runs"'); do "'"$wine"'" "'"$bench"'" split; done'
