#!/usr/bin/env bash
# Runs the real TavolexCheck.exe in setup mode under Wine on the test screen
# and drives it like a user: Escape, a click on a setup button, and a broken
# and a missing layout file (error box, exit code 1).
# Usage: setup_mode_e2e.sh <folder of TavolexCheck.exe and the skins>
set -uo pipefail
bin="$1"
source "$(dirname "$0")/../e2e/lib.sh"

prepare() { # case-name
    local dir
    dir="$(prepare_app "$1")"
    write_result_file "$dir"
    echo "$dir"
}

# 1. Escape closes the setup window: exit code 0.
start_app "$(prepare escape)" lang=en check_result=0
close_with_key "setup mode, Escape" "${result_title[en]}" Escape 0

# 2. A real click on "btn_setup_exit2" (verdict 0 shows it): exit code 5.
start_app "$(prepare click)" lang=en check_result=0
click_setup_exit "setup mode, click on btn_setup_exit2"

# 3. A broken layout: the toolkit's error box "ORMEX", then exit code 1.
for kind in broken missing; do
    dir="$(prepare "$kind")"
    if [ "$kind" = broken ]; then
        printf '<Window><VerticalLayout></Window>' > "$dir/skin_tavolex_en/checkresult_setupwnd.xml"
    else
        rm "$dir/skin_tavolex_en/checkresult_setupwnd.xml"
    fi
    start_app "$dir" lang=en check_result=2
    close_with_key "$kind layout file: the error box, then" '^ORMEX$' Return 1
done

finish
