// Text files a person writes or a server's tools print, as wide lines: UTF-8 or UTF-16LE, CR LF or LF.
#pragma once

#include <string>
#include <vector>

// UTF-16LE when the bytes begin with its byte-order mark (PowerShell's `>` writes that),
// otherwise UTF-8 (ASCII included), with or without a byte-order mark.
std::wstring DecodeLabText(const std::string& bytes);

// The lines of `text` without their CR LF or LF; line i of the result is line i + 1 of the file.
std::vector<std::wstring> SplitLabLines(const std::wstring& text);

// Blanks and tabs removed from both ends.
std::wstring TrimBlanks(const std::wstring& text);
