// Which lab a run uses: the one DUPLEX_SETUP_LAB names, or a per-user copy of the bundled demo lab.
#pragma once

#include <filesystem>
#include <string>

inline constexpr char kLabVariable[] = "DUPLEX_SETUP_LAB";

// The folder DUPLEX_SETUP_LAB names, or empty when it is not set.
std::filesystem::path NamedLabFolder();

// The demo lab that comes with the program in `programFolder`: `demo-lab` beside it in a build folder, else
// the installed labs' `demo` (share/duplex-setup-assistant/labs of the same prefix as the program's
// lib/duplex-setup-assistant). Either way a folder never written: runs use a copy (below).
std::filesystem::path BundledDemoLab(const std::filesystem::path& programFolder);

// The per-user copy of the demo lab ($XDG_STATE_HOME/duplex-setup/demo-lab, or
// ~/.local/state/duplex-setup/demo-lab), copied from `bundledDemo` on first use so that
// the bundled copy is never written. Empty with `error` set when the copy failed.
std::filesystem::path PrepareDemoLabCopy(const std::filesystem::path& bundledDemo, std::string* error);
