#!/usr/bin/env bash
# Runs the end-to-end suites against stand-ins for the product that never
# show a window (tests/meta/standin.cpp): each suite must fail, and none may
# print a pass that judged an exit code, since no window ever took input.
# A stand-in that crashes must be reported as a crash.
# Usage: standins_test.sh <exe folder> <source folder> <planted.dll> <plant_control.exe> <stand-in exe>...
set -uo pipefail
bin="$1"
src="$2"
planted="$3"
control="$4"
shift 4
source "$src/tests/e2e/lib.sh"

suites=("setup_mode_e2e:tests/e2e/setup_mode_e2e.sh"
        "check_mode_e2e:tests/e2e/check_mode_e2e.sh"
        "report_mode_e2e:tests/e2e/report_mode_e2e.sh"
        "fault_suite:tests/faults/faults_test.sh"
        "hardening_planted_dlls:tests/hardening/planted_dll_test.sh")

for standin in "$@"; do
    name="$(basename "$standin" .exe)"
    fake="$work/$name"
    cp -r "$bin" "$fake"
    cp "$standin" "$fake/TavolexCheck.exe"
    for suite in "${suites[@]}"; do
        script="$src/${suite#*:}"
        case "$script" in
        */planted_dll_test.sh) args=("$fake" "$planted" "$control" "$src") ;;
        */setup_mode_e2e.sh) args=("$fake") ;;
        *) args=("$fake" "$src") ;;
        esac
        output="$work/$name-${suite%%:*}.txt"
        timeout 600 bash "$script" "${args[@]}" >"$output" 2>&1
        status=$?
        check "${suite%%:*} against $name fails (status $status)" test "$status" -ne 0
        judged="$(grep -E '^PASS .*exit code' "$output")"
        check "${suite%%:*} against $name passes no exit code${judged:+: $judged}" test -z "$judged"
        if [[ "$name" == *crash* ]]; then
            check "${suite%%:*} against $name reports the crash" grep -qE '^FAIL .*crash' "$output"
        fi
    done
done
finish
