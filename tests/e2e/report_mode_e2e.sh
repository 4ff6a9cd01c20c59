#!/usr/bin/env bash
# Report mode end to end: the real exe under Wine against the reference
# configuration service (reached through the proxy), run as an installer or a
# support script runs it. Served configurations drive this machine to each
# overall answer whatever Wine reports for its processor and adapter; a seeded
# standalone SteamVR tells 2 from 3. The report is checked against what WMI
# says about the machine, and the screen is watched for any window.
# Usage: report_mode_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

# A fresh Wine session: one left running by an earlier test has been seen to
# hand a stale Escape key press to the next window shown, which then closes
# at once. Let that test's programs end, then stop the idle session.
timeout 60 wineserver -w 2>/dev/null
wineserver -k 2>/dev/null
timeout 30 wineserver -w 2>/dev/null

# The standalone SteamVR as its installer leaves it: the flag in the 32-bit
# registry view (a 32-bit program's HKLM\Software) and the start program
# under the 32-bit Program Files. Only what this script made is removed.
program_files="$WINEPREFIX/drive_c/Program Files"
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && program_files="$WINEPREFIX/drive_c/Program Files (x86)"
steamvr_dir="$program_files/SteamVR"
seeded_flag=""
seeded_dir=""
seed_steamvr() {
    if [ -e "$steamvr_dir" ]; then
        echo "a SteamVR folder already exists: $steamvr_dir"
        return 1
    fi
    seeded_dir=1
    mkdir -p "$steamvr_dir/bin/win32" && : >"$steamvr_dir/bin/win32/vrstartup.exe" || return 1
    seeded_flag=1
    "$wine" reg add 'HKLM\Software\HtcVive' /v StandaloneSteamVRInstalled /t REG_DWORD /d 1 /f \
        /reg:32 >/dev/null 2>&1
}
unseed_steamvr() {
    if [ -n "$seeded_flag" ]; then
        "$wine" reg delete 'HKLM\Software\HtcVive' /v StandaloneSteamVRInstalled /f /reg:32 \
            >/dev/null 2>&1
        seeded_flag=""
    fi
    [ -n "$seeded_dir" ] && rm -rf "$steamvr_dir"
    seeded_dir=""
}
trap 'unseed_steamvr; e2e_cleanup' EXIT
trap 'exit 143' TERM INT

# The machine as WMI describes it, one property per query: Wine's wmic pads
# columns, and with several properties a header can run into the next one.
mkdir -p "$work/wmi"
for query in Win32_VideoController:Description Win32_VideoController:DriverVersion \
    Win32_OperatingSystem:Caption Win32_PhysicalMemory:Capacity Win32_Processor:Name; do
    "$wine" wmic path "${query%%:*}" get "${query#*:}" >"$work/wmi/${query#*:}.txt" 2>/dev/null </dev/null
done

# Runs the program to its end while watching the screen for any visible
# top-level window of it (hidden helper windows, such as the input method's,
# are no concern). Sets exit_code (124 when it had to be stopped) and shown
# (the names of the windows seen). Every window of this program is modal, so
# one that appears is seen here or keeps the program from ending; once one is
# seen the program is stopped.
window_or_end() {
    local ids id
    ids="$(xdotool search --onlyvisible --pid "$app_pid" --classname '^tavolexcheck\.exe$' 2>/dev/null)"
    for id in $ids; do
        shown="$shown [$(xdotool getwindowname "$id" 2>/dev/null)]"
    done
    [ -n "$ids" ] || app_ended
}
run_app() { # dir args...
    start_app "$@"
    shown=""
    poll_step=0.05 poll_until 120 window_or_end
    wait_for_exit 0
}

expect_log() { # case first-line fixed-text
    if new_log "$2" | grep -qF -- "$3"; then
        witness "the log line \"$3\""
        pass "$1: log has \"$3\""
    else
        fail "$1: log lacks \"$3\"; new lines were: $(new_log "$2")"
    fi
}

