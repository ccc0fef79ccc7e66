// The single-byte text files the wizard keeps, in both directions: lines to bytes and back.
#pragma once

#include <string>
#include <vector>

#include "common/status.h"

// Joins lines into a file's single-byte text, each ended by CR LF as a Windows text file is.
// A character beyond U+00FF has no single-byte form: rather than write a stand-in for it, the
// whole text is refused with 1113 and `bytes` is left empty.
[[nodiscard]] Status WindowsTextFile(const std::vector<std::wstring>& lines, std::string* bytes);

// One entry per line: split at LF, a CR before the LF dropped, every other byte kept.
// A last line without its line end still counts; the empty piece after a final LF does not.
std::vector<std::wstring> SplitTextLines(const std::string& bytes);
