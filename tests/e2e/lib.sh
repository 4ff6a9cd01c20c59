# Helpers for driving the real TavolexCheck.exe under Wine on the test screen
# like a user does, in a private copy of its folder, and for checking what the
# user sees and what stays on disk. Source it after setting `bin` (the folder
# of the built exe and skins) and, for the reference service, `src`. Set
# copy_config=1 to give each copy the offline configuration as well.
# Everything polls; nothing sleeps for a fixed time.
: "${DISPLAY:?needs the test screen}"
export WINEDEBUG="${WINEDEBUG:--all}"

source "$(dirname "${BASH_SOURCE[0]}")/screens.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/tvx-e2e.XXXXXX")"
app_pid=""
failures=0
e2e_cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    stop_service
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap e2e_cleanup EXIT

# A private copy of the exe and skins (and with copy_config=1 the offline
# configuration) per case, so a broken file never touches the build's own.
# Prints the folder.
prepare_app() { # case-name
    local dir="$work/$1"
    mkdir -p "$dir"
    cp "$bin/TavolexCheck.exe" "$dir/"
    cp -r "$bin"/skin_tavolex_cn "$bin"/skin_tavolex_en "$bin"/skin_tavolex_jp "$dir/"
    if [ "${copy_config:-0}" = 1 ] && [ -d "$bin/config" ]; then
        cp -r "$bin/config" "$dir/"
    fi
    echo "$dir"
}

# A stored result of a real check, for setup mode.
write_result_file() { # dir
    cat > "$1/result.tvxcfg" <<'INI'
[result]
os=Microsoft Windows 10 Pro(64)
cpu=Intel(R) Core(TM) i5-9400F CPU @ 2.90GHz
memory=8GB
gpu1=NVIDIA GeForce GTX 1050 Ti 
dispdriver1=23.21.13.8813
cpu_game=2
cpu_video=2
mem_support=2
gpu1_game=1
gpu1_video=2
os_support=2
steamvr=1
INI
}

# Waits until every Wine process of the prefix has ended and its server has
# stopped, so a windowed check starts in a fresh Wine session: a key left held
# in the session by an earlier test would otherwise close its window at once.
settle() {
    wineserver -w 2>/dev/null
}

# Starts the exe in its folder (the current directory is the folder, as when
# an installer starts it). Extra environment: set it before calling.
start_app() { # dir args...
    local dir="$1"
    shift
    # Wine's own messages go beside the case folder, for the report of a
    # failed case (inside it they would look like files the program made).
    (cd "$dir" && exec wine ./TavolexCheck.exe "$@") >"$dir.wine-output.txt" 2>&1 &
    app_pid=$!
}

# Polls until a visible window of the running program (Wine gives its
# windows the process id) whose title matches exists; prints its id. Windows
# of other programs, such as one a failed earlier test left open, never
# match. Fails early when the program has ended.
wait_for_window() { # title-regex seconds
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id="$(find_window "$1")"
        [ -n "$id" ] && { echo "$id"; return 0; }
        if ! kill -0 "$app_pid" 2>/dev/null; then
            echo "(the program ended without that window)" >&2
            return 1
        fi
        sleep 0.2
    done
    return 1
}

# The running program's visible window whose title matches, if any.
find_window() { # title-regex [pid]
    xdotool search --all --onlyvisible --pid "${2:-$app_pid}" --name "$1" 2>/dev/null | head -1
}

# Polls until the program has ended; sets exit_code (124 on time-out, and
# the program is then killed).
wait_for_exit() { # seconds
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid"
            exit_code=$?
            app_pid=""
            return 0
        fi
        sleep 0.1
    done
    # A program left running would keep its windows and keys in the session.
    kill -9 "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=""
    exit_code=124
    return 1
}