# The cases, one row each:
#   case | served document | copy | setup | language | report path | exit code | checks
# - served document: relative to the source folder; "-" keeps what is served.
# - copy of the exe: "new", "no-skins" (a copy without skins, which report
#   mode must not need), or the case whose copy to use again.
# - setup before the run, ';'-separated: "mkdir NAME" in the copy, "steamvr"
#   (a standalone SteamVR), or "-".
# - exit code: a number; "any" takes this machine's answer, whatever it is,
#   which "same" then asks for again.
# - checks, ';'-separated:
#   json [NAME=VALUE...]  a JSON report, complete, consistent with the exit
#                         code and with WMI, with these verdicts
#   stored                a stored-result report that equals the JSON report
#                         written before into the same copy
#   served                the served configuration was asked for in the
#                         case's language, downloaded and used
#   log TEXT              the log gained this line
#   no-check              no request reached the service, no check ran
# Every case also expects no window, nothing in the report's folder but the
# report, and for a written report "report written. file=PATH result=CODE".
run_case() { # case document copy setup lang path code checks
    local case="$1" document="$2" copy="$3" setup="$4" lang="$5" path="$6" code="$7" checks="$8"
    local dir action check folder before start end asked problems report="" json=""
    case "$copy" in
    new | no-skins)
        dir="$(prepare_app "$case")"
        [ "$copy" = no-skins ] && rm -rf "$dir"/skin_tavolex_*
        ;;
    *) dir="${copies[$copy]}" ;;
    esac
    copies[$case]="$dir"
    [ "$document" = - ] || start_service --document "$src/$document"
    IFS=';' read -ra actions <<<"$setup"
    for action in "${actions[@]}"; do
        case "$action" in
        "mkdir "*) mkdir -p "$dir/${action#mkdir }" ;;
        steamvr) seed_steamvr || fail "$case: could not seed a standalone SteamVR" ;;
        esac
    done
    [ "$code" = same ] && code="$any_code"

    folder="$dir"
    [[ "$path" == *\\* && "$path" != ?:* ]] && folder="$dir/${path%\\*}"
    local listed="$work/listed"
    ls -A "$folder" >"$listed" 2>/dev/null
    before="$(log_lines)"
    asked="$(service_request_count)"
    rm -f "$downloaded"
    start="$(date -u +%s)"
    run_app "$dir" "lang=$lang" "report=$path"
    end="$(date -u +%s)"
    [ "$code" = any ] && code="$exit_code" && any_code="$exit_code"

    IFS=';' read -ra checks <<<"$checks"
    for check in "${checks[@]}"; do
        check="${check# }"
        case "$check" in
        json*)
            report="$dir/${path//\\//}"
            json="$report"
            # shellcheck disable=SC2086 # the expected verdicts are words
            if problems="$(python3 "$here/report_checks.py" json "$work/wmi" "$report" "$exit_code" \
                "$lang" "$start" "$end" ${check#json})"; then
                witness "a complete JSON report"
                pass "$case: report complete and consistent with the machine"
            else
                fail "$case: report: $problems"
            fi
            ;;
        stored)
            report="$dir/$path"
            if problems="$(python3 "$here/report_checks.py" stored "$report" "${last_json[$copy]}")"; then
                witness "a complete stored result"
                pass "$case: UTF-16 LE with BOM, sixteen keys, same texts and verdicts as the JSON report"
            else
                fail "$case: stored result: $problems"
            fi
            ;;
        served)
            if sed -n "$((asked + 1)),\$p" "$service_log" | grep -q "/vuzozid/wscheckerconfig.*language=$lang" &&
                cmp -s "$downloaded" "$src/$document"; then
                pass "$case: the served configuration was asked for in \"$lang\" and used"
            else
                fail "$case: the served configuration was not used; requests: $(cat "$service_log")"
            fi
            ;;
        "log "*) expect_log "$case" "$before" "${check#log }" ;;
        no-check)
            check "$case: no request reached the service" test "$(service_request_count)" -eq "$asked"
            check "$case: no check ran" eval '! new_log "$before" | grep -q "Start work"'
            ;;
        esac
    done
    [ -n "$json" ] && last_json[$case]="$json"
    [ -n "$report" ] && expect_log "$case" "$before" "report written. file=$path result=$code"
    expect_exit "$case" "$code"
    if [ -z "$shown" ]; then pass "$case: no window appeared"; else fail "$case: windows appeared:$shown"; fi
    local extra
    extra="$(ls -A "$folder" | grep -vxF -f "$listed" -e "${path##*\\}")"
    check "$case: nothing else in the report's folder${extra:+: $extra}" test -z "$extra"
    unseed_steamvr
}

