#!/usr/bin/env bash
# An elevated run against what a standard user can plant, end to end: the real
# exe under Wine (which runs every program as an administrator) with links
# where the program keeps its files. Wine 8 makes no junctions, so Unix
# symbolic links inside the prefix stand in for them (Wine shows one to a
# folder as a directory with FILE_ATTRIBUTE_REPARSE_POINT), besides hard
# links. Whatever a link points at must come out untouched, and each run must
# end as it always does. Also: the registry is left as found, and an
# executable path beyond 260 characters still finds its own skins.
# Usage: elevated_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"

served="$here/report_pass_games.json"
# What the links point at: inside the prefix, where a user could make them.
targets="$WINEPREFIX/drive_c/tvx-planted"

# The prefix's own ORMEX folder is put back at the end. `rm -rf` on a link
# removes the link only (no trailing slash, which would follow it).
saved="$work/saved"
mkdir -p "$saved"
[ -e "$data" ] || [ -L "$data" ] && mv "$data" "$saved/ORMEX"
restore_prefix() {
    stop_service
    rm -rf "$data" "$targets"
    { [ -e "$saved/ORMEX" ] || [ -L "$saved/ORMEX" ]; } && mv "$saved/ORMEX" "$data"
    e2e_cleanup
}
trap restore_prefix EXIT
trap 'exit 143' TERM INT

# Every name below a folder, its kind, size and bytes: to show nothing changed.
tree_of() { # folder
    (cd "$1" && find . -printf '%p %y %s %l\n' | sort && find . -type f -exec md5sum {} + | sort)
}
unchanged() { # description folder saved-tree
    if [ "$(tree_of "$2")" = "$3" ]; then
        pass "$1: the link's target is untouched"
    else
        fail "$1: the link's target changed: $(diff <(echo "$3") <(tree_of "$2"))"
    fi
}

# A copy of the exe whose offline configuration fails every machine: an
# answer of 0 then shows that the downloaded or planted one was not used.
prepare_failing_app() { # case-name
    local dir
    dir="$(prepare_app "$1")"
    mkdir -p "$dir/config"
    cp "$here/report_fail_all.json" "$dir/config/checkerconfig.json"
    echo "$dir"
}

report_run() { # description dir [expected-code [report-name]]
    start_app "$2" lang=en "report=${4:-report.json}"
    wait_for_exit 180
    expect_report_answer "$1" "$2/${4:-report.json}" "${3:-}"
}
fresh_ormex() {
    rm -rf "$data" "$targets"
    mkdir -p "$data" "$targets"
}

start_service --document "$served"
settle

# 0. Without links the served configuration (which passes a 64-bit system
# with 4 GB) decides: games. Later answers of 0 then come from the fallback.
fresh_ormex
dir="$(prepare_failing_app control)"
report_run "control: an answer, and its report" "$dir"
check "control: the served configuration gives games ($exit_code); else this machine cannot pass it" \
    test "$exit_code" -ge 2 -a "$exit_code" -le 3
check "control: the log is kept" test -s "$data/Logs/Tavolex.log"

# 1. The log folder is a link: no log for this run, nothing written through
# it, the rest of the check unchanged (the configuration is stored).
fresh_ormex
mkdir -p "$targets/logs"
printf 'somebody else'"'"'s file\r\n' >"$targets/logs/Tavolex.log"
ln -s "$targets/logs" "$data/Logs"
before="$(tree_of "$targets")"
dir="$(prepare_failing_app logs-link)"
report_run "log folder a link: an answer, and its report" "$dir"
check "log folder a link: games as in the control ($exit_code)" test "$exit_code" -ge 2 -a "$exit_code" -le 3
unchanged "log folder a link" "$targets" "$before"
check "log folder a link: still the link" test -L "$data/Logs"
check "log folder a link: the configuration is still stored" cmp -s "$data/updates/tavolex/checkerconfig.json" "$served"

# The same through the windows: start, result, closed with Escape.
settle
windowed_check "log folder a link, windowed check" "$(prepare_failing_app logs-link-window)"
unchanged "log folder a link, windowed check" "$targets" "$before"

# 2. The updates folder is a link to a folder holding a configuration that
# would pass: nothing is stored there, and it is not used either.
fresh_ormex
mkdir -p "$data/updates" "$targets/updates"
{ cat "$served"; printf '\n// planted\n'; } >"$targets/updates/checkerconfig.json"
ln -s "$targets/updates" "$data/updates/tavolex"
before="$(tree_of "$targets")"
dir="$(prepare_failing_app updates-link)"
report_run "updates folder a link: the offline configuration decides" "$dir" 0
unchanged "updates folder a link" "$targets" "$before"
check "updates folder a link: the log is kept" test -s "$data/Logs/Tavolex.log"

