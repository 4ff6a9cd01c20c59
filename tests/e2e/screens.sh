# Screens and display scales for tests and pictures: an Xvfb screen of a
# given size, a Wine prefix at a given scale, and a window's geometry.
# Functions only; sourced by lib.sh and scripts/screenshots, after
# scripts/lib.sh.

# A screen of a given size on a free display of its own; DISPLAY points at it
# until stop_screen.
own_screen_pid=""
start_screen() { # WIDTHxHEIGHT
    stop_screen
    start_virtual_screen "$1" || return 1
    own_screen_pid="${xvfb_pids[-1]}"
}
stop_screen() {
    [ -n "$own_screen_pid" ] && kill "$own_screen_pid" 2>/dev/null && wait "$own_screen_pid" 2>/dev/null
    own_screen_pid=""
}

# A Wine prefix of its own beside the current one, with the display scale
# set (LogPixels: 96 is 100 %, 144 is 150 %, 192 is 200 %). Made once, as a
# copy of the current prefix; WINEPREFIX points at it afterwards. Every Wine
# process of the prefix is ended first: they read the scale when they start.
use_scaled_prefix() { # dpi
    local base="${WINEPREFIX%-scaled}" prefix="${TVX_SCALED_PREFIX:-${WINEPREFIX%-scaled}-scaled}"
    prepare_wine_prefix "$prefix" "$base" >/dev/null || return 1
    wineserver -w 2>/dev/null
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w 2>/dev/null
}

# Lengths at the scale $dpi, rounded as the toolkit does; pictures kept in $TVX_E2E_SHOTS if set.
scaled() { echo $(( ($1 * dpi + 48) / 96 )); }
keep_picture() { # file name
    [ -n "${TVX_E2E_SHOTS:-}" ] && mkdir -p "$TVX_E2E_SHOTS" && cp "$1" "$TVX_E2E_SHOTS/$2"
}

# The program's window as xdotool sees it: sets win_x win_y win_w win_h.
# Without a window manager the X window is the client area.
window_geometry() { # window id
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
}
