// What the user is told when one of the wizard's files could not be written.
#include "generation/file_replacement.h"

#include "common/text_encoding.h"
#include "common/text_format.h"

std::wstring FileReplacementFailure(FileWriteStep failedStep, const std::wstring& path, Status rc) {
  switch (failedStep) {
    case FileWriteStep::Open: return FormatText(L"Unable to open the file %s. rc = %ld", {path, rc});
    case FileWriteStep::Write: return FormatText(L"Unable to write the file %s. rc = %ld", {path, rc});
    case FileWriteStep::Replace: return FormatText(L"Unable to replace the file %s. rc = %ld", {path, rc});
  }
  return FormatText(L"Unable to write the file %s. rc = %ld", {path, rc});
}

std::string WindowsTextFile(const std::wstring* lines, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += SingleByteFromWide(lines[i]) + "\r\n";
  return text;
}
