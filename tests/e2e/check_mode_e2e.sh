#!/usr/bin/env bash
# Check mode end to end: the real exe under Wine against the reference
# configuration service (reached through the proxy, so the compiled-in host is
# used unchanged), driven through the real mouse path in each language.
# Usage: check_mode_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"

document="$src/config/checkerconfig.json"

# Starts a check through the start button; sets id to the result window.
run_check() { # dir lang
    start_app "$1" "lang=$2"
    id="$(wait_for_window "${start_title[$2]}" 60)" || return 1
    press_start "$id" || return 1
    id="$(wait_for_window "${result_title[$2]}" 120)"
}

# 1. A whole check in each language.
start_service --document "$document"
for lang in en jp cn; do
    rm -f "$downloaded"
    before="$(log_lines)"
    dir="$(prepare_app "check-$lang")"
    if run_check "$dir" "$lang"; then
        pass "$lang: start button leads to the result window"
        check "$lang: downloaded configuration equals the served document" cmp -s "$downloaded" "$document"
        lines="$(new_log "$before")"
        if [ "$(printf '%s\n' "$lines" | head -n 1)" = "" ] &&
            printf '%s\n' "$lines" | grep -qE $'^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\tStart work\\.\\.\\.$'; then
            pass "$lang: log has the run separator and \"Start work...\""
        else
            fail "$lang: log lines were: $lines"
        fi
        press_key "$id" Escape || fail "$lang: Escape did not close the result window"
    else
        fail "$lang: no result window"
    fi
    expect_end "$lang: closing the result window ends the program" 0
done

# 2. No configuration anywhere: the service fails, nothing is stored; the
# check still ends in the result window and the log names the missing file.
start_service --document "$document" --fault config:404
rm -f "$downloaded"
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/ORMEX "$WINEPREFIX"/drive_c/users/*/Temp/ORMEX
before="$(log_lines)"
if run_check "$(prepare_app no-config)" en; then
    if new_log "$before" | grep -q $'\topen config file failed\\. file=.*checkerconfig\\.json$'; then
        pass "no configuration: the log names the file it could not open"
    else
        fail "no configuration: log lines were: $(new_log "$before")"
    fi
    check "no configuration: no error page was stored as configuration" test ! -e "$downloaded"
    press_key "$id" Escape || fail "no configuration: Escape did not close the result window"
else
    fail "no configuration: no result window"
fi
expect_end "no configuration: program ends" 0

# 3. Closing the start window while the check waits on a slow service ends
# the program at once, with 0.
start_service --document "$document" --fault clock:slow
start_app "$(prepare_app slow-service)" lang=en
if id="$(wait_for_window "${start_title[en]}" 60)"; then
    # The check has really asked the service before the window is closed.
    if press_start "$id"; then
        closed_at=$SECONDS
        press_key "$id" Escape || fail "slow service: Escape did not close the start window"
        expect_end "start window closed during a slow check" 0
        check "the program ended at once ($((SECONDS - closed_at)) s)" test $((SECONDS - closed_at)) -le 5
    else
        fail "slow service: the start button never reached the service"
        wait_for_exit 5
    fi
else
    fail "slow service: no start window"
    wait_for_exit 5
fi
stop_service

# 4. A check result without a stored result gives check mode; closing the
# start window ends the program with 0.
setup_change="rm result.tvxcfg" setup_case no-result-file lang=en check_result=2
close_with_key "check result without result.tvxcfg: the start window, closed" "${start_title[en]}" Escape 0

# 5. A missing skin folder: the toolkit's error box, then exit code 1.
dir="$(prepare_app no-skin)"
rm -rf "$dir/skin_tavolex_en"
start_app "$dir" lang=en
close_with_key "missing skin folder: the error box, then" "$error_box_title" Return 1

finish
