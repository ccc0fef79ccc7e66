// Where the running program's own file lies: the one place its companions (the log library, the demo lab, the
// window program beside the console one) are looked for, and what its boxes are titled after.
#pragma once

#include <filesystem>

// The running executable's full path (GetModuleFileNameW on Windows, /proc/self/exe on Linux);
// empty when the system cannot tell.
std::filesystem::path ExecutablePath();

// The folder ExecutablePath() lies in; empty when the system cannot tell.
inline std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }
