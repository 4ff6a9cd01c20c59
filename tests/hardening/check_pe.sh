#!/usr/bin/env bash
# Checks the built exe's PE header and imports with objdump:
# - ASLR and DEP: DllCharacteristics has DYNAMIC_BASE (0x40) and NX_COMPAT (0x100);
# - the import table names only kernel32, msvcrt and advapi32: KnownDLLs on
#   Windows 7 to 11, loaded from System32 whatever lies beside the exe, and
#   needing nothing from outside it;
# - every other system DLL is delay-loaded (cmake/hardening.cmake), so it
#   loads after wWinMain has limited the DLL search to System32;
# - the stack protector's canary comes from app/process_hardening_win.cpp,
#   not libssp, whose start-up code loads the crypto provider DLLs before
#   wWinMain (stack_smash_test.sh checks the protector at run time).
# - the image is a Windows GUI program of the build's architecture: the
#   product proper is PE32 (i686); the x86-64 build exists for testing.
# - the same sources give the same bytes (cmake/reproducible.cmake): no link
#   time in the header, a checksum that agrees with the bytes (as osslsigncode
#   calculates it), and none of the given build folders named in the image.
# Usage: check_pe.sh <objdump> <exe> <i686|x86_64> [delay-loaded DLL names, ';'-separated]
#        [folders the image must not name...]
set -uo pipefail
objdump="$1"
exe="$2"
arch="$3"
delay_names="${4:-user32;gdi32;ole32;oleaut32;shell32;shlwapi;setupapi;wininet;gdiplus}"
failures=0
pass() { echo "PASS $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }

plain_allowed="kernel32.dll msvcrt.dll advapi32.dll"
delay_loaded="$(echo "$delay_names" | tr 'A-Z;' 'a-z ' | sed -E 's/([a-z0-9_]+)/\1.dll/g')"

headers="$("$objdump" -p "$exe")" || { echo "FAIL objdump cannot read $exe"; exit 1; }

declare -A expected_magic=([i686]="010b (PE32)" [x86_64]="020b (PE32+)")
magic="$(echo "$headers" | awk '/^Magic/ {print $2, $3; exit}')"
[ "$magic" = "${expected_magic[$arch]:-?}" ] && pass "image is $magic for $arch" ||
    fail "image is ${magic:-unreadable}, expected ${expected_magic[$arch]:-a known architecture} for $arch"
subsystem="$(echo "$headers" | awk '/^Subsystem/ {print $2; exit}')"
[ "$subsystem" = 00000002 ] && pass "Windows GUI subsystem" ||
    fail "subsystem ${subsystem:-unreadable}, expected 00000002 (Windows GUI)"

characteristics="$(echo "$headers" | awk '/^DllCharacteristics/ {print $2; exit}')"
if [ -z "$characteristics" ]; then
    fail "no DllCharacteristics in the header"
else
    value=$((16#$characteristics))
    [ $((value & 0x40)) -ne 0 ] && pass "DYNAMIC_BASE (ASLR) set ($characteristics)" ||
        fail "DYNAMIC_BASE (ASLR) missing ($characteristics)"
    [ $((value & 0x100)) -ne 0 ] && pass "NX_COMPAT (DEP) set ($characteristics)" ||
        fail "NX_COMPAT (DEP) missing ($characteristics)"
fi
# ASLR needs the relocations to stay in the image.
grep -q 'Base Relocation Directory \[.reloc\]' <<<"$headers" &&
    pass "relocations kept" || fail "no .reloc section: the image cannot move"

# objdump lists the import table's DLLs first, then the delay-import table's
# ("The Delay Import Tables") with "DLL Name:" lines of its own. dlltool's
# delay libraries resolve through thunks in code and leave the delay-import
# directory empty; what counts is that those DLLs are not imported directly.
imports="$(echo "$headers" | awk '/^The Delay Import Tables/ {exit} /DLL Name:/ {print tolower($3)}')"
delayed="$(echo "$headers" | awk '/^The Delay Import Tables/ {d=1} d && /DLL Name:/ {print tolower($3)}')"
[ -n "$imports" ] || fail "no import table found"
for dll in $imports; do
    if [[ " $plain_allowed " == *" $dll "* ]]; then
        pass "imports $dll"
    else
        fail "imports $dll directly: delay-load it (cmake/hardening.cmake)"
    fi
done
for dll in $delayed; do
    if [[ " $(echo $delay_loaded) " == *" $dll "* ]]; then
        pass "delay-loads $dll"
    else
        fail "delay-loads $dll, which is not an expected system DLL"
    fi
done
for dll in $delay_loaded; do
    if [[ " $(echo $imports) " == *" $dll "* ]]; then
        fail "$dll is imported directly, so it loads before wWinMain can limit the search"
    else
        pass "$dll is not imported directly"
    fi
done

if LC_ALL=C grep -aq 'stack smashing detected' "$exe"; then
    fail "libssp is linked in: its start-up code loads DLLs before wWinMain"
else
    pass "libssp not linked in"
fi
if grep -q 'CryptAcquireContext' <<<"$headers"; then
    fail "imports CryptAcquireContext, which loads crypto provider DLLs"
else
    pass "no crypto provider is loaded at start-up"
fi

pe_offset="$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')"
stamp="$(od -An -tu4 -j$((pe_offset + 8)) -N4 "$exe" | tr -d ' ')"
[ "$stamp" = 0 ] && pass "no link time in the PE header" ||
    fail "the PE header holds a link time (${stamp:-unreadable}): two builds differ"
header_sum="$(echo "$headers" | awk '/^CheckSum/ {print toupper($2); exit}')"
# Unsigned files make osslsigncode fail after it printed the checksum.
real_sum="$(osslsigncode verify -in "$exe" 2>&1 | awk '/^(Calculated )?PE checksum *:/ {sum = $NF} END {print sum}')"
[ -n "$real_sum" ] && [ "$real_sum" = "$header_sum" ] && pass "PE checksum $header_sum agrees with the bytes" ||
    fail "PE checksum ${header_sum:-unreadable} in the header, ${real_sum:-none (is osslsigncode installed?)} calculated"
for folder in "${@:5}"; do
    { strings -a "$exe"; strings -a -el "$exe"; } | grep -qF "$folder" &&
        fail "the image names $folder: a build elsewhere differs" || pass "the image does not name $folder"
done

[ "$failures" -eq 0 ]
