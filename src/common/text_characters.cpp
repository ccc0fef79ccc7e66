// Which characters a text holds that the wizard's line-based, single-byte files can't carry.
#include "common/text_characters.h"

#include <algorithm>

bool IsControlCharacter(wchar_t c) { return c < L' ' || c == L'\x7F'; }

bool HoldsControlCharacter(const std::wstring& text) {
  return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

std::optional<std::wstring> FirstCharacterBeyondSingleByte(const std::wstring& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned long>(text[i]) <= 0xFF) continue;
    const bool highSurrogate = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    return text.substr(i, highSurrogate && i + 1 < text.size() ? 2 : 1);
  }
  return std::nullopt;
}
