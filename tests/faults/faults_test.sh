#!/usr/bin/env bash
# The fault suite: the real exe under Wine against damaged files, blocked
# folders and a misbehaving configuration service. Each case checks what the
# user sees (window, exit code) and what stays on disk (log, configuration).
# Usage: faults_test.sh <folder of TavolexCheck.exe, skins, config> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"

logs="$data/Logs"
updates="$data/updates/tavolex"
stored="$updates/checkerconfig.json"
served="$src/tests/service/e2e_config.json"

# What the suite changes in the prefix is put back at the end.
mkdir -p "$data"
saved="$work/saved"
mkdir -p "$saved"
[ -e "$logs" ] && mv "$logs" "$saved/Logs"
[ -e "$data/updates" ] && mv "$data/updates" "$saved/updates"
restore_prefix() {
    stop_service
    chattr -R -i "$data" 2>/dev/null
    chmod -R u+w "$data" 2>/dev/null
    rm -rf "$logs" "$data/updates"
    [ -e "$saved/Logs" ] && mv "$saved/Logs" "$logs"
    [ -e "$saved/updates" ] && mv "$saved/updates" "$data/updates"
    e2e_cleanup
}
trap restore_prefix EXIT

start_reference_service() {
    service_script="" start_service --document "$served"
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

unchanged() { # description file copy
    if cmp -s "$2" "$3"; then pass "$1: kept unchanged"; else fail "$1: changed on disk"; fi
}

# A setup-mode run closed with Escape: the window must open, exit code 0.
escape_ends() { # description [title]
    close_with_key "$1: the window opens and Escape ends it" "${2:-${result_title[en]}}" Escape 0
}

# Writes garbage of a kind into a file, in the case's folder, and keeps a copy.
garbage() { # kind file
    case "$1" in
    binary) python3 -c 'import random, sys; r = random.Random(7)
sys.stdout.buffer.write(b"\xff\xfe[\x00r\x00" + bytes(r.randrange(256) for _ in range(65536)))' ;;
    huge) python3 -c 'import sys; big = "A" * (1024 * 1024)
sys.stdout.write("[result]\nos=%s\ncpu=%s\ngpu1=%s\ndispdriver1=%s\ncpu_game=2\n" % (big, big, big, big))' ;;
    numbers) printf '[result]\ncpu_game=99999999999\ncpu_video=-7\nmem_support=2147483648\ngpu1_game=-2147483649\ngpu1_video=7\nos_support=0x10\nsteamvr=-1\ngpu2_game=99999999999\n' ;;
    ini) printf '\xff\xfe\x00[set\nlanguage\n=\x01\x02\n[[[\n' ;;
    esac >"$2"
    cp "$2" "$work/garbage.orig"
}

# 1. result.tvxcfg holds garbage: setup mode still shows its window and exits
# with the code of what the user does.
settle
for kind in binary huge numbers; do
    setup_change="garbage $kind result.tvxcfg" setup_case "result-$kind" lang=en check_result=2
    escape_ends "result.tvxcfg with $kind garbage"
    unchanged "result.tvxcfg with $kind garbage" "$dir/result.tvxcfg" "$work/garbage.orig"
done
# The button's code: verdict 0 shows the exit button, which answers 5.
setup_change="printf '[result]\ncpu_game=99999999999\nmem_support=-7\n' >result.tvxcfg" \
    setup_case result-click lang=en check_result=0
click_setup_exit "result.tvxcfg with garbage numbers: the exit button" btn_setup_exit2

# 2. tavolex.ini holds garbage, or is a folder: the reader's default language
# (Chinese) applies and the file is left alone.
setup_change="mkdir -p config && garbage ini config/tavolex.ini" setup_case ini-garbage check_result=2
escape_ends "garbage tavolex.ini" "${result_title[cn]}"
unchanged "garbage tavolex.ini" "$dir/config/tavolex.ini" "$work/garbage.orig"
setup_change="mkdir -p config/tavolex.ini" setup_case ini-folder check_result=2
escape_ends "tavolex.ini as a folder" "${result_title[cn]}"
check "tavolex.ini as a folder: still a folder" test -d "$dir/config/tavolex.ini"

# 3. Skin damage below the window's own layout: the window opens anyway, the
# affected control stays empty.
for damage in "picture:rm ok.png logo.png" "sub-layout-missing:rm checkresult.xml" \
    "sub-layout-broken:printf '<VerticalLayout><Label text=\"x\"></VerticalLayout' >checkheader.xml"; do
    setup_change="cd skin_tavolex_en && ${damage#*:}" setup_case "skin-${damage%%:*}" lang=en check_result=2
    escape_ends "skin with a ${damage%%:*} fault"
