#!/usr/bin/env bash
# Small screens: the tallest setup window (two graphics adapters) on Xvfb
# screens of 1366x768 and 1024x768, at 100 % and 150 %. The window fits the
# screen, both setup buttons are on it and answer a real click with 5 and
# 0, and the last component row can be scrolled into view (mouse wheel at
# 100 %, the End key at 150 %). Runs in a prefix of its own, whose display
# scale it sets. Pictures of each window are kept in $TVX_E2E_SHOTS if set.
# Usage: small_screen_e2e.sh <folder of TavolexCheck.exe, acc_client.exe and skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"
trap 'stop_screen; e2e_cleanup' EXIT

class=CheckResult_Wnd
# The setup layout's bottom bar, authored at 96 DPI: 106 px tall above a
# 1 px line, buttons 40 px tall, 24 px from the right edge, 12 px apart;
# the results area has a 10 px inset. The buttons' width is the skin's.
bar=106
line=1
inset=10
button_h=40
edge=24
gap=12
button_w="$(skin_text en BTN_SETUP_WIDTH)"
header=56

# Sets row_state and row_bottom for the SteamVR row, the last one.
read_last_row() {
    local line
    line="$(acc tree "$class" | grep -m1 '^  group "SteamVR')"
    row_state="$(echo "$line" | awk '{print $(NF-4)}')"
    row_bottom="$(echo "$line" | awk '{print $(NF-2) + $NF}')"
}

# True once the last row has moved from where read_last_row last saw it.
last_row_moved() { # bottom-before
    read_last_row
    [ "$row_bottom" != "$1" ]
}

# Scrolls until the last row is wholly above the bar; `how` is wheel or end.
# On these screens the row starts below it: a row already in view means the
# window did not need to scroll, which these cases are about. After each
# scroll the row is read until it has moved.
scroll_last_row_into_view() { # how
    local view_bottom=$((win_y + win_h - $(scaled $bar) - $(scaled $line) - $(scaled $inset))) i
    read_last_row
    for i in $(seq 1 40); do
        if [[ "$row_state" != *offscreen* ]] && [ "$row_bottom" -le "$view_bottom" ]; then
            [ "$i" -gt 1 ] && return 0
            echo "(the last row was in view before any scrolling)" >&2
            return 1
        fi
        if [ "$1" = wheel ]; then
            xdotool mousemove $((win_x + win_w / 2)) $((win_y + $(scaled $header) + 40)) click 5
        else
            xdotool key End
        fi
        poll_until 2 last_row_moved "$row_bottom"
    done
    echo "(last row: $row_state, bottom $row_bottom, view ends at $view_bottom)" >&2
    return 1
}

for screen in 1366x768 1024x768; do
    screen_w="${screen%x*}"
    screen_h="${screen#*x}"
    start_screen "$screen" || { fail "$screen: cannot start Xvfb"; continue; }
    for dpi in 96 144; do
        use_scaled_prefix "$dpi"
        for answer in exit continue; do
            what="$screen at $dpi DPI"
            setup_case "small-$screen-$dpi-$answer" lang=en check_result=3
            if ! setup_window "$what"; then
                wait_for_exit 10
                continue
            fi
            activate_window "$id"
            window_geometry "$id"
            if [ "$win_x" -ge 0 ] && [ "$win_y" -ge 0 ] && [ $((win_x + win_w)) -le "$screen_w" ] &&
                [ $((win_y + win_h)) -le "$screen_h" ]; then
                pass "$what: the ${win_w}x${win_h} window fits the screen"
            else
                fail "$what: the window ${win_w}x${win_h}+${win_x}+${win_y} leaves the screen"
            fi
            # The buttons' centres by the layout; a reader finds them too.
            y=$((win_y + win_h - $(scaled $bar) / 2))
            continue_x=$((win_x + win_w - $(scaled $edge) - $(scaled "$button_w") / 2))
            exit_x=$((continue_x - $(scaled "$button_w") - $(scaled $gap)))
            if [ "$answer" = exit ]; then name="Exit setup" x=$exit_x code=5; else name="Continue" x=$continue_x code=0; fi
            check "$what: \"$name\" is on the screen" \
                test $((x + $(scaled "$button_w") / 2)) -le "$screen_w" -a $((y + $(scaled $button_h) / 2)) -le "$screen_h"
            if msaa_across_processes "$class"; then
                read -r bx by bw bh state < <(acc locate "$class" "$name")
                if [ $((bx + bw / 2 - x)) -ge -2 ] && [ $((bx + bw / 2 - x)) -le 2 ] &&
                    [ $((by + bh / 2 - y)) -ge -2 ] && [ $((by + bh / 2 - y)) -le 2 ] &&
                    [[ "$state" != *offscreen* ]]; then
                    pass "$what: a screen reader finds \"$name\" there (${bw}x${bh}+$bx+$by)"
                else
                    fail "$what: a screen reader finds \"$name\" at ${bw}x${bh}+$bx+$by ($state), not at $x,$y"
                fi
                if [ "$answer" = exit ]; then
                    how=wheel
                    [ "$dpi" = 144 ] && how=end
                    check "$what: the last row scrolls into view ($how)" scroll_last_row_into_view "$how"
                fi
            else
                skip_part "no screen reader access across processes on this Wine build"
            fi
            capture_window "$id" "$dir.png"
            keep_picture "$dir.png" "setup_en_${screen}_${dpi}_$answer.png"
            deliver_input "$id" app_ended -- xdotool mousemove "$x" "$y" click 1 ||
                fail "$what: the click on \"$name\" did not end the program"
            expect_end "$what: a click on \"$name\"" "$code"
            case_ran
        done
    done
    settle
    stop_screen
done

expect_cases 8
finish
