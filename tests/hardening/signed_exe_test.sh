#!/usr/bin/env bash
# The exe signed by scripts/sign with a throwaway self-signed certificate:
# the signature verifies, removing it gives back the exe as built, the signed
# exe passes check_pe.sh, and a failed signing leaves no exe. With
# --setup-mode, the signed exe runs tests/e2e/setup_mode_e2e.sh instead.
# Usage: signed_exe_test.sh <check_pe.sh arguments: objdump exe ...>
#        signed_exe_test.sh --setup-mode <folder of the exe and skins>
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
sign="$here/../../scripts/sign"
work="$(mktemp -d "${TMPDIR:-/tmp}/tvx-sign.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description command...
    if "${@:2}"; then echo "PASS $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=TavolexCheck test" -days 1 \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
    openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" -passout pass:test-password \
        -out "$work/cert.pfx" || { echo "FAIL openssl cannot make a test certificate"; exit 1; }
export TVX_SIGN_PFX="$work/cert.pfx" TVX_SIGN_PASSWORD=test-password

if [ "$1" = --setup-mode ]; then
    mkdir "$work/bin" && cp -r "$2"/skin_tavolex_* "$2/layout_centre.exe" "$work/bin/" &&
        "$sign" "$2/TavolexCheck.exe" "$work/bin/TavolexCheck.exe" || exit 1
    bash "$here/../e2e/setup_mode_e2e.sh" "$work/bin"
    exit
fi

exe="$2" signed="$work/signed.exe"
check "$("$sign" "$exe" "$signed" 2>&1)" osslsigncode verify -CAfile "$work/cert.pem" -in "$signed"
check "the signed exe passes check_pe.sh" bash "$here/check_pe.sh" "$1" "$signed" "${@:3}"
osslsigncode remove-signature -in "$signed" -out "$work/unsigned.exe" >/dev/null
check "removing the signature gives back the exe as built" cmp "$exe" "$work/unsigned.exe"
for failing in TVX_SIGN_PASSWORD=wrong TVX_SIGN_TIMESTAMP=http://127.0.0.1:9/; do
    check "$failing fails and leaves no exe" \
        bash -c '! env "$1" "$2" "$3" "$4" 2>/dev/null && [ ! -e "$4" ]' - "$failing" "$sign" "$exe" "$work/failed.exe"
done
[ "$failures" -eq 0 ]
