// What the user is told when one of the wizard's files could not be written.
#include "generation/file_write_failure_message.h"

#include "common/text_format.h"

std::wstring FileWriteFailureMessage(FileWriteStep failedStep, const std::wstring& path, Status rc) {
  switch (failedStep) {
    case FileWriteStep::Open: return FormatText(L"Unable to open the file %s. rc = %ld", {path, rc});
    case FileWriteStep::Write: return FormatText(L"Unable to write the file %s. rc = %ld", {path, rc});
    case FileWriteStep::Replace: return FormatText(L"Unable to replace the file %s. rc = %ld", {path, rc});
  }
  return FormatText(L"Unable to write the file %s. rc = %ld", {path, rc});
}
