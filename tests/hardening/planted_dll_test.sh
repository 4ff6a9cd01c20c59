#!/usr/bin/env bash
# DLL planting under Wine. Wine normally prefers its built-in DLLs, so a
# planted copy would be ignored anyway; WINEDLLOVERRIDES "n,b" makes it look
# for native DLLs first, as Windows does for DLLs that are not KnownDLLs.
# Usage: planted_dll_test.sh <exe folder> <planted.dll> <plant_control.exe>
set -uo pipefail
bin="$1"
planted="$2"
control="$3"
source "$(dirname "$0")/../faults/lib.sh"

names=(version wininet dbghelp gdiplus)
export WINEDLLOVERRIDES="version,wininet,dbghelp,gdiplus=n,b;mscoree,mshtml="

plant() { # dir
    local name
    for name in "${names[@]}"; do cp "$planted" "$1/$name.dll"; done
}
markers() { # dir
    find "$1" -name '*.planted-loaded' -printf '%f ' 2>/dev/null
}

# 1. The control: without the defence the planted copies are loaded (else
# this test could not see a failure), with it none is.
dir="$work/control"
mkdir -p "$dir"
cp "$control" "$dir/"
plant "$dir"
(cd "$dir" && "$wine" ./plant_control.exe "${names[@]/%/.dll}") >/dev/null 2>&1
found="$(markers "$dir")"
check "planted DLLs load without the defence (found: ${found:-none})" test -n "$found"
rm -f "$dir"/*.planted-loaded
output="$(cd "$dir" && "$wine" ./plant_control.exe harden "${names[@]/%/.dll}" 2>/dev/null | tr -d '\r')"
exit_code=$?
expect_exit "HardenDllSearch succeeds ($(echo $output))" 0
found="$(markers "$dir")"
check "no planted DLL loads after HardenDllSearch (found: ${found:-none})" test -z "$found"

# 2. The product in setup mode, started from a folder holding the planted
# DLLs: the window opens (the real GDI+ draws it) and nothing planted runs.
dir="$(prepare_app setup)"
write_result_file "$dir"
plant "$dir"
start_app "$dir" lang=en check_result=2
if id="$(wait_for_window '^Testing Result$' 60)"; then
    pass "setup window opens beside planted DLLs"
    press_escape "$id"
else
    fail "no setup window beside planted DLLs"
fi
wait_for_exit 30
expect_exit "setup mode beside planted DLLs" 0
found="$(markers "$dir")"
check "no planted DLL loaded by setup mode (found: ${found:-none})" test -z "$found"

# 3. A windowless check (report mode) uses WinINet; no service answers here.
dir="$(prepare_app report)"
plant "$dir"
http_proxy=http://127.0.0.1:9 start_app "$dir" lang=en "report=$("$wine" winepath -w "$dir" 2>/dev/null)\\report.json"
wait_for_exit 180
check "report mode ends beside planted DLLs (exit code $exit_code)" test "$exit_code" != 124
found="$(markers "$dir")"
check "no planted DLL loaded by a check (found: ${found:-none})" test -z "$found"

[ "$failures" -eq 0 ]
