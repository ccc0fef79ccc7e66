#!/usr/bin/env bash
# Signs Windows binaries in place with Authenticode (SHA-256) through osslsigncode (docs/release.md).
#
#   DUPLEX_SIGN_PKCS12=cert.p12 DUPLEX_SIGN_PASSWORD=... bash tools/sign-windows.sh FILE...
#
# DUPLEX_SIGN_PKCS12: the code-signing certificate, its key and its chain, as a PKCS#12 file.
# DUPLEX_SIGN_PASSWORD: that file's password; passed through a pipe, never on a command line.
# DUPLEX_SIGN_TIMESTAMP_URL (optional): an RFC 3161 time-stamping service, so that the signature stays
# valid after the certificate expires. A release with the real certificate sets it; tests never do,
# since it is a server on the Internet.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 FILE..." >&2
  exit 2
fi
: "${DUPLEX_SIGN_PKCS12:?names the PKCS#12 file of the code-signing certificate}"
: "${DUPLEX_SIGN_PASSWORD?holds the password of the PKCS#12 file}"

timestamp=()
if [ -n "${DUPLEX_SIGN_TIMESTAMP_URL:-}" ]; then timestamp=(-ts "$DUPLEX_SIGN_TIMESTAMP_URL"); fi

for file in "$@"; do
  signed="$file.signed"
  rm -f "$signed"
  printf '%s' "$DUPLEX_SIGN_PASSWORD" |
    osslsigncode sign -pkcs12 "$DUPLEX_SIGN_PKCS12" -readpass - -h sha256 -n "DuplexSetupAssistant" \
      "${timestamp[@]}" -in "$file" -out "$signed" >/dev/null
  mv "$signed" "$file"
  echo "signed $file"
done
