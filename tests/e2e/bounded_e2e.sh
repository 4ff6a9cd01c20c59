#!/usr/bin/env bash
# Bounded waits and the last good configuration, end to end: the real exe in
# report mode under Wine against the reference service's slow, trickling,
# oversized and wrong replies (reached through the proxy, so the compiled-in
# host is used unchanged). Every run must end within a check's time bound
# with a report and an overall answer as its exit code, and leave the stored
# configuration byte for byte as it was unless a good document came.
# Usage: bounded_e2e.sh <folder of TavolexCheck.exe and the skins> <source folder>
set -uo pipefail
bin="$1"
src="$2"
source "$(dirname "$0")/lib.sh"

stored="$downloaded"
served="$src/tests/service/e2e_config.json"
# What a whole check may take, whatever the service does: clock 10 s,
# configuration reply and document 30 s each, WMI waits; with Wine's start.
bound=90

# The prefix's configuration and log are put back at the end.
saved="$work/saved"
mkdir -p "$saved" "$data"
[ -e "$data/updates" ] && mv "$data/updates" "$saved/updates"
restore_prefix() {
    stop_service
    rm -rf "$data/updates"
    [ -e "$saved/updates" ] && mv "$saved/updates" "$data/updates"
    e2e_cleanup
}
trap restore_prefix EXIT
trap 'exit 143' TERM INT

# An older configuration, recognisable by its bytes.
seed_stored_config() {
    rm -rf "$data/updates"
    mkdir -p "$(dirname "$stored")"
    { cat "$src/config/checkerconfig.json"; printf '\n// kept from an earlier run\n'; } >"$stored"
    cp "$stored" "$work/stored.orig"
}

# One report run against the service with the given faults. `why` is the one
# line the log must gain about the document ("" for none).
bounded_case() { # name why fault...
    local name="$1" why="$2"
    shift 2
    local faults=() f
    for f in "$@"; do faults+=(--fault "$f"); done
    start_service --document "$served" "${faults[@]}"
    seed_stored_config
    local dir before started elapsed
    dir="$(prepare_app "$(echo "$name" | tr -c 'a-z0-9\n' '-')")"
    before="$(log_lines)"
    started=$SECONDS
    start_app "$dir" lang=en report=report.json
    wait_for_exit $((bound + 60))
    elapsed=$((SECONDS - started))
    stop_service
    check "$name: the check ends within ${bound} s (${elapsed} s)" test "$elapsed" -le "$bound"
    expect_report_answer "$name: an overall answer, and the report says the same" "$dir/report.json"
    check "$name: the stored configuration is unchanged byte for byte" cmp -s "$stored" "$work/stored.orig"
    case_log="$(new_log "$before")"
    local kept
    kept="$(printf '%s\n' "$case_log" | grep -c 'keep old config')"
    if [ -n "$why" ]; then
        if [ "$kept" -eq 1 ] && new_log "$before" | grep -qF -- "$why"; then
            pass "$name: one log line says \"$why\""
        else
            fail "$name: expected one \"$why\"; new lines were: $(new_log "$before")"
        fi
    else
        check "$name: no line about keeping the old configuration" test "$kept" -eq 0
    fi
}

# 0. Without faults the served document replaces the stored one, so each
# case below that keeps it did so for its fault.
start_service --document "$served"
seed_stored_config
dir="$(prepare_app control)"
start_app "$dir" lang=en report=report.json
wait_for_exit 120
stop_service
expect_report_answer "control: an overall answer, and the report says the same" "$dir/report.json"
check "control: the served document is stored" cmp -s "$stored" "$served"

# 1. Waits: a clock that does not answer and a document that trickles one
# byte a second (each byte well within any receive timeout); a signed reply
# that trickles.
bounded_case "slow clock, trickling document" "" clock:slow document:trickle
# A service that takes every connection and never answers: the check waits
# out the clock and the signed reply, and the figure in this line is the one
# the installers' README quotes.
bounded_case "a service that never answers" "" clock:slow config:slow document:slow
bounded_case "trickling signed reply" "" config:trickle
expect_case_log() { # name text
    if printf '%s\n' "$case_log" | grep -qF -- "$2"; then
        pass "$1: the log says \"$2\""
    else
        fail "$1: the log lacks \"$2\": $case_log"
    fi
}
expect_case_log "trickling signed reply" "read config url failed(json). "
bounded_case "document that never starts" "" document:slow

# 2. Bodies over their caps: nothing stored; a document says why.
bounded_case "signed reply over 1 MiB" "" config:huge
expect_case_log "signed reply over 1 MiB" "read config url failed(json). "
bounded_case "valid document of 2 MiB" "keep old config. too large" document:huge

# 3. Replies that came whole but are no configuration.
bounded_case "404 page" "keep old config. status=404" document:404
bounded_case "captive portal page with 200" "keep old config. bad json" document:html
bounded_case "truncated JSON" "keep old config. bad json" document:truncated
bounded_case "connection dropped mid-document" "keep old config. bad json" document:drop

# 4. A document "URL" on the client's own disk is never read.
bounded_case "file: URL" "" config:file-url

finish
