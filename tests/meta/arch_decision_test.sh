#!/usr/bin/env bash
# The Windows build the scripts pick (scripts/lib.sh): the kernel is asked,
# not Wine, so a fresh machine, before scripts/setup has installed Wine, gets
# the same answer as after it; TVX_WIN_ARCH forces either build.
# Usage: arch_decision_test.sh <source folder>
set -uo pipefail
lib="$1/scripts/lib.sh"
failures=0
skipped=0
pass() { echo "PASS $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }
note() { echo "note: $1"; skipped=1; }
expect() { # description want got
    if [ "$2" = "$3" ]; then pass "$1: $3"; else fail "$1: '$3', not '$2'"; fi
}

# lib.sh sourced in a clean environment: the chosen build, or "refused".
decide() { # TVX_WIN_ARCH
    env -u TVX_WIN_ARCH_REASON TVX_WIN_ARCH="$1" bash -c \
        '(source "$0" >/dev/null 2>&1 && echo "$TVX_WIN_ARCH") || echo refused' "$lib"
}
hide_wine='mount -t tmpfs tmpfs /usr/lib/wine || exit 1;'

expect "TVX_WIN_ARCH=i686 forces" i686 "$(decide i686)"
expect "TVX_WIN_ARCH=x86_64 forces" x86_64 "$(decide x86_64)"
expect "TVX_WIN_ARCH=arm64" refused "$(decide arm64)"

if ! unshare -m true 2>/dev/null; then
    note "no private mount namespace here; the decision without Wine was not tried"
else
    here="$(decide "")"
    expect "without Wine installed, the same build as with it" "$here" \
        "$(unshare -m bash -c "$hide_wine $(declare -f decide); lib='$lib'; decide ''")"
fi

# A fresh machine that runs 32-bit code, here too: a private binfmt_misc
# (Linux 6.7 and later) runs i386 programs through qemu-i386, and Wine is
# hidden as before scripts/setup.
if ! command -v qemu-i386 >/dev/null ||
   ! unshare --user --map-root-user --mount true 2>/dev/null; then
    note "no qemu-i386 or no user namespace; the fresh 32-bit machine was not simulated"
else
    i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    binfmt="mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
        printf '%s' ':tvx-i386:M::$i386_magic:$i386_mask:$(command -v qemu-i386):' \
            >/proc/sys/fs/binfmt_misc/register || exit 1;"
    expect "a fresh machine that runs 32-bit code" i686 \
        "$(unshare --user --map-root-user --mount bash -c "$binfmt $hide_wine
            $(declare -f decide); lib='$lib'; decide ''")"
fi

echo "$failures failed"
[ "$failures" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
