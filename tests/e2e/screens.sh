# Screens and display scales for tests and pictures: an Xvfb screen of a
# given size, a Wine prefix at a given scale, and a window's geometry and
# picture. Functions only; sourced by lib.sh and scripts/screenshots.

# A screen of a given size on a free display (Xvfb) of its own; DISPLAY
# points at it until stop_screen. Displays 150 and up, so as not to meet the
# one scripts/lib.sh starts.
own_screen_pid=""
start_screen() { # WIDTHxHEIGHT
    local n
    stop_screen
    for n in $(seq 150 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
            own_screen_pid=$!
            export DISPLAY=":$n"
            for _ in $(seq 1 100); do
                [ -e "/tmp/.X11-unix/X$n" ] && return 0
                sleep 0.1
            done
            return 1
        fi
    done
    return 1
}
stop_screen() {
    [ -n "$own_screen_pid" ] && kill "$own_screen_pid" 2>/dev/null && wait "$own_screen_pid" 2>/dev/null
    own_screen_pid=""
}

# A Wine prefix of its own beside the test prefix, with the display scale
# set (LogPixels: 96 is 100 %, 144 is 150 %, 192 is 200 %). Made once, with
# the same fonts as the test prefix; WINEPREFIX points at it afterwards.
# Every Wine process of the prefix is ended first: they read the scale when
# they start.
use_scaled_prefix() { # dpi
    local prefix="${TVX_SCALED_PREFIX:-${WINEPREFIX%-scaled}-scaled}"
    local here
    here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
    (source "$here/scripts/lib.sh" && TVX_WINEPREFIX="$prefix" prepare_wine_prefix) >/dev/null 2>&1
    export WINEPREFIX="$prefix"
    wineserver -w 2>/dev/null
    "$here/scripts/wine-exec" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$1" /f >/dev/null 2>&1
    wineserver -w 2>/dev/null
}

# The program's window as xdotool sees it: sets win_x win_y win_w win_h.
# Without a window manager the X window is the client area.
window_geometry() { # window id
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
}

# A picture of a window once it has stopped changing.
capture_window() { # window id file
    local prev="$2.prev.png" i
    window_geometry "$1"
    import -window root -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$prev"
    for i in $(seq 1 25); do
        import -window root -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$2"
        [ "$(compare -metric AE "$prev" "$2" null: 2>&1)" = "0" ] && { rm -f "$prev"; return 0; }
        mv "$2" "$prev"
        sleep 0.2
    done
    mv "$prev" "$2"
}