trim() { # text without leading and trailing blanks
    local text="${1#"${1%%[! ]*}"}"
    echo "${text%"${text##*[! ]}"}"
}

declare -A copies=() last_json=()
any_code=""
while IFS='|' read -r -u 3 case document copy setup lang path code checks; do
    run_case "$(trim "$case")" "$(trim "$document")" "$(trim "$copy")" "$(trim "$setup")" \
        "$(trim "$lang")" "$(trim "$path")" "$(trim "$code")" "$(trim "$checks")"
done 3<<'CASES'
json report       | config/checkerconfig.json      | new       | mkdir out dir  | en | out dir\report.json | any  | json; served
other extension   | config/checkerconfig.json      | no-skins  | -              | jp | findings.txt        | same | json; served
code 0            | tests/e2e/report_fail_all.json | new       | -              | en | report.json         | 0    | json cpu_game=1 cpu_video=1 os_support=2 mem_support=2 gpu1_game=2 gpu1_video=2 gpu2_game=2 gpu2_video=2 game_result=1 video_result=1; served
code 1            | tests/e2e/report_pass_video.json | new     | -              | en | report.json         | 1    | json cpu_game=1 cpu_video=2 os_support=2 mem_support=2 gpu1_video=2 gpu2_video=2 game_result=1 video_result=2; served
code 3            | tests/e2e/report_pass_games.json | new     | -              | en | report.json         | 3    | json cpu_game=2 cpu_video=2 os_support=2 mem_support=2 gpu1_game=2 gpu1_video=2 gpu2_game=2 gpu2_video=2 game_result=2 video_result=2 steamvr=1; served
stored result     | -                              | code 3    | -              | en | result.tvxcfg       | 3    | stored
code 2            | tests/e2e/report_pass_games.json | new     | steamvr        | en | report.json         | 2    | json game_result=2 steamvr=2; served; log steamvr: standalone exist.
unwritable drive  | -                              | new       | mkdir a folder | en | C:\no-such-folder-tvx\report.json | 10 | log write report failed. file=C:\no-such-folder-tvx\report.json error=3
unwritable folder | -                              | unwritable drive | -       | en | a folder            | 10   | log write report failed. file=a folder error=5
empty path        | -                              | unwritable drive | -       | en |                     | 87   | log report mode needs a file: report=PATH; no-check
CASES

# Codes 1 to 3 need a 64-bit system and 4 GB, which no list can replace.
if ! python3 -c '
import json, re, sys
r = json.load(open(sys.argv[1]))
sys.exit(not (r["display_info"]["os"].endswith("(64)")
              and int(re.match(r"\d+", r["display_info"]["memory"]).group()) >= 4))' \
    "${last_json[json report]}" 2>/dev/null; then
    fail "this machine cannot pass any configuration (needs a 64-bit system and 4 GB)"
fi
check "the folder the report could not replace stays empty" test -z "$(ls -A "${copies[unwritable drive]}/a folder")"
check "the seeded SteamVR is removed" eval '! "$wine" reg query "HKLM\\Software\\HtcVive" /v StandaloneSteamVRInstalled /reg:32 >/dev/null 2>&1 && [ ! -e "$steamvr_dir" ]'

# The stored result fed to setup mode: the installer lets the program write
# result.tvxcfg beside itself, then starts it with the code. Setup mode also
# wins over report mode, and then no check runs.
games_dir="${copies[code 3]}"
asked="$(service_request_count)"
before="$(log_lines)"
for args in "check_result=3 lang=en" "check_result=3 report=won.json lang=en"; do
    # shellcheck disable=SC2086 # the arguments are words
    setup_case "$games_dir" $args
    click_setup_exit "stored result in setup mode ($args): Exit setup gives its code" btn_setup_exit
done
check "setup mode wins: no report written" test ! -e "$games_dir/won.json"
check "setup mode: no request reached the service" test "$(service_request_count)" -eq "$asked"
check "setup mode: no check ran" eval '! new_log "$before" | grep -q "Start work"'

echo "report of this machine with the shipped configuration:"
cat "${last_json[json report]}"
echo
finish
