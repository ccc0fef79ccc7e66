#!/usr/bin/env bash
# Sets up, builds all three configurations and runs every test: the lab edition (GCC),
# the same with AddressSanitizer and UndefinedBehaviorSanitizer (Clang), and the Windows
# program cross-built with mingw-w64, its tests run under Wine with Xvfb; then both release
# packages made and checked (tools/release-check.sh: signatures, checksums, the .deb; with CI=true,
# as root, the .deb installed, run and removed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

for preset in linux linux-asan windows; do
  echo "=== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

failed=0
for preset in linux linux-asan windows; do
  echo "=== test: $preset"
  ctest --preset "$preset" || failed=1
done
echo "=== release packages"
bash tools/release-check.sh || failed=1
exit $failed
