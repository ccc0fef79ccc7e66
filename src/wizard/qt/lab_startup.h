// Which lab a run of the lab edition uses, shared by the program, its screenshot tool and its benchmark.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

class Lab;

// The lab DUPLEX_SETUP_LAB names; without it, the per-user copy of the demo lab bundled beside
// the executable. Null with `error` set when no lab could be prepared or loaded.
std::unique_ptr<Lab> LoadRunLab(std::string* error);
