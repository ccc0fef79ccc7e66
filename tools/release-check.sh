#!/usr/bin/env bash
# Makes both release packages and checks them as a user would (docs/release.md), after the linux and
# windows presets are built (tools/test-all.sh runs it last):
# - Windows: a throwaway CA and code-signing certificate (openssl), the zip signed with it, its SHA256SUMS
#   checked, each binary's signature verified against that CA, and a tampered copy refused;
# - Linux: the .deb's SHA256SUMS, its contents and its dependencies, the program run from the unpacked
#   package; with CI=true, as root, the package installed with apt-get, run (version, check on a copy of the
#   installed demo lab) and removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
version=$(sed -n 's/^project(DuplexSetupAssistant VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "release check FAILED: $*" >&2
  exit 1
}

echo "=== release $version: Windows zip, signed with a throwaway certificate"
pki=$work/pki
mkdir -p "$pki"
password=$(openssl rand -hex 16)
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$pki/ca.key" -out "$pki/ca.pem" -days 2 -subj "/CN=Throwaway test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$pki/signer.key" -out "$pki/signer.csr" \
  -subj "/O=Zandor/CN=Zandor test code signing" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$pki/signer.ext"
openssl x509 -req -in "$pki/signer.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" -CAcreateserial -days 2 \
  -extfile "$pki/signer.ext" -out "$pki/signer.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$pki/signer.key" -in "$pki/signer.pem" -certfile "$pki/ca.pem" \
  -out "$pki/signer.p12" -passout "pass:$password"

DUPLEX_SIGN_PKCS12=$pki/signer.p12 DUPLEX_SIGN_PASSWORD=$password cmake --build --preset windows --target package
zip=build/windows/release/DuplexSetupAssistant-$version-win64.zip
[ -f "$zip" ] || fail "no $zip"
(cd build/windows/release && sha256sum -c SHA256SUMS) || fail "the zip's checksum"
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$source/$zip")
for binary in DuplexSetupAssistant.exe DuplexSetupAssistant.com SetupLogKit.dll; do
  osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/zip/$binary" >"$work/verify.txt" 2>&1 ||
    fail "$binary: $(cat "$work/verify.txt")"
  echo "signature verified: $binary"
done
# The verification must be able to fail: one changed byte of the signed program breaks it.
cp "$work/zip/DuplexSetupAssistant.exe" "$work/tampered.exe"
printf 'X' | dd of="$work/tampered.exe" bs=1 seek=1024 conv=notrunc status=none
if osslsigncode verify -CAfile "$pki/ca.pem" -in "$work/tampered.exe" >/dev/null 2>&1; then
  fail "a tampered program verified"
fi
echo "a tampered copy is refused"

echo "=== release $version: lab edition .deb"
cmake --build --preset linux --target package
deb=build/linux/release/duplex-setup-assistant_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"
(cd build/linux/release && sha256sum -c SHA256SUMS) || fail "the .deb's checksum"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libstdc++6 qt6-qpa-plugins; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/DuplexSetupAssistant ./usr/lib/duplex-setup-assistant/libSetupLogKit.so \
  ./usr/share/duplex-setup-assistant/labs/demo/lab.conf ./usr/share/duplex-setup-assistant/labs/crossed-heartbeats/lab.conf \
  ./usr/share/applications/duplex-setup-assistant.desktop ./usr/share/doc/duplex-setup-assistant/README.txt; do
  grep -q " $path\( ->.*\)\?$" <<<"$contents" || fail "the .deb lacks $path"
done

# The program under `root` (/ once installed): its version, then check on the bundled demo lab, once through the
# per-user copy the program makes itself and once on a copy made by hand, as a support desk would.
run_installed() {
  local root=$1 home=$work/home-$2
  local program=$root/usr/bin/DuplexSetupAssistant
  mkdir -p "$home"
  [ "$(HOME=$home XDG_STATE_HOME= "$program" version)" = "DuplexSetupAssistant $version (lab edition)" ] ||
    fail "$program version: $(HOME=$home "$program" version 2>&1)"
  local code=0
  HOME=$home XDG_STATE_HOME= DUPLEX_SETUP_LAB= "$program" check answers tests/release/demo-answers.dat \
    >"$work/check.txt" 2>&1 || code=$?
  [ $code -eq 0 ] || fail "check on the per-user demo copy: exit code $code: $(cat "$work/check.txt")"
  [ -f "$home/.local/state/duplex-setup/demo-lab/install.log" ] || fail "no per-user copy of the bundled demo"
  cp -r "$root/usr/share/duplex-setup-assistant/labs/demo" "$work/lab-$2"
  code=0
  HOME=$home DUPLEX_SETUP_LAB=$work/lab-$2 "$program" check answers tests/release/demo-answers.dat \
    >"$work/check.txt" 2>&1 || code=$?
  [ $code -eq 0 ] || fail "check on a copy of the demo lab: exit code $code: $(cat "$work/check.txt")"
  grep -q "^Summary: node-a and node-b; Step 2 validation passed;" "$work/check.txt" || fail "$(cat "$work/check.txt")"
  echo "$program: version and check as documented"
}

dpkg-deb -x "$deb" "$work/unpacked"
run_installed "$work/unpacked" unpacked

if [ "${CI:-}" = "true" ] && [ "$(id -u)" -eq 0 ]; then
  echo "=== installing $deb (CI)"
  trap 'apt-get remove -y -qq duplex-setup-assistant >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "./$deb" </dev/null \
    >"$work/apt.txt" 2>&1 || fail "apt-get install: $(cat "$work/apt.txt")"
  [ "$(command -v DuplexSetupAssistant)" = /usr/bin/DuplexSetupAssistant ] || fail "not on PATH once installed"
  run_installed "" installed
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 duplex-setup-assistant </dev/null \
    >"$work/apt.txt" 2>&1 || fail "apt-get remove: $(cat "$work/apt.txt")"
  [ ! -e /usr/bin/DuplexSetupAssistant ] && [ ! -e /usr/share/duplex-setup-assistant ] || fail "left behind on removal"
  echo "installed, ran and removed"
fi
echo "=== release $version checked"