# 3. ORMEX itself is a link: neither folder is made inside its target.
rm -rf "$data" "$targets"
mkdir -p "$targets/ormex"
ln -s "$targets/ormex" "$data"
before="$(tree_of "$targets")"
dir="$(prepare_failing_app ormex-link)"
report_run "ORMEX a link: the offline configuration decides" "$dir" 0
unchanged "ORMEX a link" "$targets" "$before"
rm -f "$data"

# 4. Links where the files belong: the log a symbolic link, the
# configuration a hard link, temporary names planted (the names an earlier
# version used, as a link and as a file).
fresh_ormex
mkdir -p "$data/Logs" "$data/updates/tavolex" "$targets/files"
printf 'log target\r\n' >"$targets/files/victim.log"
printf 'configuration target\r\n' >"$targets/files/victim.json"
printf 'temporary target\r\n' >"$targets/files/victim.tmp"
ln -s "$targets/files/victim.log" "$data/Logs/Tavolex.log"
ln "$targets/files/victim.json" "$data/updates/tavolex/checkerconfig.json"
ln -s "$targets/files/victim.tmp" "$data/updates/tavolex/checkerconfig.json.1234-5678.tmp"
printf 'planted\r\n' >"$data/updates/tavolex/checkerconfig.json.tmp"
before="$(tree_of "$targets")"
planted="$(tree_of "$data/updates/tavolex")"
dir="$(prepare_failing_app file-links)"
report_run "file links: the offline configuration decides" "$dir" 0
unchanged "file links" "$targets" "$before"
if [ "$(tree_of "$data/updates/tavolex")" = "$planted" ]; then
    pass "file links: the updates folder is as planted, no temporary file left"
else
    fail "file links: the updates folder changed: $(diff <(echo "$planted") <(tree_of "$data/updates/tavolex"))"
fi

# A dangling link where the log belongs: its target is not created.
rm -f "$data/Logs/Tavolex.log"
ln -s "$targets/files/created-through-the-link.log" "$data/Logs/Tavolex.log"
dir="$(prepare_failing_app dangling-log)"
report_run "dangling log link: the check ends with an answer" "$dir"
check "dangling log link: nothing created at its target" test ! -e "$targets/files/created-through-the-link.log"

# 5. The report file itself a link (report= names a file somebody planted):
# the report replaces the link, the file it pointed at keeps its bytes.
fresh_ormex
mkdir -p "$targets/report"
printf 'report target\r\n' >"$targets/report/victim.json"
printf 'report target 2\r\n' >"$targets/report/victim2.json"
before="$(tree_of "$targets")"
dir="$(prepare_failing_app report-links)"
ln -s "$targets/report/victim.json" "$dir/symbolic.json"
ln "$targets/report/victim2.json" "$dir/hard.json"
for name in symbolic.json hard.json; do
    report_run "report file $name: the check ends with an answer" "$dir" "" "$name"
    check "report file $name: now a file of its own holding the report" \
        python3 -c 'import json, os, sys; p = sys.argv[1]
sys.exit(0 if not os.path.islink(p) and os.stat(p).st_nlink == 1 and "check_result" in json.load(open(p)) else 1)' "$dir/$name"
done
unchanged "report file links" "$targets" "$before"

# 5b. A link as the report's folder, or further up its path: nothing is
# written where it points, the log says why, and the exit code is 10. The
# same path through plain folders gets its report.
fresh_ormex
mkdir -p "$targets/report-folder/sub"
before="$(tree_of "$targets")"
dir="$(prepare_failing_app report-folders)"
mkdir -p "$dir/real" "$dir/plain/sub"
ln -s "$targets/report-folder" "$dir/out"
ln -s "$targets/report-folder" "$dir/real/link"
for report in 'out\report.json' 'real\link\sub\report.json'; do
    first="$(log_lines)"
    start_app "$dir" lang=en "report=$report"
    wait_for_exit 180
    if new_log "$first" | grep -qF "write report failed. file=$report error=1920"; then
        witness "the log line about $report"
    fi
    expect_exit "report through a link ($report): nothing written" 10
done
unchanged "report folders through links" "$targets" "$before"
start_app "$dir" lang=en 'report=plain\sub\report.json'
wait_for_exit 180
expect_report_answer "report through plain folders" "$dir/plain/sub/report.json"

