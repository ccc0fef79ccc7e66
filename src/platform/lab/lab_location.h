// Which lab a run uses: the one DUPLEX_SETUP_LAB names, or a per-user copy of the bundled demo lab.
#pragma once

#include <filesystem>
#include <string>

inline constexpr char kLabVariable[] = "DUPLEX_SETUP_LAB";

// The folder DUPLEX_SETUP_LAB names, or empty when it is not set.
std::filesystem::path NamedLabFolder();

// The per-user copy of the demo lab ($XDG_STATE_HOME/duplex-setup/demo-lab, or
// ~/.local/state/duplex-setup/demo-lab), copied from `bundledDemo` on first use so that
// the bundled copy is never written. Empty with `error` set when the copy failed.
std::filesystem::path PrepareDemoLabCopy(const std::filesystem::path& bundledDemo, std::string* error);
