// The single-byte text files the wizard keeps, in both directions: lines to bytes and back.
#pragma once

#include <string>
#include <vector>

// Joins lines into a file's single-byte text, each ended by CR LF as a Windows text file is.
std::string WindowsTextFile(const std::vector<std::wstring>& lines);

// One entry per line: split at LF, a CR before the LF dropped, every other byte kept.
// A last line without its line end still counts; the empty piece after a final LF does not.
std::vector<std::wstring> SplitTextLines(const std::string& bytes);
