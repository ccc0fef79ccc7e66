#!/bin/sh
# Captures the Windows program's main window, as Wine draws it, into screenshots/win32-wizard.png.
#
#   tools/screenshot-win32.sh [BUILD_DIR [DPI]]   (BUILD_DIR defaults to build/windows, DPI to 96)
#
# Another DPI (144 is a 150 % display) is set as the prefix's LogPixels, and the picture goes to
# screenshots/win32-wizard-DPIdpi.png.
# Builds nothing: build first with `cmake --preset windows && cmake --build --preset windows`.
# Runs DuplexSetupAssistant.exe under Wine on a private Xvfb display, in a throw-away Wine prefix,
# against a temporary copy of the bundled demo lab (whose local computer has the high-availability
# feature enabled, so the window stays open). Waits for the window, crops the screen to it, then
# closes the program and ends that prefix's Wine server. Needs Xvfb, wine, ImageMagick and xwininfo.
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${1:-$source_dir/build/windows}" && pwd)
exe="$build_dir/DuplexSetupAssistant.exe"
dpi=${2:-96}
case $dpi in *[!0-9]* | '') echo "DPI must be a number, not $dpi" >&2; exit 2 ;; esac
output="$source_dir/screenshots/win32-wizard.png"
[ "$dpi" = 96 ] || output="$source_dir/screenshots/win32-wizard-${dpi}dpi.png"
[ -f "$exe" ] || { echo "no $exe: build the windows preset first" >&2; exit 1; }

work=$(mktemp -d /tmp/duplex-screenshot.XXXXXX)
xvfb_pid=
wine_pid=
cleanup() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The lab: the bundled demo when it is there, else the smallest lab that keeps the window open.
if [ -f "$source_dir/lab/demo/lab.conf" ]; then
  cp -r "$source_dir/lab/demo" "$work/lab"
else
  mkdir -p "$work/lab/servers/NODE-A" "$work/lab/drives/D"
  printf 'computer-name = NODE-A\n' >"$work/lab/lab.conf"
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\r\n"HighAvailMode"=dword:00000001\r\n' \
    >"$work/lab/servers/NODE-A/product.reg"
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1)); [ $tries -le 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i </dev/null >"$work/wineboot.log" 2>&1
# There is no window manager on the display: let Wine draw the caption and frame itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$work/wineboot.log" 2>&1
# Wine's own fonts (fonts-wine: Marlett for the caption buttons, Tahoma, the MS Sans Serif stand-in)
# are not found where Debian's Wine 8 looks for them; a prefix's Fonts folder is searched first.
for font in /usr/share/wine/fonts/*; do
  if [ -e "$font" ]; then ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
done
if [ "$dpi" != 96 ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >>"$work/wineboot.log" 2>&1
  # Read as a prefix starts: let this one end, so that the program starts it afresh.
  wineserver -w
fi

# Wine maps the Unix root to drive Z:.
lab_windows_path="Z:$(printf '%s' "$work/lab" | tr '/' '\\')"
DUPLEX_SETUP_LAB="$lab_windows_path" wine "$exe" </dev/null >"$work/program.log" 2>&1 &
wine_pid=$!

window=
tries=0
while [ -z "$window" ]; do
  tries=$((tries + 1)); [ $tries -le 300 ] || { echo "the window did not appear" >&2; cat "$work/program.log" >&2; exit 1; }
  sleep 0.1
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Duplex Setup Assistant"/ {print $1; exit}')
done
sleep 2  # let the list and the controls finish painting

geometry=$(xwininfo -id "$window")
x=$(printf '%s\n' "$geometry" | awk '/Absolute upper-left X/ {print $4}')
y=$(printf '%s\n' "$geometry" | awk '/Absolute upper-left Y/ {print $4}')
width=$(printf '%s\n' "$geometry" | awk '/Width:/ {print $2}')
height=$(printf '%s\n' "$geometry" | awk '/Height:/ {print $2}')

mkdir -p "$(dirname "$output")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$output"
echo "wrote $output (${width}x${height})"

# Escape is the dialog's Cancel: the window closes without asking.
if command -v xdotool >/dev/null 2>&1; then
  xdotool key --window "$window" Escape 2>/dev/null || true
fi
tries=0
while kill -0 "$wine_pid" 2>/dev/null && [ $tries -lt 50 ]; do tries=$((tries + 1)); sleep 0.1; done
