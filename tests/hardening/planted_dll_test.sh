#!/usr/bin/env bash
# DLL planting under Wine. Wine normally prefers its built-in DLLs, so a
# planted copy would be ignored anyway; WINEDLLOVERRIDES "n,b" makes it look
# for native DLLs first, as Windows does for DLLs that are not KnownDLLs.
# Usage: planted_dll_test.sh <exe folder> <planted.dll> <plant_control.exe> <source folder>
set -uo pipefail
bin="$1"
planted="$2"
control="$3"
src="$4"
source "$(dirname "$0")/../faults/lib.sh"

# The DLLs the product imports or delay-loads, and those that system DLLs load
# by name on its behalf (Wine's GDI+ pulls in windowscodecs, user32 uxtheme).
names=(version wininet uxtheme dwmapi windowscodecs oleacc dbghelp cryptbase propsys profapi
    gdiplus bcrypt)
export WINEDLLOVERRIDES="$(IFS=,; echo "${names[*]}")=n,b;mscoree,mshtml="

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
output="$(cd "$dir" && "$wine" ./plant_control.exe harden "${names[@]/%/.dll}" 2>&1 | tr -d '\r')"
check "HardenDllSearch succeeds ($(echo $output))" grep -q '^limited=1 ' <<<"$output"
found="$(markers "$dir")"
check "no planted DLL loads after HardenDllSearch (found: ${found:-none})" test -z "$found"

# 2. The product in setup mode, started from a folder holding the planted
# DLLs: the window opens (the real GDI+ draws it), a link is followed
# (through the desktop shell, or the "Information" box where it cannot take
# the page), Escape ends it as in a clean run, and nothing planted runs.
register_http_handler
setup_change="plant ." setup_case setup lang=en check_result=0
if id="$(wait_for_window "${result_title[en]}" 60)"; then
    check "setup mode beside planted DLLs: a link followed" follow_website_link "$id" "$dir"
fi
close_with_key "setup mode beside planted DLLs: Escape ends it" "${result_title[en]}" Escape 0
found="$(markers "$dir")"
check "no planted DLL loaded by setup mode (found: ${found:-none})" test -z "$found"

# 3. A whole check, which uses WinINet, from the start window to the result
# window, closed with Escape as in a clean run.
start_service --document "$src/config/checkerconfig.json"
dir="$(prepare_app check)"
plant "$dir"
windowed_check "check beside planted DLLs" "$dir"
found="$(markers "$dir")"
check "no planted DLL loaded by a check (found: ${found:-none})" test -z "$found"

finish
