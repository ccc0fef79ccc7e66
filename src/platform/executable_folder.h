// Where the running program's own file lies: the one place its companions (the log library, the demo lab) are looked
// for.
#pragma once

#include <filesystem>

// The folder of the running executable (GetModuleFileNameW on Windows, /proc/self/exe on Linux);
// empty when the system cannot tell.
std::filesystem::path ExecutableFolder();
