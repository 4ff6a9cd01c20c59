#!/usr/bin/env bash
# The 32-bit exe that ships stays within its size budget, so that growth is a
# decision rather than an accident. Reads the file only; on failure the
# section sizes show where the bytes went.
# Usage: check_size.sh <objdump> <exe>
set -uo pipefail
objdump="$1"
exe="$2"

readonly kMaxExeBytes=$((1280 * 1024)) # 1.25 MiB

size="$(stat -c %s "$exe" 2>/dev/null)" || { echo "FAIL cannot read $exe"; exit 1; }
if [ "$size" -le "$kMaxExeBytes" ]; then
    echo "PASS $exe is $size bytes, within $kMaxExeBytes"
    exit 0
fi
echo "FAIL $exe is $size bytes, over the budget of $kMaxExeBytes by $((size - kMaxExeBytes))"
"$objdump" -h "$exe"
exit 1
