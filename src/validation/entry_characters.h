// The characters an entry may hold: whatever the line-based, single-byte files it ends up in can carry.
#pragma once

#include <optional>
#include <string>

// What keeps a text out of the wizard's files.
struct UnstorableCharacter {
  bool control = false;    // a tab, a line break, a NUL or another invisible control
  std::wstring character;  // otherwise the first character beyond the single-byte set
};

// The first problem `text` has, or nothing when every character can be stored exactly.
std::optional<UnstorableCharacter> FindUnstorableCharacter(const std::wstring& text);

// The message that names the entry by its label and says why it can't be taken.
std::wstring UnstorableCharacterMessage(const std::wstring& entryLabel, const UnstorableCharacter& found);
