// Text files a person writes or a server's tools print, as wide lines: UTF-8 or UTF-16LE, CR LF or LF.
#pragma once

#include <string>
#include <vector>

// How text without a byte-order mark is read: UTF-8 (ASCII included), or Windows-1252, the
// code page REGEDIT4 exports are written in on a Western server.
enum class UnmarkedText { Utf8, Windows1252 };

// UTF-16LE when the bytes begin with its byte-order mark (PowerShell's `>` and version 5 exports
// write that), UTF-8 after a UTF-8 byte-order mark, otherwise as `unmarked` says.
std::wstring DecodeLabText(const std::string& bytes, UnmarkedText unmarked = UnmarkedText::Utf8);

// Windows-1252 bytes as Windows reads them: 0x80 is the euro sign, 0x96 a dash, 0x92 a right
// quote; the five bytes the code page leaves unassigned become the control characters of their value.
std::wstring WideFromWindows1252(const std::string& bytes);

// The lines of `text` without their CR LF or LF; line i of the result is line i + 1 of the file.
std::vector<std::wstring> SplitLabLines(const std::wstring& text);

// Blanks and tabs removed from both ends.
std::wstring TrimBlanks(const std::wstring& text);
