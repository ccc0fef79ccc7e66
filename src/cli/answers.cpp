// The entries a run without a window works with: the defaults file the window reads, or a file of the same form.
#include "cli/answers.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/cli_output.h"
#include "cli/exit_codes.h"
#include "common/path_text.h"
#include "common/text_format.h"
#include "generation/defaults_file.h"
#include "generation/paths.h"
#include "platform/platform.h"

namespace {
bool ReadHostFile(const std::wstring& path, std::string* bytes) {
  std::ifstream in(PathFromWide(path), std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}
}  // namespace

int LoadAnswers(const std::wstring& answersFile, Platform& platform, CliOutput& output, Entries* entries) {
  std::wstring computer;
  if (platform.machine.QueryComputerName(&computer) == status::Success) {
    entries->Node1HostName = computer.substr(0, 255);
  }
  std::string bytes;
  if (!answersFile.empty()) {
    if (!ReadHostFile(answersFile, &bytes)) {
      output.Problem(FormatText(L"The answers file %s cannot be read.", {answersFile}));
      return exitcode::Usage;
    }
    output.Say(FormatText(L"Answers: %s", {answersFile}));
  } else if (const Status rc = platform.files.ReadWholeFile(kDefaultsFilePath, &bytes); rc != status::Success) {
    output.Problem(FormatText(L"No answers were saved: the defaults file %s could not be read. rc = %ld",
                              {kDefaultsFilePath, rc}));
    return exitcode::Clean;
  } else {
    output.Say(FormatText(L"Answers: %s", {kDefaultsFilePath}));
  }
  ReadDefaultsFile(bytes, *entries);
  return exitcode::Clean;
}
