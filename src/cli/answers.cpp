// The entries a run without a window works with: the defaults file the window reads, or a file of the same form.
#include "cli/answers.h"

#include "cli/cli_output.h"
#include "cli/exit_codes.h"
#include "common/path_text.h"
#include "common/text_format.h"
#include "generation/defaults_file.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "wizard/shown_path.h"

namespace {
// An answers file is eleven short lines; anything much larger is not one.
constexpr std::size_t kMaxAnswersBytes = 64 * 1024;

// Why FILE was refused, after "The answers file FILE cannot be read."
std::wstring Why(Status rc) {
  switch (rc) {
    case status::FileNotFound:
    case status::PathNotFound: return L"It is not there.";
    case status::BadFileType: return L"It is not a file: a folder, a device or a pipe.";
    case status::FileTooLarge: return L"It is larger than 64 KiB; an answers file is eleven short lines.";
    default: return FormatText(L"rc = %ld", {rc});
  }
}
}  // namespace

int LoadAnswers(const std::wstring& answersFile, Platform& platform, FileSystem& hostFiles, CliOutput& output,
                Entries* entries) {
  std::wstring computer;
  if (platform.machine.QueryComputerName(&computer) == status::Success) {
    entries->Node1HostName = computer.substr(0, 255);
  }
  std::string bytes;
  if (!answersFile.empty()) {
    // FILE is whatever was typed: only a small file is read, and nothing else is even opened for long.
    if (const Status rc = hostFiles.ReadBoundedFile(answersFile, kMaxAnswersBytes, &bytes); rc != status::Success) {
      output.Problem(FormatText(L"The answers file %s cannot be read. %s", {answersFile, Why(rc)}));
      return exitcode::Usage;
    }
    output.Say(FormatText(L"Answers: %s", {answersFile}));
  } else if (const Status rc = platform.files.ReadWholeFile(kDefaultsFilePath, &bytes); rc != status::Success) {
    // Said before the entry rules stop at the first empty entry, with the two ways on.
    output.Problem(FormatText(
        L"No answers were saved: the defaults file %s could not be read. rc = %ld. Save them with Steps 1 and 2 of "
        L"the window, or name a file of them: check answers FILE (docs/unattended.md).",
        {ShownPath(platform.files, kDefaultsFilePath), rc}));
    return exitcode::Clean;
  } else {
    output.Say(FormatText(L"Answers: %s", {ShownPath(platform.files, kDefaultsFilePath)}));
  }
  ReadDefaultsFile(bytes, *entries);
  return exitcode::Clean;
}
