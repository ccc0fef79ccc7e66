#!/usr/bin/env bash
# Sets up, builds the lab edition and opens the wizard on the bundled demo lab.
# The first run copies the demo lab to ~/.local/state/duplex-setup/demo-lab; set
# DUPLEX_SETUP_LAB to use another lab folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux
exec ./build/linux/DuplexSetupAssistant
