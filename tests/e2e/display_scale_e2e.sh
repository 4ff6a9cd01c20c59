#!/usr/bin/env bash
# Display scales: the real exe in a prefix of its own at 100 %, 150 % and
# 200 % (LogPixels 96, 144, 192) on a 2048x2048 Xvfb screen, large enough
# for every window at 200 %. Each window's client area is the authored size
# times the scale (within 2 px), the setup buttons too, and the 12 px column
# titles are drawn that much taller. Pictures are kept in $TVX_E2E_SHOTS if
# set.
# Usage: display_scale_e2e.sh <folder of TavolexCheck.exe, acc_client.exe and skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"
trap 'stop_screen; stop_service; e2e_cleanup' EXIT

class=CheckResult_Wnd
# Authored sizes (96 DPI) from the layouts: the windows, the setup buttons
# (width from the skin), and where the column titles sit in the result
# window: below the 56 px header, the 10 px inset, the 88 px verdict box and
# an 8 px gap, 20 px tall, 20 + 16 px in from either side.
setup_size=(720 913)
start_size=(560 360)
check_size=(720 676)
second_adapter=140
button=("$(skin_text en BTN_SETUP_WIDTH)" 40)
titles_top=$((56 + 10 + 88 + 8))
titles_height=20
titles_side=$((20 + 16))

near() { [ $(($1 - $2)) -ge -2 ] && [ $(($1 - $2)) -le 2 ]; }
expect_size() { # description width height want-width want-height
    if near "$2" "$(scaled "$4")" && near "$3" "$(scaled "$5")"; then
        pass "$1 is ${2}x$3 ($4x$5 at $dpi DPI)"
    else
        fail "$1 is ${2}x$3, not $(scaled "$4")x$(scaled "$5") ($4x$5 at $dpi DPI)"
    fi
}

# Windows draws a program that does not say it handles scaling itself as a
# stretched bitmap; the exe's manifest says so (Wine scales every program).
check "the exe declares per-monitor DPI awareness (v2, then v1)" \
    grep -qa 'PerMonitorV2, PerMonitor</dpiAwareness>' "$bin/TavolexCheck.exe"

start_screen 2048x2048 || { echo "cannot start Xvfb"; exit 1; }
start_service --document "$src/config/checkerconfig.json"
declare -A ink
for dpi in 96 144 192; do
    use_scaled_prefix "$dpi"
    percent=$((dpi * 100 / 96))

    # The setup window with two adapters, the tallest.
    setup_case "setup-$dpi" lang=en check_result=3
    if setup_window "$percent %"; then
        window_geometry "$id"
        expect_size "$percent %: the setup window" "$win_w" "$win_h" "${setup_size[@]}"
        if msaa_across_processes "$class"; then
            read -r _ _ bw bh _ < <(acc locate "$class" "Exit setup")
            expect_size "$percent %: \"Exit setup\"" "${bw:-0}" "${bh:-0}" "${button[@]}"
        else
            skip_part "no screen reader access across processes on this Wine build"
        fi
        capture_window "$id" "$dir.png"
        keep_picture "$dir.png" "setup_en_$percent.png"
        # The ink of the column titles ("Component  VR games  VR video").
        ink[$dpi]="$(convert "$dir.png" -crop "$((win_w - 2 * $(scaled $titles_side)))x$(scaled $titles_height)+$(scaled $titles_side)+$(scaled $titles_top)" \
            +repage -fuzz 15% -trim -format '%h' info: 2>/dev/null)"
        echo "column titles at $percent %: ${ink[$dpi]} px of ink"
        press_key "$id" Escape || fail "$percent %: Escape did not close the setup window"
    fi
    expect_end "$percent %: setup window closed" 0

    # Check mode: the start window, then the result of a check.
    dir="$(prepare_app "check-$dpi")"
    start_app "$dir" lang=en
    if id="$(wait_for_window "${start_title[en]}" 60)"; then
        window_geometry "$id"
        expect_size "$percent %: the start window" "$win_w" "$win_h" "${start_size[@]}"
        capture_window "$id" "$dir-start.png"
        keep_picture "$dir-start.png" "start_en_$percent.png"
        # The keyboard, whatever the scale puts the button: Tab reaches it,
        # Enter presses it; the check has started once the service is asked.
        asked="$(clock_requests)"
        deliver_input "$id" clock_requests_beyond "$asked" -- xdotool key Tab Return ||
            fail "$percent %: Tab and Enter did not start the check"
        if rid="$(wait_for_window "${result_title[en]}" 120)"; then
            window_geometry "$rid"
            # The window grows by a second adapter's rows; this machine's
            # adapters decide whether there is one.
            if near "$win_h" "$(scaled $((check_size[1] + second_adapter)))"; then
                expect_size "$percent %: the result window (two adapters)" "$win_w" "$win_h" \
                    "${check_size[0]}" $((check_size[1] + second_adapter))
            else
                expect_size "$percent %: the result window" "$win_w" "$win_h" "${check_size[@]}"
            fi
            capture_window "$rid" "$dir-result.png"
            keep_picture "$dir-result.png" "result_en_$percent.png"
            press_key "$rid" Escape || fail "$percent %: Escape did not close the result window"
        else
            fail "$percent %: the check gave no result window"
        fi
    else
        fail "$percent %: no start window"
    fi
    expect_end "$percent %: check mode ended" 0 60
    case_ran
done

expect_cases 3

# A 12 px text at 150 % and 200 % is drawn 1.5 and 2 times as tall.
ratio_between() { # dpi low high (percent of the 96 DPI ink)
    local r=$(( ${ink[$1]:-0} * 100 / ${ink[96]:-1} ))
    [ "$r" -ge "$2" ] && [ "$r" -le "$3" ]
}
check "column titles at 150 % are 1.5 times as tall (${ink[144]:-?} px against ${ink[96]:-?})" \
    ratio_between 144 130 170
check "column titles at 200 % are twice as tall (${ink[192]:-?} px against ${ink[96]:-?})" \
    ratio_between 192 175 225

finish
