#!/usr/bin/env bash
# Keyboard use of the real exe under Wine, with real key presses (xdotool):
# Tab and Shift+Tab through the buttons and links in layout order, Enter and
# Space give the setup buttons' exit codes, Enter with nothing focused does
# nothing, Alt+F4 closes as before, a link never starts a page handler from
# the program itself, and in check mode Tab then Enter starts the check.
# Where a screen reader in another process can read the window, the focus is
# followed after every key press.
# Usage: keyboard_e2e.sh <folder of TavolexCheck.exe, acc_client.exe and skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"

result_class=CheckResult_Wnd
start_class=StartCheck_Wnd
msaa=0

# The focusable objects in tree order: the layout order a reader sees.
focus_order() { # class
    acc tree "$1" | sed -n 's/^ *\(button\|link\) "\(.*\)" [^ ]*focusable.*$/\2/p'
}

# Presses Tab (or Shift+Tab) until the named object has the focus; at most
# `limit` presses. Follows the focus with the reader when it can; a lost key
# press only costs one more press.
tab_to() { # window-id class name limit [shift]
    local key=Tab i
    [ "${5:-}" = shift ] && key=shift+Tab
    for i in $(seq 1 "$4"); do
        xdotool key "$key"
        if [ "$msaa" = 1 ]; then
            wait_for_focus "$2" "$3" 2 2>/dev/null && return 0
        fi
    done
    [ "$msaa" = 1 ] && return 1
    return 0
}

# Sends a key to the focused button until the program has ended.
press_to_end() { # window-id key
    deliver_input "$1" app_ended -- xdotool key "$2"
}

# 1. Setup window, verdict 0 (buttons "Exit setup" and "Install anyway").
setup_case tab-order lang=en check_result=0
if setup_window "setup"; then
    activate_window "$id"
    msaa=0
    if msaa_across_processes "$result_class"; then msaa=1; fi
    if [ "$msaa" = 1 ]; then
        mapfile -t order < <(focus_order "$result_class")
        check "setup: nothing is focused at first" test "$(acc focus "$result_class")" = "(none)"
        check "setup: the last tab stops are the installer's buttons" \
            test "${order[*]: -2}" = "Exit setup Install anyway"
        # Enter with nothing focused does nothing: the window stays, and the
        # next Tab still starts at the first stop.
        xdotool key Return
        xdotool key Tab
        if wait_for_focus "$result_class" "${order[0]}" 10; then
            pass "setup: Enter with nothing focused did nothing; Tab went to \"${order[0]}\""
        else
            fail "setup: after Enter and Tab the focus is not on \"${order[0]}\""
        fi
        seen=("${order[0]}")
        for ((i = 1; i <= ${#order[@]}; i++)); do
            xdotool key Tab
            want="${order[$((i % ${#order[@]}))]}"
            wait_for_focus "$result_class" "$want" 10 && seen+=("$want") || seen+=("?")
        done
        check "setup: Tab follows the layout (${order[*]}) and wraps" \
            test "${seen[*]}" = "${order[*]} ${order[0]}"
        xdotool key shift+Tab
        check "setup: Shift+Tab goes back over the start" \
            wait_for_focus "$result_class" "${order[$((${#order[@]} - 1))]}" 10
        check "setup: Tab reaches \"Exit setup\"" tab_to "$id" "$result_class" "Exit setup" 10
    else
        skip_part "no screen reader access across processes on this Wine build; focus not followed"
        # Nothing focused: Shift+Tab lands on "Install anyway", one more on
        # "Exit setup" (the layout's last two stops).
        xdotool key shift+Tab shift+Tab
    fi
    press_to_end "$id" Return || fail "setup: Enter did not end the program"
fi
expect_end "setup: Enter on \"Exit setup\"" 5
case_ran

# 2. Shift+Tab to "Install anyway", then Space.
setup_case shift-tab lang=en check_result=0
if setup_window "setup"; then
    activate_window "$id"
    check "setup: Shift+Tab reaches \"Install anyway\"" \
        tab_to "$id" "$result_class" "Install anyway" 1 shift
    press_to_end "$id" space || fail "setup: Space did not end the program"
fi
expect_end "setup: Space on \"Install anyway\"" 0
case_ran

# 3. Alt+F4 closes the setup window as before: no answer, exit code 0.
setup_case alt-f4 lang=en check_result=3
if setup_window "alt+F4"; then
    activate_window "$id"
    xdotool key Tab
    press_to_end "$id" alt+F4 || fail "alt+F4: the window stays"
fi
expect_end "setup: Alt+F4" 0
case_ran

# 4. A link followed with the keyboard while a handler is registered for
# http pages: the program (elevated under Wine) never starts it itself, the
# window stays, and Escape still ends it with exit code 0.
register_http_handler
setup_case link lang=en check_result=0
if setup_window "setup"; then
    check "setup: Enter on \"Tavolex website\" (the desktop shell takes it or the box comes)" \
        follow_website_link "$id" "$dir"
    press_key "$id" Escape || fail "setup: Escape after the link did not close the window"
fi
expect_end "setup: Escape after following a link" 0
restore_http_handler
case_ran

# 5. Check mode: Tab then Enter starts the check; the result window's tab
# order follows its layout.
settle
start_service --document "$src/config/checkerconfig.json"
dir="$(prepare_app check)"
start_app "$dir" lang=en
if id="$(wait_for_window "${start_title[en]}" 60)"; then
    activate_window "$id"
    check "start: Tab reaches \"Start check\"" tab_to "$id" "$start_class" "Start check" 1
    asked="$(clock_requests)"
    # Once the check has started, Return on the waiting page does nothing.
    deliver_input "$id" clock_requests_beyond "$asked" -- xdotool key Return ||
        fail "start: Enter did not start the check"
    if rid="$(wait_for_window "${result_title[en]}" 120)"; then
        pass "start: Enter started the check and the result window came"
        activate_window "$rid"
        if [ "$msaa" = 1 ]; then
            mapfile -t order < <(focus_order "$result_class")
            check "result: links in layout order" \
                test "${order[*]: -2}" = "Help and FAQ Tavolex website"
            seen=()
            for want in "${order[@]}"; do
                xdotool key Tab
                wait_for_focus "$result_class" "$want" 10 && seen+=("$want") || seen+=("?")
            done
            check "result: Tab follows the layout (${order[*]})" test "${seen[*]}" = "${order[*]}"
        fi
        press_key "$rid" Escape || fail "result: Escape did not close the window"
    else
        fail "start: Tab and Enter did not start the check"
    fi
else
    fail "check mode: no start window"
fi
expect_end "check mode ends" 0 60
case_ran
stop_service

expect_cases 5
finish