# 5c. Folders planted where the log and the configuration belong (Windows
# lets no user make them; an older version's folders did): the check ends as
# usual, without a log and without storing the download.
fresh_ormex
mkdir -p "$data/Logs/Tavolex.log" "$data/updates/tavolex/checkerconfig.json"
dir="$(prepare_failing_app planted-folders)"
report_run "planted folders: the offline configuration decides" "$dir" 0
check "planted folders: still empty folders, nothing logged or stored" \
    test -z "$(find "$data/Logs/Tavolex.log" "$data/updates/tavolex/checkerconfig.json" -mindepth 1)"

# 5d. Creation races: while runs create the chain, the updates folder is
# swapped for a link and back, again and again. Nothing is ever created
# where the link points.
stop_service
fresh_ormex
mkdir -p "$targets/race"
swap_updates() {
    while :; do
        # -T: never a link inside a folder the program made meanwhile.
        rm -rf "$data/updates" && ln -sT "$targets/race" "$data/updates" 2>/dev/null
        rm -f "$data/updates" 2>/dev/null && mkdir -p "$data/updates"
    done
}
swap_updates &
swapper=$!
reports=0
for try in $(seq 1 25); do
    dir="$(prepare_failing_app "race-$try")"
    start_app "$dir" lang=en report=report.json
    wait_for_exit 180
    [ -n "$crash_line" ] && fail "race $try: the program crashed: $crash_line"
    [ -f "$dir/report.json" ] && reports=$((reports + 1))
    [ -z "$(ls -A "$targets/race")" ] || break
done
kill "$swapper" 2>/dev/null
wait "$swapper" 2>/dev/null
check "creation races: every run ended with its report ($reports of $try)" test "$reports" = "$try"
check "creation races: nothing created through the link in $try runs" test -z "$(ls -A "$targets/race")"
rm -f "$data/updates" 2>/dev/null
start_service --document "$served"

# 6. The registry is left as found: no key exists after a check that did not
# exist before (opening the SteamVR key with create semantics would leave an
# empty HtcVive key in the 32-bit view wherever it was allowed to write). Wine saves the registry when its
# server stops, which settle waits for.
registry_keys() {
    cat "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" | sed -n 's/^\(\[[^]]*\]\).*/\1/p' | sort
}
if ! "$wine" reg query 'HKLM\Software\HtcVive' /reg:32 2>/dev/null | grep -q StandaloneSteamVRInstalled; then
    "$wine" reg delete 'HKLM\Software\HtcVive' /f /reg:32 >/dev/null 2>&1
fi
settle
keys_before="$(registry_keys)"
dir="$(prepare_failing_app registry)"
report_run "registry: the check ends with an answer" "$dir"
settle
added="$(comm -13 <(echo "$keys_before") <(registry_keys))"
if [ -z "$added" ]; then
    pass "registry: no key was added by a check"
else
    fail "registry: keys added: $added"
fi

# 7. An executable path beyond 260 characters: setup mode finds its stored
# result and skins beside the exe, not in the current directory, which here
# holds a broken copy of the skin; without skins beside it, the error box
# shows even though the current directory has good ones.
stop_service
long="$work/$(printf 'a%.0s' $(seq 1 70))/$(printf 'b%.0s' $(seq 1 70))/$(printf 'c%.0s' $(seq 1 70))/$(printf 'd%.0s' $(seq 1 40))"
mkdir -p "$long/with-skins" "$long/without-skins" "$work/decoy" "$work/good"
cp "$bin/TavolexCheck.exe" "$long/with-skins/"
cp -r "$bin/skin_tavolex_en" "$long/with-skins/"
write_result_file "$long/with-skins"
cp "$bin/TavolexCheck.exe" "$long/without-skins/"
cp -r "$bin/skin_tavolex_en" "$work/decoy/"
cp -r "$bin/skin_tavolex_en" "$work/good/"
printf '<Window' >"$work/decoy/skin_tavolex_en/checkresult_setupwnd.xml"
settle
setup_from="$work/decoy" setup_case "$long/with-skins" lang=en check_result=2
close_with_key "long path: the setup window opens with the skins beside the exe, Escape ends it" \
    "${result_title[en]}" Escape 0
settle
start_program "$work/good" "$long/without-skins/TavolexCheck.exe" lang=en
close_with_key "long path without skins: the error box, not the current directory's skin" \
    "$error_box_title" Return 1

finish
