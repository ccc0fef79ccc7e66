// Which characters a text holds that the wizard's line-based, single-byte files can't carry.
#pragma once

#include <optional>
#include <string>

// Below U+0020, or U+007F: line breaks, tabs, NULs and the other invisible controls.
bool IsControlCharacter(wchar_t c);
bool HoldsControlCharacter(const std::wstring& text);

// The first character beyond U+00FF, which a single-byte file can't store exactly (a character
// outside the Basic Multilingual Plane is given whole, even where wchar_t holds it as two units).
std::optional<std::wstring> FirstCharacterBeyondSingleByte(const std::wstring& text);
