#!/bin/sh
# Writes screenshots/readiness-report.png: a readiness report as a real browser draws it (headless Chromium).
#
#   tools/screenshot-report.sh [SAMPLE] [BUILD_DIR]
#
# SAMPLE is one of the reports readiness_report_samples writes: crossed-heartbeats (default),
# demo or many-findings. BUILD_DIR defaults to build/linux (the linux preset; build the target
# readiness_report_samples first). The browser runs with a fresh profile and no network access
# of its own, so nothing but the report's file is read.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
sample=${1:-crossed-heartbeats}
build=${2:-$root/build/linux}
tool=$build/tests/readiness/readiness_report_samples
[ -x "$tool" ] || { echo "$tool not built (cmake --build $build --target readiness_report_samples)" >&2; exit 1; }
browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "chromium is not installed (bash tools/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

"$tool" "$work/reports" >/dev/null
[ -f "$work/reports/$sample.html" ] || { echo "no sample named $sample" >&2; exit 2; }

mkdir -p "$root/screenshots"
out=$root/screenshots/readiness-report.png
"$browser" --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --no-first-run --user-data-dir="$work/profile" --hide-scrollbars --window-size=1400,1700 \
  --screenshot="$out" "file://$work/reports/$sample.html" 2>"$work/browser.log" || {
  cat "$work/browser.log" >&2
  exit 1
}
echo "$out"
