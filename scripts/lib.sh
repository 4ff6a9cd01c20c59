# Shared by the scripts: build folders, the private Wine prefix and a virtual
# screen. Source it; it defines functions only.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# TVX_BUILD_SUFFIX lets several people build in one tree without sharing folders.
native_build="$root/build-native${TVX_BUILD_SUFFIX:-}"
win_build="$root/build-win${TVX_BUILD_SUFFIX:-}"
jobs="$(nproc 2>/dev/null || echo 2)"

build_native() {
    cmake -S "$root" -B "$native_build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$native_build" -j"$jobs"
}

build_windows() {
    cmake -S "$root" -B "$win_build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$win_build" -j"$jobs"
}

# A private prefix, made once per build folder, with the fonts the skins name
# mapped to one that has CJK glyphs.
prepare_wine_prefix() {
    export WINEPREFIX="${TVX_WINEPREFIX:-$win_build/wineprefix}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    if [ ! -f "$WINEPREFIX/.tvx-ready-3" ]; then
        echo "Creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver -w
        for face in "Microsoft YaHei" "Microsoft YaHei UI" "SimSun" "Meiryo" "Meiryo UI" \
                    "MS UI Gothic" "Segoe UI" "Tahoma" "Arial"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
                /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
        done
        wineserver -w
        touch "$WINEPREFIX/.tvx-ready-3"
    fi
}

# Starts an Xvfb on a free display unless one is given; sets DISPLAY.
xvfb_pid=""
start_virtual_screen() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
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

stop_virtual_screen() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
}
