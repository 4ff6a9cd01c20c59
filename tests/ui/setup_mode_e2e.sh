#!/usr/bin/env bash
# Runs the real TavolexCheck.exe in setup mode under Wine on the test screen
# and drives it like a user: Escape, a click on a setup button, and a broken
# and a missing layout file (error box, exit code 1).
# Usage: setup_mode_e2e.sh <folder of TavolexCheck.exe and the skins>
set -uo pipefail
bin="$1"
: "${DISPLAY:?needs the test screen}"
export WINEDEBUG="${WINEDEBUG:--all}"

work="$(mktemp -d "${TMPDIR:-/tmp}/tvx-e2e.XXXXXX")"
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0

# A private copy of the exe and skins per case, so that a broken skin never
# touches the build's own.
prepare() { # case-name
    local dir="$work/$1"
    mkdir -p "$dir"
    cp "$bin/TavolexCheck.exe" "$dir/"
    cp -r "$bin"/skin_tavolex_cn "$bin"/skin_tavolex_en "$bin"/skin_tavolex_jp "$dir/"
    cat > "$dir/result.tvxcfg" <<'INI'
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
    echo "$dir"
}

# Polls until a window with this exact title exists; prints its id.
wait_for_window() { # title seconds
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)"
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
        sleep 0.2
    done
    exit_code=124
    return 1
}

start() { # dir args...
    local dir="$1"
    shift
    (cd "$dir" && exec wine ./TavolexCheck.exe "$@") &
    app_pid=$!
}

expect() { # case expected
    if [ "$exit_code" = "$2" ]; then
        echo "PASS $1 (exit code $exit_code)"
    else
        echo "FAIL $1: exit code $exit_code, expected $2"
        failures=$((failures + 1))
    fi
}

focus() { # window id
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
}

# 1. Escape closes the setup window: exit code 0.
dir="$(prepare escape)"
start "$dir" lang=en check_result=0
if id="$(wait_for_window 'Testing Result' 60)"; then
    focus "$id"
    xdotool key Escape
fi
wait_for_exit 30
expect "setup mode, Escape" 0

# 2. A real click on "btn_setup_exit2" (verdict 0 shows it): exit code 5.
# The point is the button's centre in the English setup layout: the prompt
# bar is the bottom 106 px of the 720x913 window, buttons 140 wide with a 24
# px margin and 12 px between them.
dir="$(prepare click)"
start "$dir" lang=en check_result=0
if id="$(wait_for_window 'Testing Result' 60)"; then
    focus "$id"
    xdotool mousemove --window "$id" 474 860 click 1
fi
wait_for_exit 30
expect "setup mode, click on btn_setup_exit2" 5

# 3. A broken layout: the toolkit's error box "ORMEX", then exit code 1.
for kind in broken missing; do
    dir="$(prepare "$kind")"
    if [ "$kind" = broken ]; then
        printf '<Window><VerticalLayout></Window>' > "$dir/skin_tavolex_en/checkresult_setupwnd.xml"
    else
        rm "$dir/skin_tavolex_en/checkresult_setupwnd.xml"
    fi
    start "$dir" lang=en check_result=2
    if id="$(wait_for_window 'ORMEX' 60)"; then
        focus "$id"
        xdotool key Return
    else
        echo "no error box for the $kind layout"
    fi
    wait_for_exit 30
    expect "$kind layout file" 1
done

[ "$failures" -eq 0 ]
