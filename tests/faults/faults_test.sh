#!/usr/bin/env bash
# The fault suite: the real exe under Wine against damaged files, blocked
# folders and a misbehaving configuration service. Each case checks what the
# user sees (window, exit code) and what stays on disk (log, configuration).
# Usage: faults_test.sh <folder of TavolexCheck.exe, skins, config> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"
: "${WINEPREFIX:?needs the test prefix}"

data="$WINEPREFIX/drive_c/ProgramData/ORMEX"
logs="$data/Logs"
log="$logs/Tavolex.log"
updates="$data/updates/tavolex"
stored="$updates/checkerconfig.json"
served="$src/tests/service/e2e_config.json"
result_title='^Testing Result$'
start_title='^ORMEX Assistant\(Compatibility checking tool\)$'

# What the suite changes in the prefix is put back at the end.
mkdir -p "$data"
saved="$work/saved"
mkdir -p "$saved"
[ -e "$logs" ] && mv "$logs" "$saved/Logs"
[ -e "$data/updates" ] && mv "$data/updates" "$saved/updates"
service_pid=""
stop_service() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    service_pid=""
}
restore_prefix() {
    stop_service
    chattr -R -i "$data" 2>/dev/null
    chmod -R u+w "$data" 2>/dev/null
    rm -rf "$logs" "$data/updates"
    [ -e "$saved/Logs" ] && mv "$saved/Logs" "$logs"
    [ -e "$saved/updates" ] && mv "$saved/updates" "$data/updates"
    faults_cleanup
}
trap restore_prefix EXIT

# Starts a service script; its first line names the port, which WinINet then
# reaches through the proxy setting with the compiled-in host unchanged.
start_service() { # script args...
    stop_service
    local out="$work/service.out"
    : >"$out"
    python3 -B "$@" >"$out" 2>&1 &
    service_pid=$!
    local port=""
    for _ in $(seq 1 100); do
        port="$(sed -n 's/^listening on [0-9.]*:\([0-9]*\)$/\1/p' "$out")"
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || { echo "the service did not start"; cat "$out"; exit 1; }
    export http_proxy="http://127.0.0.1:$port"
}
start_reference_service() {
    start_service "$src/tools/config_service.py" --port 0 --document "$served"
}

# An older configuration in the updates folder, recognisable by its bytes.
seed_stored_config() {
    chattr -R -i "$data/updates" 2>/dev/null
    chmod -R u+w "$data/updates" 2>/dev/null
    rm -rf "$data/updates"
    mkdir -p "$updates"
    { cat "$src/config/checkerconfig.json"; printf '\n// kept from an earlier run\n'; } >"$stored"
    cp "$stored" "$work/stored.orig"
}

# A setup-mode run closed with Escape: the window must open, exit code 0.
setup_case() { # description dir [args...]
    local what="$1" dir="$2"
    shift 2
    start_app "$dir" "$@"
    if id="$(wait_for_window "${title:-$result_title}" 60)"; then
        pass "$what: the window opens"
        press_escape "$id"
    else
        fail "$what: no window"
    fi
    wait_for_exit 30
    expect_exit "$what: Escape ends it" 0
}

unchanged() { # description file copy
    if cmp -s "$2" "$3"; then pass "$1: kept unchanged"; else fail "$1: changed on disk"; fi
}

# 1. result.tvxcfg holds garbage: setup mode still shows its window and exits
# with the code of what the user does.
settle
for kind in binary huge numbers; do
    dir="$(prepare_app "result-$kind")"
    case "$kind" in
    binary) python3 -c 'import random, sys; r = random.Random(7)
sys.stdout.buffer.write(b"\xff\xfe[\x00r\x00" + bytes(r.randrange(256) for _ in range(65536)))' \
        >"$dir/result.tvxcfg" ;;
    huge) python3 -c 'import sys; big = "A" * (1024 * 1024)
