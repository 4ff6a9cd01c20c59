# Shared by the scripts: build folders, the Windows build and Wine loader this
# machine can run, the private Wine prefix and a virtual screen. Source it; it
# defines functions and settings only.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# TVX_BUILD_SUFFIX lets several people build in one tree without sharing folders.
native_build="$root/build-native${TVX_BUILD_SUFFIX:-}"
jobs="$(nproc 2>/dev/null || echo 2)"
# Windows programs are started through this, never through bare `wine`, which
# prefers the 32-bit loader even where the machine cannot run it.
wine="$root/scripts/wine-exec"

# Whether the kernel runs 32-bit code, asked with a static i386 program that
# only calls exit(0) (int 0x80 with eax 1). It needs nothing installed: this
# runs when lib.sh is sourced, before scripts/setup has installed Wine, so
# asking the 32-bit Wine loader would say "no" on every fresh machine. On
# failure, prints why the program did not run ("Exec format error").
runs_32bit_code() {
    local probe output status
    # Made in the tree, not in /tmp: a /tmp mounted noexec would fail the
    # probe with "Permission denied" on any machine.
    probe="$(mktemp "$root/.i386-probe.XXXXXX")" || return 1
    {
        # ELF header: 32-bit, little-endian, executable, i386, entry
        # 0x08048054, one program header at offset 52.
        printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
        printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
        printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'
        printf '\x00\x00\x00\x00'
        # Program header: the whole 93-byte file loaded at 0x08048000, read
        # and execute.
        printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
        printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
        # mov eax, 1; xor ebx, ebx; int 0x80
        printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
    } >"$probe" && chmod +x "$probe"
    output="$("$probe" 2>&1)"
    status=$?
    rm -f "$probe"
    [ $status -eq 0 ] && return 0
    # The shell's message ends in the system's reason.
    output="${output##*: }"
    echo "${output:-exit status $status}"
    return 1
}

# The product ships as a 32-bit exe and is always built as one. Some machines
# cannot run 32-bit code at all (every i386 program fails with "Exec format
# error"), and no Wine can run a 32-bit exe there; the same sources built for
# x86-64 then carry the Windows suite under 64-bit Wine. Chosen once per run,
# and exported so that every script and test below uses the same build and
# loader; TVX_WIN_ARCH=i686|x86_64 forces the choice.
select_windows_arch() {
    if [ -n "${TVX_WIN_ARCH_REASON:-}" ]; then
        return 0
    fi
    local why
    case "${TVX_WIN_ARCH:-}" in
        i686 | x86_64) TVX_WIN_ARCH_REASON="TVX_WIN_ARCH=$TVX_WIN_ARCH was given" ;;
        "")
            if why="$(runs_32bit_code)"; then
                TVX_WIN_ARCH=i686
                TVX_WIN_ARCH_REASON="this machine runs 32-bit code (a 32-bit test program ran)"
            else
                TVX_WIN_ARCH=x86_64
                TVX_WIN_ARCH_REASON="this machine cannot run 32-bit code (a 32-bit test program fails to start: $why)"
            fi
            ;;
        *)
            echo "TVX_WIN_ARCH must be i686 or x86_64, not '$TVX_WIN_ARCH'" >&2
            return 1
            ;;
    esac
    export TVX_WIN_ARCH TVX_WIN_ARCH_REASON
}

# What the Windows programs run on, and why: for the scripts' output.
describe_windows_arch() {
    echo "the $TVX_WIN_ARCH build under $(wine_loader "$TVX_WIN_ARCH"), because $TVX_WIN_ARCH_REASON"
}

win_build_folder() { # arch
    case "$1" in
        i686) echo "$root/build-win${TVX_BUILD_SUFFIX:-}" ;;
        x86_64) echo "$root/build-win-x86_64${TVX_BUILD_SUFFIX:-}" ;;
    esac
}

# The Wine loader for an architecture; 64-bit Wine also needs WINELOADER, so
# that the processes it starts itself (wineboot's services) use it too.
wine_loader() { # arch
    case "$1" in
        i686) echo /usr/lib/wine/wine ;;
        x86_64) echo /usr/lib/wine/wine64 ;;
    esac
}

# The architecture of a PE file ("i686", "x86_64"), or nothing for any other
# file: the Machine field follows the "PE\0\0" signature, whose offset is at 0x3C.
pe_arch() { # file
    local offset machine
    offset="$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')"
    [ -n "$offset" ] || return 0
    machine="$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')"
    case "$machine" in
        014c) echo i686 ;;
        8664) echo x86_64 ;;
    esac
}

select_windows_arch || exit 1
# The product build (32-bit, what ships) and the build whose Windows suite
# runs on this machine; the same folder where 32-bit code runs.
product_build="$(win_build_folder i686)"
win_build="$(win_build_folder "$TVX_WIN_ARCH")"

build_native() {
    cmake -S "$root" -B "$native_build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$native_build" -j"$jobs"
}

build_windows_arch() { # arch
    local folder
    folder="$(win_build_folder "$1")"
    cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$1.cmake" >/dev/null
    cmake --build "$folder" -j"$jobs"
}

# The 32-bit product, and the x86-64 build too where it runs the suite.
build_windows() {
    build_windows_arch i686 || return 1
    if [ "$TVX_WIN_ARCH" != i686 ]; then
        build_windows_arch "$TVX_WIN_ARCH" || return 1
    fi
}

