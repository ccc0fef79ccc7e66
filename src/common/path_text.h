// File names as wide text and back, through UTF-8 so that no locale can get in the way (the "C" locale
// of a C++ program can't convert any character beyond ASCII, and the conversion then throws).
#pragma once

#include <filesystem>
#include <string>

#include "common/text_encoding.h"

inline std::filesystem::path PathFromWide(const std::wstring& text) {
  const std::string utf8 = Utf8FromWide(text);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::wstring WideFromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return WideFromUtf8(std::string(utf8.begin(), utf8.end()));
}
