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
