# Drives the real TavolexCheck.exe under Wine as a user does: starts it from
# a folder, waits for its windows, presses keys and clicks until the input
# has its effect, captures windows, and runs the configuration service it
# talks to. Shared by scripts/run, scripts/screenshots, scripts/bench and the
# end-to-end tests. Source it after scripts/lib.sh; it defines functions and
# settings only. Everything polls with a deadline; nothing waits a fixed time.

# The stored result of a real check, with two graphics adapters (the tallest
# layout), for setup mode.
sample_result="$root/tools/sample-result.tvxcfg"

# Window titles per language: the start window and the result window (check
# and setup mode), and the toolkit's error box.
declare -A start_title=([cn]='^ORMEX助手性能检测工具$' [en]='^ORMEX Assistant\(Compatibility checking tool\)$'
                        [jp]='^ORMEXアシスタント性能テストツール$')
declare -A result_title=([cn]='^检测结果$' [en]='^Testing Result$' [jp]='^テスト結果$')
error_box_title='^ORMEX$'
# The centre of a control where the English skin's layout file puts it, at
# 100 % in client pixels, by the toolkit's own layout code (layout_centre.exe
# from tests/tools, built into $bin): a skin change moves the click with it.
# Sets centre_x and centre_y; answers are kept.
declare -A centres=()
control_centre() { # layout-file control-name
    [ -n "${centres["$1 $2"]:-}" ] || centres["$1 $2"]="$(cd "$bin/skin_tavolex_en" &&
        "$wine" "$bin/layout_centre.exe" "$1" "$2" 2>/dev/null | tr -d '\r')"
    read -r centre_x centre_y <<<"${centres["$1 $2"]}"
    [ -n "$centre_y" ] || { echo "(layout_centre finds no $2 in $1)" >&2; return 1; }
}

# Lines Wine or the C++ runtime leave in a program's output when it crashed.
# Wine passes on only the low byte of the status, so an access violation
# (0xC0000005) would otherwise pass for exit code 5.
crash_pattern='^wine: Unhandled|^terminate called|abnormal program termination'

app_pid=""
app_output=""
exit_code=""
crash_line=""
# What showed that the program did what a case expects: the input a window
# took, or a file the program wrote. Reset by every start.
witnessed=""

# A private copy of the exe and skins (and with copy_config=1 the offline
# configuration), so a broken file never touches the build's own. Prints the
# folder, made under $work.
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

write_result_file() { # dir
    cp "$sample_result" "$1/result.tvxcfg"
}

# Starts the exe in its folder (the current directory is the folder, as when
# an installer starts it). Wine's own messages go beside the folder (inside it
# they would look like files the program made).
start_app() { # dir args...
    local dir="$1"
    shift
    start_program "$dir" ./TavolexCheck.exe "$@"
}

# Starts an exe from a current directory of the caller's choice.
start_program() { # current-directory exe args...
    local cwd="$1" exe="$2"
    shift 2
    app_output="$cwd.wine-output.txt"
    witnessed=""
    crash_line=""
    exit_code=""
    (cd "$cwd" && exec "$wine" "$exe" "$@") </dev/null >"$app_output" 2>&1 &
    app_pid=$!
}

app_running() { kill -0 "${1:-$app_pid}" 2>/dev/null; }
app_ended() { ! app_running "$@"; }

# The program's visible window whose title matches, if any (Wine gives a
# program's windows its process id, so other programs' windows never match).
find_window() { # title-regex [pid]
    xdotool search --all --onlyvisible --pid "${2:-$app_pid}" --name "$1" 2>/dev/null | head -1
}

# Polls until such a window exists; prints its id. Fails early when the
# program has ended.
wait_for_window() { # title-regex seconds [pid]
    local deadline=$((SECONDS + $2)) pid="${3:-$app_pid}" id
    while :; do
        id="$(find_window "$1" "$pid")"
        [ -n "$id" ] && { echo "$id"; return 0; }
        if ! app_running "$pid"; then
            echo "(the program ended without a window titled $1)" >&2
            return 1
        fi
        if [ $SECONDS -ge $deadline ]; then
            echo "(no window titled $1 within $2 s)" >&2
            return 1
        fi
        sleep "$poll_step"
    done
}

# Polls until the program has ended; sets exit_code (124 on time-out, and the
# program is then killed: one left running would keep its windows and keys in
# the session) and crash_line. Calls on_crash, where defined, after a crash.
wait_for_exit() { # seconds
    if poll_until "$1" app_ended; then
        wait "$app_pid"
        exit_code=$?
    else
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
        exit_code=124
    fi
    app_pid=""
    crash_line="$(grep -m1 -aE "$crash_pattern" "$app_output" 2>/dev/null)"
    if [ -n "$crash_line" ] && declare -F on_crash >/dev/null; then
        on_crash
    fi
    [ "$exit_code" != 124 ]
}