sys.stdout.write("[result]\nos=%s\ncpu=%s\ngpu1=%s\ndispdriver1=%s\ncpu_game=2\n" % (big, big, big, big))' \
        >"$dir/result.tvxcfg" ;;
    numbers) printf '[result]\ncpu_game=99999999999\ncpu_video=-7\nmem_support=2147483648\ngpu1_game=-2147483649\ngpu1_video=7\nos_support=0x10\nsteamvr=-1\ngpu2_game=99999999999\n' \
        >"$dir/result.tvxcfg" ;;
    esac
    cp "$dir/result.tvxcfg" "$work/result.orig"
    setup_case "result.tvxcfg with $kind garbage" "$dir" lang=en check_result=2
    unchanged "result.tvxcfg with $kind garbage" "$dir/result.tvxcfg" "$work/result.orig"
done
# The button's code: verdict 0 shows the exit button, which answers 5.
dir="$(prepare_app result-click)"
printf '[result]\ncpu_game=99999999999\nmem_support=-7\n' >"$dir/result.tvxcfg"
start_app "$dir" lang=en check_result=0
if id="$(wait_for_window "$result_title" 60)"; then
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool mousemove --window "$id" 474 860 click 1
fi
wait_for_exit 30
expect_exit "result.tvxcfg with garbage numbers: the exit button" 5

# 2. tavolex.ini holds garbage, or is a folder: the reader's default language
# (Chinese) applies and the file is left alone.
title='^检测结果$'
dir="$(prepare_app ini-garbage)"
write_result_file "$dir"
mkdir -p "$dir/config"
printf '\xff\xfe\x00[set\nlanguage\n=\x01\x02\n[[[\n' >"$dir/config/tavolex.ini"
cp "$dir/config/tavolex.ini" "$work/ini.orig"
setup_case "garbage tavolex.ini" "$dir" check_result=2
unchanged "garbage tavolex.ini" "$dir/config/tavolex.ini" "$work/ini.orig"
dir="$(prepare_app ini-folder)"
write_result_file "$dir"
mkdir -p "$dir/config/tavolex.ini"
setup_case "tavolex.ini as a folder" "$dir" check_result=2
check "tavolex.ini as a folder: still a folder" test -d "$dir/config/tavolex.ini"
unset title

# 3. Skin damage below the window's own layout: the window opens anyway, the
# affected control stays empty.
for kind in picture sub-layout-missing sub-layout-broken; do
    dir="$(prepare_app "skin-$kind")"
    write_result_file "$dir"
    case "$kind" in
    picture) rm "$dir/skin_tavolex_en/ok.png" "$dir/skin_tavolex_en/logo.png" ;;
    sub-layout-missing) rm "$dir/skin_tavolex_en/checkresult.xml" ;;
    sub-layout-broken) printf '<VerticalLayout><Label text="x"></VerticalLayout' \
        >"$dir/skin_tavolex_en/checkheader.xml" ;;
    esac
    setup_case "skin with a $kind fault" "$dir" lang=en check_result=2
done

# Report mode: one whole check without windows (the same check as the start
# window's, and the same log). Sets exit_code; the report goes to report.json.
report_run() { # dir [seconds]
    start_app "$1" lang=en "report=$("$wine" winepath -w "$1")\\report.json"
    wait_for_exit "${2:-180}"
}
is_check_code() { [ "$exit_code" -ge 0 ] && [ "$exit_code" -le 3 ]; }

# 4. A file stands where the log folder should be: the check runs, nothing is
# logged, and the file is left as it was.
start_reference_service
seed_stored_config
rm -rf "$logs"
printf 'not a folder\n' >"$logs"
cp "$logs" "$work/logs.orig"
dir="$(prepare_app log-blocked)"
report_run "$dir"
check "log folder blocked: the check ends with a check code (exit code $exit_code)" is_check_code
check "log folder blocked: the report is written" test -s "$dir/report.json"
check "log folder blocked: still a file" test -f "$logs"
unchanged "log folder blocked: the file in its place" "$logs" "$work/logs.orig"
dir="$(prepare_app log-blocked-window)"
settle
start_app "$dir" lang=en
if id="$(wait_for_window "$start_title" 60)"; then
    xdotool mousemove --window "$id" 280 298 click 1
    if id="$(wait_for_window "$result_title" 180)"; then
        pass "log folder blocked: the start window's check reaches the result window"
        press_escape "$id"
    else
        fail "log folder blocked: no result window"
    fi
else
    fail "log folder blocked: no start window"
fi
wait_for_exit 30
expect_exit "log folder blocked: closing the result window ends the program" 0
unchanged "log folder blocked: the file in its place after a windowed check" "$logs" "$work/logs.orig"
rm -f "$logs"

