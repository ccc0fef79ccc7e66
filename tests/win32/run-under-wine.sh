#!/bin/sh
# Runs Windows test executables under Wine for CTest, on a private Xvfb display.
#
#   run-under-wine.sh start STATE_DIR          make the prefix (once), start Xvfb and keep a wineserver alive
#   run-under-wine.sh run   STATE_DIR EXE ARGS runs EXE under Wine, with drives D: and E: mapped to empty
#                                              test folders, and exits with its exit code
#   run-under-wine.sh stop  STATE_DIR          wineserver -k, then stop Xvfb
#
# STATE_DIR holds the prefix (STATE_DIR/prefix), the display number and the logs. Wine's output always
# goes to a file, never to a pipe: Wine's background services inherit it and would keep a pipe open.
set -u
mode=$1
state=$2
shift 2

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# Keep Wine from asking to install Mono or Gecko while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The file in the root of D: and E: that tells the tests the drive is a test folder they may fill and empty.
export DUPLEX_TEST_DRIVE_MARKER=duplex-test-drive.marker

# Drives D: and E: of the prefix are empty folders of the state directory while a test executable runs,
# so that tests can lay out the fixed D:\ and E:\ paths the program uses without touching anything
# else; each holds a marker file by which the tests know it is theirs. Whatever the prefix had at
# those letters is moved aside and put back afterwards (also after a run that died half-way).
map_test_drives() {
  for letter in d e; do
    link="$WINEPREFIX/dosdevices/$letter:"
    saved="$link.duplex-saved"
    folder="$state/drive-$letter"
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$folder" ]; then
      rm -f "$link"
    elif [ -e "$link" ] || [ -L "$link" ]; then
      if [ -e "$saved" ] || [ -L "$saved" ]; then
        echo "both $link and $saved exist: put back the one that belongs there"
        return 1
      fi
      mv "$link" "$saved"
    fi
    rm -rf "$folder"
    mkdir -p "$folder"
    : >"$folder/$DUPLEX_TEST_DRIVE_MARKER"
    ln -s "$folder" "$link"
  done
}

restore_drives() {
  for letter in d e; do
    link="$WINEPREFIX/dosdevices/$letter:"
    saved="$link.duplex-saved"
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$state/drive-$letter" ]; then rm -f "$link"; fi
    if { [ -e "$saved" ] || [ -L "$saved" ]; } && ! { [ -e "$link" ] || [ -L "$link" ]; }; then mv "$saved" "$link"; fi
  done
}

case "$mode" in
start)
  mkdir -p "$state"
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null
  fi
  rm -f "$state/display"
  # Xvfb picks a free display and writes its number on descriptor 3.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  tries=0
  while [ ! -s "$state/display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then echo "Xvfb did not start; see $state/xvfb.log"; exit 1; fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$state/display")"
  if [ ! -f "$state/prefix/.duplex-ready" ]; then
    rm -rf "$state/prefix"
    wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || { cat "$state/wineboot.log"; exit 1; }
    # Making a prefix can leave two service managers running side by side for a few seconds; a service
    # started then may be lost to the other one. Let that first session end before the tests begin.
    wineserver -w </dev/null >>"$state/wineboot.log" 2>&1
    touch "$state/prefix/.duplex-ready"
  fi
  # Wine's own fonts (fonts-wine: Marlett for the caption buttons, the MS Sans Serif stand-in) are not
  # found where Debian's Wine 8 looks for them; a prefix's Fonts folder is searched first.
  for font in /usr/share/wine/fonts/*; do
    if [ -e "$font" ]; then ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
  done
  wineserver -p </dev/null >"$state/wineserver.log" 2>&1
  # Xvfb runs no window manager, and Wine waits up to two seconds for one to confirm each window it
  # hides (every closed box and dialog). Windows that Wine keeps to itself are hidden at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >"$state/x11-driver.log" 2>&1 ||
    { cat "$state/x11-driver.log"; exit 1; }
  echo "Wine prefix $WINEPREFIX ready on display $DISPLAY"
  ;;
run)
  if [ ! -s "$state/display" ]; then echo "run the duplex_wine_start test first"; exit 1; fi
  export DISPLAY=":$(head -n 1 "$state/display")"
  exe=$1
  shift
  log="$state/$(basename "$exe").log"
  map_test_drives || { restore_drives; exit 1; }
  wine "$exe" "$@" </dev/null >"$log" 2>&1
  rc=$?
  restore_drives
  cat "$log"
  exit $rc
  ;;
stop)
  wineserver -k </dev/null >/dev/null 2>&1
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null
    rm -f "$state/xvfb.pid"
  fi
  rm -f "$state/display"
  exit 0
  ;;
*)
  echo "usage: $0 start|run|stop STATE_DIR [EXE ARGS...]"
  exit 2
  ;;
esac