# Waits until every Wine process of the prefix has ended and its server has
# stopped, so a windowed check starts in a fresh Wine session: a key left held
# by an earlier program would otherwise reach its window.
settle() {
    wineserver -w 2>/dev/null
}

# Sends input to a window until it has the effect the caller names: raise and
# focus the window, send the input, poll for the effect; up to five times, as
# input that arrives while a window is still settling can be lost. Input goes
# through the real X server (xdotool key, mouse): synthetic events sent to a
# window can leave a key held in the Wine session. Sets witnessed.
#   deliver_input WINDOW EFFECT-COMMAND... -- INPUT-COMMAND...
deliver_input() {
    local id="$1" effect=() input=() try
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        effect+=("$1")
        shift
    done
    shift
    input=("$@")
    for try in 1 2 3 4 5; do
        activate_window "$id"
        "${input[@]}"
        if poll_until "${input_effect_seconds:-4}" "${effect[@]}"; then
            witnessed="${input[*]}"
            return 0
        fi
    done
    echo "(${input[*]} on window $id had no effect after 5 tries)" >&2
    return 1
}

# Raises a window (another may cover it) and gives it the keyboard focus.
activate_window() { # id
    xdotool windowraise "$1" 2>/dev/null
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null
}

# True once the window is no longer shown, or its program has ended.
window_gone() { # id [pid]
    ! app_running "${2:-$app_pid}" ||
        ! xdotool search --all --onlyvisible --pid "${2:-$app_pid}" --name . 2>/dev/null | grep -qx "$1"
}

# A key that closes the window (Escape, Return on a message box).
press_key() { # id key [pid]
    deliver_input "$1" window_gone "$1" "${3:-$app_pid}" -- xdotool key "$2"
}

# A click at a point of the window, until the effect command succeeds.
click_until() { # id x y effect-command...
    local id="$1" x="$2" y="$3"
    shift 3
    deliver_input "$id" "$@" -- xdotool mousemove --window "$id" "$x" "$y" click 1
}

# Saves a picture of the window once two captures in a row are equal (the
# window has finished painting).
capture_window() { # id file
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    capture_geometry="${WIDTH}x${HEIGHT}+${X}+${Y}"
    import -window root -crop "$capture_geometry" +repage "$2.prev.png"
    poll_until 10 capture_unchanged "$2" || mv "$2.prev.png" "$2"
    rm -f "$2.prev.png"
}
capture_unchanged() { # file
    import -window root -crop "$capture_geometry" +repage "$1"
    [ "$(compare -metric AE "$1.prev.png" "$1" null: 2>&1)" = "0" ] && return 0
    mv "$1" "$1.prev.png"
    return 1
}

# A configuration service on a free loopback port: the reference service
# (tools/config_service.py) unless service_script names another. WinINet
# reaches it as its proxy, so the product's compiled-in host is used
# unchanged. Every request it receives is appended to $service_log, one line
# each. Sets http_proxy; stop_service ends it.
service_pid=""
stop_service() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    service_pid=""
}

start_service() { # service arguments (--document FILE, --fault NAME, --mode ...)
    stop_service
    local out="$work/service.out" port
    service_log="$work/requests.log"
    : >"$out"
    : >"$service_log"
    python3 -B "${service_script:-$root/tools/config_service.py}" --port 0 --log "$service_log" "$@" \
        >"$out" 2>&1 &
    service_pid=$!
    if ! poll_until 10 grep -q '^listening on ' "$out"; then
        echo "the service did not start:" >&2
        cat "$out" >&2
        exit 1
    fi
    port="$(sed -n 's/^listening on [0-9.]*:\([0-9]*\)$/\1/p' "$out")"
    export http_proxy="http://127.0.0.1:$port"
}

service_request_count() { wc -l <"$service_log"; }

# The clock requests the service has received: the first thing every check
# asks, once per check.
clock_requests() { grep -c getTimestamp "$service_log"; }
clock_requests_beyond() { [ "$(clock_requests)" -gt "$1" ]; }

# Clicks the start button until the check it starts has asked the service.
press_start() { # start-window-id
    local asked
    asked="$(clock_requests)"
    control_centre start.xml StartBtn &&
        click_until "$1" "$centre_x" "$centre_y" clock_requests_beyond "$asked"
}
