// The characters an entry may hold: whatever the line-based, single-byte files it ends up in can carry.
#include "validation/entry_characters.h"

#include "common/text_characters.h"
#include "common/text_format.h"

std::optional<UnstorableCharacter> FindUnstorableCharacter(const std::wstring& text) {
  // A control character comes first: a line break would shift every line of a file below it.
  if (HoldsControlCharacter(text)) return UnstorableCharacter{true, {}};
  if (auto beyond = FirstCharacterBeyondSingleByte(text)) return UnstorableCharacter{false, std::move(*beyond)};
  return std::nullopt;
}

std::wstring UnstorableCharacterMessage(const std::wstring& entryLabel, const UnstorableCharacter& found) {
  if (found.control) {
    return FormatText(
        L"The entry \"%s\" holds a control character, such as a tab or a line break, which the wizard's files can "
        L"not hold. Please remove it.",
        {entryLabel});
  }
  return FormatText(
      L"The entry \"%s\" holds the character \"%s\", which the wizard's files can not hold. Please use only "
      L"Western European (Latin-1) characters.",
      {entryLabel, found.character});
}
