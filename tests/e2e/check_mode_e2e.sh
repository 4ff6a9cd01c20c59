#!/usr/bin/env bash
# Check mode end to end: the real exe under Wine against the reference
# configuration service (reached through the proxy, so the compiled-in host is
# used unchanged), driven through the real mouse path in each language.
# Usage: check_mode_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"
: "${WINEPREFIX:?needs the test prefix}"

data="$WINEPREFIX/drive_c/ProgramData/ORMEX"
log="$data/Logs/Tavolex.log"
downloaded="$data/updates/tavolex/checkerconfig.json"
document="$src/config/checkerconfig.json"

trap 'stop_service; e2e_cleanup' EXIT

# Titles: string 119 (start window) and 117 (result window) per language.
declare -A start_title=([cn]='^ORMEX助手性能检测工具$' [en]='^ORMEX Assistant\(Compatibility checking tool\)$'
                        [jp]='^ORMEXアシスタント性能テストツール$')
declare -A result_title=([cn]='^检测结果$' [en]='^Testing Result$' [jp]='^テスト結果$')

service_requests() {
    python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=5).read().decode())' \
        "$http_proxy/_control/requests" 2>/dev/null
}

log_lines() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
new_log() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | tr -d '\r'; }

# Starts a check through the start button; sets id to the result window.
# (Not used in $(...): the program must not inherit the substitution's pipe.)
# The button sits at the centre bottom of the 560x360 start page.
run_check() { # dir lang
    start_app "$1" "lang=$2"
    id="$(wait_for_window "${start_title[$2]}" 60)" || return 1
    xdotool mousemove --window "$id" 280 298 click 1
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
        if cmp -s "$downloaded" "$document"; then
            pass "$lang: downloaded configuration equals the served document"
        else
            fail "$lang: downloaded configuration differs from the served document"
        fi
        lines="$(new_log "$before")"
        if [ "$(printf '%s\n' "$lines" | head -n 1)" = "" ] &&
            printf '%s\n' "$lines" | grep -qE $'^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\tStart work\\.\\.\\.$'; then
            pass "$lang: log has the run separator and \"Start work...\""
        else
            fail "$lang: log lines were: $lines"
        fi
        focus "$id"
        xdotool key Escape
    else
        fail "$lang: no result window"
    fi
    wait_for_exit 30
    expect_exit "$lang: closing the result window ends the program" 0
done

# 2. No configuration anywhere: the service fails, nothing is stored; the
# check still ends in the result window and the log names the missing file.
start_service --document "$document" --fault config:404
rm -f "$downloaded"
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/ORMEX "$WINEPREFIX"/drive_c/users/*/Temp/ORMEX
before="$(log_lines)"
dir="$(prepare_app no-config)"
if run_check "$dir" en; then
    if new_log "$before" | grep -q $'\topen config file failed\\. file=.*checkerconfig\\.json$'; then
        pass "no configuration: the log names the file it could not open"
    else
        fail "no configuration: log lines were: $(new_log "$before")"
    fi
    [ -f "$downloaded" ] && fail "no configuration: an error page was stored as configuration"
    focus "$id"
    xdotool key Escape
else
    fail "no configuration: no result window"
fi
wait_for_exit 30
expect_exit "no configuration: program ends" 0

# 3. Closing the start window while the check waits on a slow service ends
# the program at once, with 0.
start_service --document "$document" --fault clock:slow
dir="$(prepare_app slow-service)"
start_app "$dir" lang=en
if id="$(wait_for_window "${start_title[en]}" 60)"; then
    xdotool mousemove --window "$id" 280 298 click 1
    # Wait until the check has really asked the service.
    for _ in $(seq 1 100); do
        service_requests | grep -q getTimestamp && break
        sleep 0.1
    done
    focus "$id"
    xdotool key Escape
    closed_at=$SECONDS
    wait_for_exit 30
    expect_exit "start window closed during a slow check" 0
    if [ $((SECONDS - closed_at)) -le 5 ]; then
        pass "the program ended at once ($((SECONDS - closed_at)) s)"
    else
        fail "the program took $((SECONDS - closed_at)) s to end"
    fi
else
    fail "slow service: no start window"
    wait_for_exit 5
fi
stop_service

# 4. A verdict code without a stored result gives check mode; closing the
# start window ends the program with 0.
dir="$(prepare_app no-result-file)"
start_app "$dir" lang=en check_result=2
if id="$(wait_for_window "${start_title[en]}" 60)"; then
    pass "verdict code without result.tvxcfg shows the start window"
    focus "$id"
    xdotool key Escape
else
    fail "verdict code without result.tvxcfg: no start window"
fi
wait_for_exit 30
expect_exit "start window closed" 0

# 5. A missing skin folder: the toolkit's error box, then exit code 1.
dir="$(prepare_app no-skin)"
rm -rf "$dir/skin_tavolex_en"
start_app "$dir" lang=en
if id="$(wait_for_window '^ORMEX$' 60)"; then
    focus "$id"
    xdotool key Return
else
    fail "missing skin folder: no error box"
fi
wait_for_exit 30
expect_exit "missing skin folder" 1

[ "$failures" -eq 0 ]