# A private prefix, made once, with the fonts the skins name mapped to one
# that has CJK glyphs, and Wine's crash dialog off: a crash then ends the
# program at once and leaves "wine: Unhandled ..." in its output, instead of
# a dialog waiting for a click. A prefix that cannot be made stops the run:
# nothing after it could start. With a second argument, a ready prefix is
# copied instead of made anew (faster, and the same).
prepare_wine_prefix() { # [prefix [ready prefix to copy]]
    export WINEPREFIX="${1:-${TVX_WINEPREFIX:-$win_build/wineprefix}}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    [ -f "$WINEPREFIX/$prefix_ready" ] && return 0
    rm -rf "$WINEPREFIX"
    if [ -n "${2:-}" ] && [ -f "$2/$prefix_ready" ]; then
        echo "Copying Wine prefix $2 to $WINEPREFIX"
        WINEPREFIX="$2" wineserver -w
        cp -a "$2" "$WINEPREFIX" || { echo "Cannot copy the Wine prefix $2" >&2; return 1; }
        return 0
    fi
    echo "Creating Wine prefix $WINEPREFIX ($TVX_WIN_ARCH)"
    local output
    if ! output="$("$wine" wineboot --init 2>&1)" || ! wineserver -w ||
       [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Cannot create the Wine prefix $WINEPREFIX with $(wine_loader "$TVX_WIN_ARCH"):" >&2
        echo "$output" | tail -n 5 >&2
        return 1
    fi
    local face
    for face in "Microsoft YaHei" "Microsoft YaHei UI" "SimSun" "Meiryo" "Meiryo UI" \
                "MS UI Gothic" "Segoe UI" "Tahoma" "Arial"; do
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
            /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 ||
            { echo "Cannot set a font replacement in $WINEPREFIX" >&2; return 1; }
    done
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1 || { echo "Cannot turn off the crash dialog in $WINEPREFIX" >&2; return 1; }
    wineserver -w
    touch "$WINEPREFIX/$prefix_ready"
}
prefix_ready=.tvx-ready-4

# Polls until a command succeeds; fails once the seconds have passed.
poll_step=0.1
poll_until() { # seconds command...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep "$poll_step"
    done
}

# Starts an Xvfb on a free display and sets DISPLAY to it; every screen
# started goes when stop_virtual_screen runs. Xvfb picks the display itself
# (-displayfd) and reports it once it takes clients: two tests that start
# screens at the same moment must not both pick one free number, or the
# first to finish would take the other's screen away with its own.
xvfb_pids=()
start_virtual_screen() { # [WIDTHxHEIGHT]
    local told n=""
    told="$(mktemp "${TMPDIR:-/tmp}/tvx-display.XXXXXX")" || return 1
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$told" >/dev/null 2>&1 &
    xvfb_pids+=($!)
    poll_until 10 grep -q '^[0-9]' "$told" && n="$(head -n 1 "$told")"
    rm -f "$told"
    [ -n "$n" ] || return 1
    export DISPLAY=":$n"
}

stop_virtual_screen() {
    local pid
    for pid in "${xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    xvfb_pids=()
}

# Wine slots let ctest run Windows tests side by side: each test takes a slot
# (a prefix and a virtual screen of its own), so that no two tests share the
# log, the updates folder, registry settings or the keyboard focus. scripts/test
# describes the slots in TVX_WINE_SLOT_<id> ("prefix display"); ctest names the
# slot a test holds in CTEST_RESOURCE_GROUP_0_WINE ("id:<id>,slots:1").
wine_slot_prefix() { # id
    if [ "$1" = 0 ]; then echo "$win_build/wineprefix"; else echo "$win_build/wineprefix-$1"; fi
}

prepare_wine_slots() { # count; writes the resource file ctest reads
    local id slots=""
    for id in $(seq 0 $(($1 - 1))); do
        prepare_wine_prefix "$(wine_slot_prefix "$id")" "$(wine_slot_prefix 0)" || return 1
        start_virtual_screen || { echo "cannot start Xvfb" >&2; return 1; }
        export "TVX_WINE_SLOT_$id=$WINEPREFIX $DISPLAY"
        slots="$slots${slots:+,}{\"id\":\"$id\",\"slots\":1}"
    done
    wine_slot_file="$win_build/wine-slots.json"
    printf '{"version":{"major":1,"minor":0},"local":[{"wine":[%s]}]}\n' "$slots" >"$wine_slot_file"
    # Outside ctest, scripts use the first slot.
    use_wine_slot 0
}

stop_wine_slots() {
    local variable
    for variable in ${!TVX_WINE_SLOT_*}; do
        WINEPREFIX="${!variable% *}" wineserver -k 2>/dev/null
    done
    stop_virtual_screen
}

# Points WINEPREFIX and DISPLAY at a slot: the given one, or the one ctest
# gave this test, once per test; a test may then move to a prefix or screen
# of its own, which the programs it starts keep. Without slots, they stay as
# they are.
use_wine_slot() { # [id]
    local id="${1:-${CTEST_RESOURCE_GROUP_0_WINE:-}}"
    id="${id#id:}"
    id="${id%%,*}"
    local variable="TVX_WINE_SLOT_$id"
    [ -n "$id" ] && [ -n "${!variable:-}" ] || return 0
    [ -z "${1:-}" ] && [ "${TVX_WINE_SLOT_TAKEN:-}" = "$id" ] && return 0
    export WINEPREFIX="${!variable% *}" DISPLAY="${!variable#* }" TVX_WINE_SLOT_TAKEN="$id"
}
