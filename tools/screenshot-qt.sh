#!/bin/sh
# Writes screenshots/qt-wizard.png: the lab edition's wizard window as it opens, drawn offscreen.
#
#   tools/screenshot-qt.sh [BUILD_DIR]      (default build/linux, the linux preset; build it first)
#
# The window opens on the lab DUPLEX_SETUP_LAB names, else on the demo lab copied into the build
# folder. When neither is a complete lab, a minimal one (computer NODE-A with the high-availability
# feature enabled) is made in a temporary folder so that the window still opens.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
tool=$build/duplex_qt_screenshot
[ -x "$tool" ] || { echo "$tool not built (cmake --build $build --target duplex_qt_screenshot)" >&2; exit 1; }

temp_lab=
cleanup() { [ -z "$temp_lab" ] || rm -rf "$temp_lab"; }
trap cleanup EXIT

if [ -z "${DUPLEX_SETUP_LAB:-}" ] && [ ! -f "$build/demo-lab/lab.conf" ]; then
  temp_lab=$(mktemp -d)
  mkdir -p "$temp_lab/servers/NODE-A" "$temp_lab/drives/C" "$temp_lab/drives/D" "$temp_lab/drives/E"
  printf 'computer-name = NODE-A\n' > "$temp_lab/lab.conf"
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\r\n"HighAvailMode"=dword:00000001\r\n' \
    > "$temp_lab/servers/NODE-A/product.reg"
  DUPLEX_SETUP_LAB=$temp_lab
  export DUPLEX_SETUP_LAB
  echo "no complete demo lab in $build/demo-lab: using a minimal lab" >&2
fi

mkdir -p "$root/screenshots"
QT_QPA_PLATFORM=offscreen "$tool" "$root/screenshots/qt-wizard.png"
