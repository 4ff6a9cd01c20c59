# Helpers for driving the real TavolexCheck.exe under Wine on the test screen
# like a user does. Source it; set `bin` (the folder of the exe and skins)
# first. Everything polls; nothing sleeps for a fixed time.
: "${DISPLAY:?needs the test screen}"
export WINEDEBUG="${WINEDEBUG:--all}"

work="$(mktemp -d "${TMPDIR:-/tmp}/tvx-e2e.XXXXXX")"
app_pid=""
failures=0
e2e_cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    rm -rf "$work"
}
trap e2e_cleanup EXIT

# A private copy of the exe and skins per case, so that a broken skin never
# touches the build's own. Prints the folder.
prepare_app() { # case-name
    local dir="$work/$1"
    mkdir -p "$dir"
    cp "$bin/TavolexCheck.exe" "$dir/"
    cp -r "$bin"/skin_tavolex_cn "$bin"/skin_tavolex_en "$bin"/skin_tavolex_jp "$dir/"
    echo "$dir"
}

# Polls until a visible window whose title matches the pattern exists; prints
# its id. Fails early when the program has ended.
wait_for_window() { # title-regex seconds
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# Polls until the program has ended; sets exit_code (124 on time-out).
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
    # A program left running would keep its windows (and any key it holds)
    # in the Wine session for the cases after this one.
    kill -9 "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=""
    exit_code=124
    return 1
}

start_app() { # dir args...
    local dir="$1"
    shift
    (cd "$dir" && exec wine ./TavolexCheck.exe "$@") </dev/null >>"$work/app.out" 2>&1 &
    app_pid=$!
}

pass() { echo "PASS $1"; }
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

expect_exit() { # case expected
    if [ "$exit_code" = "$2" ]; then
        pass "$1 (exit code $exit_code)"
    else
        fail "$1: exit code $exit_code, expected $2"
    fi
}

focus() { # window id
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}