# Closes a window the way a user does: focus, then a real Escape key press
# (a synthetic one, sent to the window, can stay held in the Wine session and
# close the next test's window). While the window exists and the program still
# runs, Escape is pressed again (up to 5 times): a key that arrives while a
# window is still settling can be lost.
press_escape() { # window id [pid]
    local pid="${2:-$app_pid}" try
    for try in 1 2 3 4 5; do
        xdotool windowraise "$1" 2>/dev/null # another window may cover it
        xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
        xdotool key Escape
        for _ in $(seq 1 20); do
            kill -0 "$pid" 2>/dev/null || return 0
            xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
            sleep 0.2
        done
    done
}

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
expect_exit() { # description expected
    if [ "$exit_code" = "$2" ]; then
        pass "$1 (exit code $exit_code)"
    else
        fail "$1: exit code $exit_code, expected $2"
    fi
}

focus() { # window id
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}

# The reference configuration service on a free loopback port, reached as the
# product's proxy so that its compiled-in host is used unchanged. Needs `src`
# (the source folder). Sets http_proxy; stop_service ends it.
service_pid=""
stop_service() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    service_pid=""
}

start_service() { # service arguments (--document FILE, --fault NAME, --log FILE ...)
    stop_service
    local out="$work/service.out" port=""
    : >"$out"
    python3 "$src/tools/config_service.py" --port 0 "$@" >"$out" 2>&1 &
    service_pid=$!
    for _ in $(seq 1 100); do
        port="$(sed -n 's/^listening on [0-9.]*:\([0-9]*\)$/\1/p' "$out")"
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || { echo "the reference service did not start"; cat "$out"; exit 1; }
    export http_proxy="http://127.0.0.1:$port"
}

# Fails a case whose program crashed: under Wine a crash can end with an exit
# code that looks like an answer (an access violation, 0xC0000005, ends as 5).
# Wine reports it in the output that start_app keeps beside the case folder.
expect_exit_clean() { # description expected dir
    if grep -qE 'Unhandled (page fault|exception)|starting debugger' "$3.wine-output.txt" 2>/dev/null; then
        fail "$1: the program crashed ($(grep -m1 -E 'Unhandled' "$3.wine-output.txt"))"
    else
        expect_exit "$1" "$2"
    fi
}

# A screen reader's view of the program's windows from another process
# (tests/tools/acc_client.cpp, built beside the exe). Output has no CRs.
acc() { # command window-class [name]
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
    LC_ALL=C.UTF-8 "$here/scripts/wine-exec" "$bin/acc_client.exe" "$@" 2>/dev/null | tr -d '\r'
}

# Whether another process can read the window's accessible objects. Wine
# 8.0's 64-bit build answers AccessibleObjectFromWindow with E_NOINTERFACE
# for any object; there the win_tests walk the tree in-process instead.
msaa_across_processes() { # window-class
    local out
    out="$(acc tree "$1")"
    case "$out" in
        *"failed: 0x80004002"*) return 1 ;;
    esac
    return 0
}

# Polls until the focused object (as a screen reader reads it) has this
# name; fails after the deadline.
wait_for_focus() { # window-class name seconds
    local deadline=$((SECONDS + $3)) now
    while [ $SECONDS -lt $deadline ]; do
        now="$(acc focus "$1")"
        [ "$now" = "$2" ] && return 0
        sleep 0.2
    done
    echo "(focus is \"$now\", not \"$2\")" >&2
    return 1
}

# The text a skin gives a name in skins/texts/<lang>.cmake: an independent
# reading of what the windows should say.
skin_text() { # lang NAME
    sed -n -e "s/^set($2 \"\\(.*\\)\")\$/\\1/p" -e "s/^set($2 \\([^\" ]*\\))\$/\\1/p" \
        "$(dirname "${BASH_SOURCE[0]}")/../../skins/texts/$1.cmake"
}

# The stored result with two graphics adapters: the tallest result window.
write_two_adapter_result_file() { # dir
    cp "$(dirname "${BASH_SOURCE[0]}")/../../tools/sample-result.tvxcfg" "$1/result.tvxcfg"
}

# Every case marks that it ran to its end; the script then checks that all
# of them did. A shell error inside a loop (an empty number in $((...)), say)
# abandons the loop silently and the script would otherwise end as a pass.
cases_run=0
case_ran() { cases_run=$((cases_run + 1)); }
expect_cases() { # number
    [ "$cases_run" -eq "$1" ] || fail "only $cases_run of $1 cases ran to their end"
}
