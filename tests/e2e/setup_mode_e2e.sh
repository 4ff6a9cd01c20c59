#!/usr/bin/env bash
# Runs the real TavolexCheck.exe in setup mode under Wine on the test screen
# and drives it like a user: Escape, a click on a setup button, Ctrl+C (the
# findings on the X clipboard, in English and Japanese), and a broken and a
# missing layout file (error box, exit code 1).
# Usage: setup_mode_e2e.sh <folder of TavolexCheck.exe and the skins>
set -uo pipefail
bin="$1"
source "$(dirname "$0")/lib.sh"

# 1. Escape closes the setup window: exit code 0.
setup_case escape lang=en check_result=0
close_with_key "setup mode, Escape" "${result_title[en]}" Escape 0

# 2. A real click on "btn_setup_exit2" (verdict 0 shows it): exit code 5.
setup_case click lang=en check_result=0
click_setup_exit "setup mode, click on btn_setup_exit2" btn_setup_exit2

# 3. Ctrl+C copies the findings as text in the window's language: Wine puts
# it on the X clipboard while the program runs. Checked against the skin's
# words and the sample result file, line by line.
clipboard() { xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
findings_copied() { # lang title
    local text games video yes answer
    text="$(clipboard)"
    games="$(skin_text "$1" COL_GAMES)" video="$(skin_text "$1" COL_VIDEO)" yes="$(skin_text "$1" TXT_SUPPORTED)"
    answer="$(skin_text "$1" RESULT3_TITLE)"$'\n'"$(skin_text "$1" RESULT3_TEXT)"
    [ "$(printf '%s\n' "$text" | wc -l)" = 11 ] &&
        [ "$(printf '%s\n' "$text" | head -1)" = "$2" ] &&
        printf '%s\n' "$text" | grep -qxF "CPU: Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz, $games: $yes, $video: $yes" &&
        [ "$(printf '%s\n' "$text" | tail -2)" = "$answer" ]
}
for lang in en jp; do
    setup_case "copy_$lang" "lang=$lang" check_result=3
    title="${result_title[$lang]#^}"
    title="${title%$}"
    if setup_window "setup mode, Ctrl+C ($lang)" "$lang"; then
        if deliver_input "$id" findings_copied "$lang" "$title" -- xdotool key ctrl+c; then
            pass "setup mode, Ctrl+C copies the findings ($lang)"
            clipboard | sed 's/^/    /'
        else
            fail "setup mode, Ctrl+C ($lang): the clipboard holds: $(clipboard)"
        fi
        press_key "$id" Escape || fail "setup mode, Ctrl+C ($lang): Escape did not close the window"
    fi
    expect_end "setup mode, Ctrl+C ($lang), then Escape" 0
done

# 4. A broken and a missing layout: the toolkit's error box "ORMEX", then
# exit code 1.
layout=skin_tavolex_en/checkresult_setupwnd.xml
setup_change="printf '<Window><VerticalLayout></Window>' >$layout" setup_case broken lang=en check_result=2
close_with_key "broken layout file: the error box, then" '^ORMEX$' Return 1
setup_change="rm $layout" setup_case missing lang=en check_result=2
close_with_key "missing layout file: the error box, then" '^ORMEX$' Return 1

finish
