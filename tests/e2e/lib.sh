# End-to-end tests of the real TavolexCheck.exe under Wine: the driving
# helpers of scripts/drive.sh, a private work folder per run, and verdicts.
# Source it after setting `bin` (the folder of the built exe and skins) and,
# for the reference service, `src`. Set copy_config=1 to give each copy the
# offline configuration as well.
#
# A case passes only on evidence: an exit code is judged only after the
# window it expects appeared and took the input (or the file it expects was
# written), and a crash fails whatever its exit code.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
source "$root/scripts/drive.sh"
use_wine_slot
: "${DISPLAY:?needs the test screen}"
: "${WINEPREFIX:?needs the test prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"

# What the program keeps in the prefix: its log and downloaded configuration.
data="$WINEPREFIX/drive_c/ProgramData/ORMEX"
log="$data/Logs/Tavolex.log"
downloaded="$data/updates/tavolex/checkerconfig.json"
log_lines() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
new_log() { tail -n +"$(($1 + 1))" "$log" 2>/dev/null | tr -d '\r'; }

source "$(dirname "${BASH_SOURCE[0]}")/screens.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/tvx-e2e.XXXXXX")"
failures=0
e2e_cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    restore_http_handler
    stop_service
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap e2e_cleanup EXIT

pass() { echo "PASS $1"; }
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}
check() { # description command...
    local what="$1"
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

on_crash() { fail "the program crashed: $crash_line"; }

# Records evidence other than input, such as a report file the program wrote.
witness() { # what
    witnessed="$1"
}

expect_exit() { # description expected
    if [ -n "$crash_line" ]; then
        fail "$1: exit code $exit_code after a crash ($crash_line)"
    elif [ -z "$witnessed" ]; then
        fail "$1: exit code $exit_code, but no window took input and nothing was written: that proves nothing"
    elif [ "$exit_code" != "$2" ]; then
        fail "$1: exit code $exit_code, expected $2 (after: $witnessed)"
    else
        pass "$1 (exit code $exit_code, after: $witnessed)"
    fi
}

# Waits for the program to end (30 s, or the seconds given), then judges it.
expect_end() { # description expected-code [seconds]
    wait_for_exit "${3:-30}"
    expect_exit "$1" "$2"
}

# A report-mode run is judged by its report: it must be JSON whose overall
# answer is the exit code, which must be an answer (0 to 3) or the one given.
expect_report_answer() { # description report-file [expected-code]
    if python3 -c 'import json, sys
sys.exit(json.load(open(sys.argv[1], encoding="utf-8"))["check_result"] != int(sys.argv[2]))' \
        "$2" "$exit_code" 2>/dev/null; then
        witness "$(basename "$2") saying $exit_code"
    fi
    if [ -z "${3:-}" ] && { [ "$exit_code" -lt 0 ] || [ "$exit_code" -gt 3 ]; }; then
        fail "$1: exit code $exit_code is no overall answer"
        return
    fi
    expect_exit "$1" "${3:-$exit_code}"
}

# A setup-mode case as an installer starts it: a fresh copy NAME with the
# sample stored result (an absolute folder is used as it is), changed by the
# shell text $setup_change run in it, started there (or from the folder
# $setup_from) with ARGS. Sets dir. The functions below judge the window.
setup_case() { # name-or-folder args...
    dir="$1"
    [[ "$1" == /* ]] || { dir="$(prepare_app "$1")" && write_result_file "$dir"; }
    [ -z "${setup_change:-}" ] || (cd "$dir" && eval "$setup_change") || fail "$1: cannot change it"
    shift
    local exe=./TavolexCheck.exe
    [ -z "${setup_from:-}" ] || exe="$dir/TavolexCheck.exe"
    start_program "${setup_from:-$dir}" "$exe" "$@"
}

# Waits for the setup window (English, or the language given); sets id.
setup_window() { # description [lang]
    id="$(wait_for_window "${result_title[${2:-en}]}" 60)" || { fail "$1: no setup window"; return 1; }
}

# The usual case: a window appears, a key closes it, the exit code is judged.
# Fails the case when no window appears or the key has no effect.
close_with_key() { # description title-regex key expected-code [seconds]
    local id
    if id="$(wait_for_window "$2" "${5:-60}")"; then
        press_key "$id" "$3" || fail "$1: $3 did not close the window"
    else
        fail "$1: no window titled $2"
    fi
    expect_end "$1" "$4"
}

# A setup window's "Exit setup" (btn_setup_exit, or btn_setup_exit2 on the
# page for verdict 0) clicked until the program ends.
click_setup_exit() { # description button
    local id
    if setup_window "$1" && { ! control_centre checkresult_setupwnd.xml "$2" ||
        ! click_until "$id" "$centre_x" "$centre_y" app_ended; }; then
        fail "$1: the click on $2 did not end the program"
    fi
    expect_end "$1" 5
}

# A whole check through the windows, as a user runs it: the start window,
# its button, the result window, closed with Escape, exit code 0.
windowed_check() { # description dir
    local id
    start_app "$2" lang=en
    if id="$(wait_for_window "${start_title[en]}" 60)" && press_start "$id" &&
        id="$(wait_for_window "${result_title[en]}" 180)"; then
        pass "$1: the check reaches the result window"
        press_key "$id" Escape || fail "$1: Escape did not close the result window"
    else
        fail "$1: the check did not reach the result window"
    fi
    expect_end "$1: closing the result window ends the program" 0
}

# A screen reader's view of the program's windows from another process
# (tests/tools/acc_client.cpp, built beside the exe). Output has no CRs.
acc() { # command window-class [name]
    # Line by line, so that a caller can follow a reader that keeps running.
    LC_ALL=C.UTF-8 "$wine" "$bin/acc_client.exe" "$@" 2>/dev/null | stdbuf -oL tr -d '\r'
}

# Whether another process can read the window's accessible objects. Wine
# 8.0's 64-bit build answers AccessibleObjectFromWindow with E_NOINTERFACE
# for any object; there the win_tests walk the tree in-process instead.
msaa_across_processes() { # window-class
    case "$(acc tree "$1")" in
    *"failed: 0x80004002"*) return 1 ;;
    esac
    return 0
}

# True when the focused object, as a screen reader reads it, has this name.
focus_is() { # window-class name
    [ "$(acc focus "$1")" = "$2" ]
}

# Polls until the focused object has this name; fails after the deadline.
wait_for_focus() { # window-class name seconds
    poll_until "$3" focus_is "$1" "$2" && return 0
    echo "(focus is \"$(acc focus "$1")\", not \"$2\")" >&2
    return 1
}

# The text a skin gives a name in skins/texts/<lang>.cmake: an independent
# reading of what the windows should say.
skin_text() { # lang NAME
    sed -n -e "s/^set($2 \"\\(.*\\)\")\$/\\1/p" -e "s/^set($2 \\([^\" ]*\\))\$/\\1/p" \
        "$root/skins/texts/$1.cmake"
}

# Every case marks that it ran to its end; the script then checks that all
# of them did. A shell error inside a loop (an empty number in $((...)), say)
# abandons the loop silently and the script would otherwise end as a pass.
cases_run=0
case_ran() { cases_run=$((cases_run + 1)); }
expect_cases() { # number
    [ "$cases_run" -eq "$1" ] || fail "only $cases_run of $1 cases ran to their end"
}

# Reports the output of failed runs (kept beside each case's folder).
show_wine_output() {
    local f
    for f in "$work"/*.wine-output.txt; do
        [ -s "$f" ] || continue
        echo "== $f"
        tail -5 "$f"
    done
}

# A part this Wine build cannot run (a screen reader in another process, on
# 64-bit Wine 8.0). The script still runs everything else; finish then exits
# 77, which ctest reports as skipped, unless something failed.
skipped=0
skip_part() { # what could not run
    echo "note: $1"
    skipped=1
}

finish() {
    if [ "$failures" -ne 0 ]; then
        show_wine_output
        echo "$failures failed"
        exit 1
    fi
    [ "$skipped" -eq 0 ] || exit 77
}

# A stand-in for a handler that any user can register for http pages: it
# records the folder it was started in. A page opened with ShellExecuteW from
# the program starts it in the program's folder; one the desktop shell
# (explorer) opens starts it elsewhere. Wine reads URL handlers from HKCR
# only, not from the per-user HKCU\Software\Classes that Windows merges in,
# so it goes there; e2e_cleanup puts the original back.
handler_record="$WINEPREFIX/drive_c/tvx-http-handler.txt"
handler_saved=""
register_http_handler() {
    rm -f "$handler_record"
    handler_saved="$work/http-handler.reg"
    "$wine" reg export 'HKCR\http\shell\open\command' "$handler_saved" /y >/dev/null 2>&1
    "$wine" reg add 'HKCR\http\shell\open\command' /ve /t REG_SZ \
        /d 'C:\windows\system32\cmd.exe /c cd>C:\tvx-http-handler.txt' /f >/dev/null 2>&1
}
restore_http_handler() {
    [ -n "$handler_saved" ] && "$wine" reg import "$handler_saved" >/dev/null 2>&1
    handler_saved=""
    rm -f "$handler_record"
}
# The program's folder as Windows names it: Wine's Z: is the Unix root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
handler_ran() { [ -s "$handler_record" ]; }
information_box() { [ -n "$(find_window '^Information$')" ]; }
link_answered() { handler_ran || information_box; }

# Follows "Tavolex website" in the English setup window for verdict 0 with
# the keyboard: with nothing focused, Shift+Tab goes backwards over "Install
# anyway" and "Exit setup" to it, and Enter follows it. The program runs
# elevated under Wine, so the page must go to the desktop shell (the handler
# then starts outside the program's folder) or, where the shell cannot take
# it, the "Information" box comes, which Return closes. Either way the
# program itself never starts the handler, and the window stays.
follow_website_link() { # setup-window-id app-folder
    local box
    activate_window "$1"
    xdotool key shift+Tab shift+Tab shift+Tab Return
    poll_until 60 link_answered || { echo "(the link had no effect)" >&2; return 1; }
    if box="$(find_window '^Information$')"; then
        press_key "$box" Return || return 1
    fi
    poll_until 5 handler_ran # a shell that took the page may start it late
    if handler_ran && grep -qiF "$(windows_path "$2")" "$handler_record"; then
        echo "(the program started the handler itself, in $(tr -d '\r' <"$handler_record"))" >&2
        return 1
    fi
    # What the shell started took the keyboard focus, as a browser does; a
    # user comes back with a click on the window.
    handler_ran && xdotool mousemove --window "$1" $title_band_x $title_band_y click 1
    test -n "$(find_window "${result_title[en]}")"
}
# A point on the result window's title band, where a click only activates it.
title_band_x=300
title_band_y=40