# 5. The updates folder is read-only: the download fails quietly and the old
# configuration stays. Permission bits do not stop root, so as root the
# folder and file are made immutable instead.
seed_stored_config
chmod 444 "$stored"
chmod 555 "$updates"
if [ "$(id -u)" -eq 0 ]; then
    chattr +i "$stored" "$updates" || fail "read-only updates folder: chattr +i failed"
fi
dir="$(prepare_app updates-read-only)"
report_run "$dir"
check "read-only updates folder: the check ends with a check code (exit code $exit_code)" is_check_code
check "read-only updates folder: the report is written" test -s "$dir/report.json"
unchanged "read-only updates folder: the old configuration" "$stored" "$work/stored.orig"
chattr -i "$stored" "$updates" 2>/dev/null
chmod -R u+w "$updates"

# 6. A service that sends 50 MB, trickles, or resets mid-body: the start
# window stays responsive and closing it ends the program with 0 at once;
# the stored configuration is whole.
for mode in huge slow reset; do
    seed_stored_config
    start_service "$(dirname "$0")/hostile_service.py" --mode "$mode"
    dir="$(prepare_app "service-$mode")"
    settle
    start_app "$dir" lang=en
    if id="$(wait_for_window "$start_title" 60)"; then
        xdotool mousemove --window "$id" 280 298 click 1
        sleep 3 # the check is under way: the download is in progress or done
        if result="$(find_window "$result_title")" && [ -n "$result" ]; then
            press_escape "$result" # the check finished first: close its result
        else
            press_escape "$id"
        fi
        wait_for_exit 15
        expect_exit "service sends $mode: closing ends the program" 0
    else
        fail "service sends $mode: no start window"
        wait_for_exit 5
    fi
    check "service sends $mode: the stored configuration is whole" \
        cmp -s "$stored" "$work/stored.orig"
done
stop_service

# 7. Two checks at once, both through their start windows: both finish, the
# log holds whole lines of both, and the configuration file is whole.
start_reference_service
seed_stored_config
rm -rf "$logs"
settle
start_app "$(prepare_app twin-1)" lang=en
first_pid=$app_pid
first="$(wait_for_window "$start_title" 60)"
start_app "$(prepare_app twin-2)" lang=en
second_pid=$app_pid
second="$(wait_for_window "$start_title" 60)"
if [ -n "$first" ] && [ -n "$second" ]; then
    pass "two checks at once: two start windows"
    # Both open centred, the second over the first: its button first, then
    # the first window is raised for its own click.
    xdotool mousemove --window "$second" 280 298 click 1
    sleep 1 # the second's page change and the raise are asynchronous,
    xdotool windowraise "$first"
    sleep 1 # and no event tells when they are done
    xdotool mousemove --window "$first" 280 298 click 1
    results=""
    for _ in $(seq 1 900); do
        results="$(find_window "$result_title" "$first_pid") $(find_window "$result_title" "$second_pid")"
        [ "$(echo $results | wc -w)" -ge 2 ] && break
        sleep 0.2
    done
    check "two checks at once: two result windows" test "$(echo $results | wc -w)" -ge 2
    press_escape "$(find_window "$result_title" "$first_pid")" "$first_pid"
    press_escape "$(find_window "$result_title" "$second_pid")" "$second_pid"
else
    fail "two checks at once: start windows ${first:-missing} and ${second:-missing}"
fi
app_pid=$first_pid
wait_for_exit 60
expect_exit "two checks at once: the first ends" 0
app_pid=$second_pid
wait_for_exit 60
expect_exit "two checks at once: the second ends" 0
bad="$(tr -d '\r' <"$log" | grep -cvE $'^$|^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\t')"
check "two checks at once: every log line is whole ($bad broken)" test "$bad" -eq 0
starts="$(grep -c 'Start work' "$log")"
check "two checks at once: both runs logged ($starts \"Start work...\")" test "$starts" -eq 2
check "two checks at once: the configuration file is the served document" cmp -s "$stored" "$served"

[ "$failures" -eq 0 ] || { for f in "$work"/*.wine-output.txt; do echo "== $f"; grep -v "^fixme" "$f" | tail -5; done; false; }
