// Splits the single-byte text files the wizard keeps into their lines.
#pragma once

#include <string>
#include <vector>

// One entry per line: split at LF, a CR before the LF dropped, every other byte kept.
// A last line without its line end still counts; the empty piece after a final LF does not.
std::vector<std::wstring> SplitTextLines(const std::string& bytes);
