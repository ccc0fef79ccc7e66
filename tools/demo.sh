#!/usr/bin/env bash
# Sets up, builds the lab edition and opens the wizard on the bundled demo lab.
# The first run copies the demo lab to ~/.local/state/duplex-setup/demo-lab; set
# DUPLEX_SETUP_LAB to use another lab folder.
#
# With a lab name (bash tools/demo.sh clan-missing) it opens that lab of lab/ instead, on a
# fresh copy in ~/.local/state/duplex-setup/labs/<name> (or under $XDG_STATE_HOME), made
# anew on every run so that a rehearsal always starts from the bundled state and never
# writes into the repository. A path to a lab folder (bash tools/demo.sh ~/site-capture, a
# folder written by the command capture) is opened the same way, on a fresh copy named after it.
set -euo pipefail
cd "$(dirname "$0")/.."

lab_name="${1:-}"
lab_source=""
if [ -n "$lab_name" ]; then
  if [[ "$lab_name" == */* ]] || { [ -d "$lab_name" ] && [ ! -d "lab/$lab_name" ]; }; then
    if [ ! -f "$lab_name/lab.conf" ]; then
      echo "'$lab_name' is no lab folder: it has no lab.conf" >&2
      exit 2
    fi
    lab_source="$(cd "$lab_name" && pwd -P)"
    lab_name="$(basename "$lab_source")"
  elif ! [[ "$lab_name" =~ ^[A-Za-z0-9][A-Za-z0-9_-]*$ ]] || [ ! -f "lab/$lab_name/lab.conf" ]; then
    echo "no bundled lab named '$lab_name'; the labs are:" >&2
    for conf in lab/*/lab.conf; do echo "  $(basename "$(dirname "$conf")")" >&2; done
    exit 2
  else
    lab_source="lab/$lab_name"
  fi
fi

# Copied before the build, so that a lab refused for a link (tools/copy-lab.sh) is said at once.
if [ -n "$lab_name" ]; then
  copy="${XDG_STATE_HOME:-$HOME/.local/state}/duplex-setup/labs/$lab_name"
  mkdir -p -- "$(dirname "$copy")"
  bash tools/copy-lab.sh "$lab_source" "$copy"
fi

bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

if [ -n "$lab_name" ]; then
  echo "Opening the lab $lab_name on its copy $copy (install log: $copy/install.log)"
  export DUPLEX_SETUP_LAB="$copy"
fi
exec ./build/linux/DuplexSetupAssistant
