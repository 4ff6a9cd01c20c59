#!/usr/bin/env bash
# Screen readers, end to end: a reader in another process (acc_client.exe,
# through AccessibleObjectFromWindow) walks the setup window in each
# language, checks the title, the two buttons and a row's verdict cells,
# presses "Exit setup" by its default action (exit code 5), and keeps
# objects past the window's end without harm to either side. 64-bit Wine
# 8.0 gives no objects to other processes: then this exits 77 (skipped) and
# the win_tests' in-process walk is all there is.
# Usage: accessibility_e2e.sh <folder of TavolexCheck.exe, acc_client.exe and skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"

class=CheckResult_Wnd
# The window titles: string 117 of each language.
declare -A title=([cn]='检测结果' [en]='Testing Result' [jp]='テスト結果')
# The sample result's processor, judged supported for games and video.
cpu="$(sed -n 's/^cpu=//p' "$sample_result" | tr -d '\r')"

# The lines of the tree from the row naming `needle` to the row's end.
row_block() { # tree-file needle
    awk -v needle="$2" '
        found && /^  [^ ]/ { exit }
        found { print }
        !found && index($0, needle) && /^  group / { found = 1; print }' "$1"
}

for lang in en cn jp; do
    setup_case "reader-$lang" "lang=$lang" check_result=3
    if ! setup_window "$lang" "$lang"; then
        wait_for_exit 10
        continue
    fi
    if ! msaa_across_processes "$class"; then
        skip_part "this Wine build gives no accessible objects to other processes ($(acc tree "$class" | head -1)); the win_tests walk the tree in-process"
        press_key "$id" Escape
        wait_for_exit 30
        finish
    fi
    acc tree "$class" >"$dir.tree.txt"
    games="$(skin_text "$lang" COL_GAMES)"
    video="$(skin_text "$lang" COL_VIDEO)"
    yes="$(skin_text "$lang" TXT_SUPPORTED)"
    check "$lang: the client reads as the window title" \
        grep -qx "client \"${title[$lang]}\" .*" "$dir.tree.txt"
    for key in BTN_EXIT BTN_CONTINUE; do
        name="$(skin_text "$lang" "$key")"
        check "$lang: \"$name\" is a focusable push button" \
            grep -q "^  button \"$name\" [^ ]*focusable" "$dir.tree.txt"
    done
    row="$(row_block "$dir.tree.txt" "$cpu, $games: $yes, $video: $yes\"")"
    # The row, its label, and per column a group with an icon and a text.
    cells="$(echo "$row" | sed 's/" [^"]*$/"/')"
    expected="$(printf '  group "%s"\n    text "%s"\n    group "%s"\n      graphic "%s"\n      text "%s"\n    group "%s"\n      graphic "%s"\n      text "%s"' \
        "$(echo "$row" | head -1 | sed 's/^  group "\(.*\)" .*/\1/')" "$(echo "$row" | sed -n '2s/^    text "\(.*\)" .*/\1/p')" \
        "$games: $yes" "$yes" "$yes" "$video: $yes" "$yes" "$yes")"
    if [ -n "$row" ] && [ "$cells" = "$expected" ] && [[ "$(echo "$row" | sed -n 2p)" == *"$cpu"* ]]; then
        pass "$lang: the processor row reads \"$(echo "$row" | head -1 | sed 's/^  group "\(.*\)" .*/\1/')\" with its four verdict cells"
    else
        fail "$lang: the processor row is not as expected; it reads:"
        echo "$row"
    fi
    exit_name="$(skin_text "$lang" BTN_EXIT)"
    if acc press "$class" "$exit_name" && poll_until 30 app_ended; then
        witness "the default action of \"$exit_name\", through the reader"
    else
        fail "$lang: \"$exit_name\" pressed by its default action did not end the program"
    fi
    expect_end "$lang: the default action of \"$exit_name\"" 5
    case_ran
done

# A reader holding objects when the window goes: its calls fail cleanly, and
# the program ends as usual.
setup_case outlive lang=en check_result=3
if setup_window "outlive"; then
    acc outlive "$class" >"$work/outlive.txt" &
    reader=$!
    poll_until 10 grep -q holding "$work/outlive.txt" || fail "reader holds objects: the reader took no objects"
    press_key "$id" Escape || fail "reader holds objects: Escape did not close the window"
    expect_end "reader holds objects: the program still ends" 0
    poll_until 60 eval '! kill -0 "$reader" 2>/dev/null' || fail "reader holds objects: the reader does not end"
    wait "$reader"
    status=$?
    if [ "$status" = 0 ] && grep -q "window gone: 1" "$work/outlive.txt"; then
        pass "reader holds objects: its calls fail cleanly ($(tail -1 "$work/outlive.txt"))"
    else
        fail "reader holds objects: exit $status, $(cat "$work/outlive.txt")"
    fi
    case_ran
else
    wait_for_exit 10
fi

expect_cases 4
finish