done

# Report mode: one whole check without windows (the same check as the start
# window's, and the same log). Passes when the check ends with a check result
# and writes its report.
report_case() { # description dir
    start_app "$2" lang=en "report=$("$wine" winepath -w "$2")\\report.json"
    wait_for_exit 180
    expect_report_answer "$1: the check ends with its answer and writes its report" "$2/report.json"
}

# Escape on the result window if there is one, else on the start window;
# true once the program has ended.
close_start_or_result() { # start-window-id
    local result
    result="$(find_window "${result_title[en]}")"
    press_key "${result:-$1}" Escape 2>/dev/null
    app_ended
}

# 4. A file stands where the log folder should be: the check runs, nothing is
# logged, and the file is left as it was.
start_reference_service
seed_stored_config
rm -rf "$logs"
printf 'not a folder\n' >"$logs"
cp "$logs" "$work/logs.orig"
report_case "log folder blocked" "$(prepare_app log-blocked)"
check "log folder blocked: still a file" test -f "$logs"
unchanged "log folder blocked: the file in its place" "$logs" "$work/logs.orig"
settle
windowed_check "log folder blocked, windowed check" "$(prepare_app log-blocked-window)"
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
report_case "read-only updates folder" "$(prepare_app updates-read-only)"
unchanged "read-only updates folder: the old configuration" "$stored" "$work/stored.orig"
chattr -i "$stored" "$updates" 2>/dev/null
chmod -R u+w "$updates"

# 6. A service that sends 50 MB, trickles, or resets mid-body: the start
# window stays responsive and closing it ends the program with 0 at once;
# the stored configuration is whole.
for mode in huge slow reset; do
    seed_stored_config
    service_script="$(dirname "$0")/hostile_service.py" start_service --mode "$mode"
    settle
    start_app "$(prepare_app "service-$mode")" lang=en
    if ! id="$(wait_for_window "${start_title[en]}" 60)"; then
        fail "service sends $mode: no start window"
    elif ! press_start "$id"; then
        fail "service sends $mode: the start button never reached the service"
    else
        # The check is under way; it may also have finished meanwhile, and
        # then its result window is the one to close.
        poll_until 30 close_start_or_result "$id" || fail "service sends $mode: Escape had no effect"
    fi
    expect_end "service sends $mode: closing ends the program" 0 15
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
first_output=$app_output
first="$(wait_for_window "${start_title[en]}" 60)"
start_app "$(prepare_app twin-2)" lang=en
second_pid=$app_pid
second="$(wait_for_window "${start_title[en]}" 60)"
# Both open centred, the second over the first: its button first, then the
# first window's (deliver_input raises it).
if [ -n "$first" ] && [ -n "$second" ] && press_start "$second" && press_start "$first"; then
    pass "two checks at once: both start windows reached the service"
    both_results() {
        first_result="$(find_window "${result_title[en]}" "$first_pid")"
        second_result="$(find_window "${result_title[en]}" "$second_pid")"
        [ -n "$first_result" ] && [ -n "$second_result" ]
    }
    if poll_until 180 both_results; then
        pass "two checks at once: two result windows"
        press_key "$first_result" Escape "$first_pid" || fail "two checks at once: the first result window stays"
        press_key "$second_result" Escape "$second_pid" || fail "two checks at once: the second result window stays"
    else
        fail "two checks at once: result windows ${first_result:-missing} and ${second_result:-missing}"
    fi
else
    fail "two checks at once: start windows ${first:-missing} and ${second:-missing} did not both start"
fi
twin_witness="$witnessed"
wait_for_exit 60
witnessed="$twin_witness"
expect_exit "two checks at once: the second ends" 0
app_pid=$first_pid
app_output=$first_output
wait_for_exit 60
witnessed="$twin_witness"
expect_exit "two checks at once: the first ends" 0
bad="$(tr -d '\r' <"$log" | grep -cvE $'^$|^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\t')"
check "two checks at once: every log line is whole ($bad broken)" test "$bad" -eq 0
starts="$(grep -c 'Start work' "$log")"
check "two checks at once: both runs logged ($starts \"Start work...\")" test "$starts" -eq 2
check "two checks at once: the configuration file is the served document" cmp -s "$stored" "$served"

finish
