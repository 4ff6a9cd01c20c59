#!/usr/bin/env bash
# A stack overflow in a program built like the product ends it with
# STATUS_STACK_BUFFER_OVERRUN (0xC0000409; Wine passes on its low byte, 9);
# a copy that fits returns normally.
# Usage: stack_smash_test.sh <stack_smash.exe>
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
wine="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-exec"
failures=0
fits="$("$wine" "$1" 8 2>/dev/null | tr -d '\r')"
status=$?
if [ $status -eq 0 ] && [[ "$fits" == "returned normally"* ]]; then
    echo "PASS 8 bytes into 16: returned normally"
else
    echo "FAIL 8 bytes into 16: status $status, output '$fits'"
    failures=$((failures + 1))
fi
smashed="$("$wine" "$1" 64 2>/dev/null | tr -d '\r')"
status=$?
if [ $status -eq $((0xC0000409 & 0xFF)) ] && [ -z "$smashed" ]; then
    echo "PASS 64 bytes into 16: ended by the stack protector (status $status)"
else
    echo "FAIL 64 bytes into 16: status $status, output '$smashed'"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
