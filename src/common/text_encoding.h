// Conversions between the program's wide text and the byte forms it meets on disk and in the registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Registry data is UTF-16LE bytes whatever the host's wchar_t. An odd trailing byte is dropped.
std::wstring WideFromUtf16LeBytes(const std::uint8_t* data, std::size_t bytes);
std::vector<std::uint8_t> Utf16LeBytesFromWide(const std::wstring& text);

// Files the program writes are single-byte text: characters U+0000-U+00FF map to
// themselves, anything else becomes '?', as the runtime's default conversion does.
std::string SingleByteFromWide(const std::wstring& text);
std::wstring WideFromSingleByte(const std::string& bytes);

// UTF-8, for log files and lab files that a person edits.
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& bytes);
