// The program's command line: which command was asked for, with which options, or why it can't be read.
#include "cli/command_line.h"

#include "common/text_case.h"
#include "common/text_format.h"

namespace {
// The word without its switch prefix ("/check", "--check" and "check" are one word), lowered;
// `prefixed` says whether it had one.
std::wstring BareWord(const std::wstring& word, bool* prefixed = nullptr) {
  std::size_t skip = 0;
  if (word.rfind(L"--", 0) == 0) {
    skip = 2;
  } else if (word.rfind(L"/", 0) == 0) {
    skip = 1;
  }
  if (prefixed != nullptr) *prefixed = skip > 0;
  return ToLowerAscii(word.substr(skip));
}

// "a,b" as names; false when a name is empty.
bool SplitNames(const std::wstring& list, std::vector<std::wstring>* names) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(L',', start);
    const std::wstring name = list.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
    if (name.empty()) return false;
    names->push_back(name);
    if (comma == std::wstring::npos) return true;
    start = comma + 1;
  }
}

struct Option {
  const wchar_t* name;
  bool takesValue;
};

// The options each command takes.
std::vector<Option> OptionsOf(CommandKind kind) {
  switch (kind) {
    case CommandKind::Check: return {{L"answers", true}, {L"report", true}, {L"no-probes", false}};
    case CommandKind::Generate: return {{L"answers", true}, {L"force", false}};
    case CommandKind::Capture: return {{L"nodes", true}};
    case CommandKind::Summarize: return {{L"out", true}};
    case CommandKind::Help:
    case CommandKind::Version: return {};
  }
  return {};
}

const Option* FindOption(const std::vector<Option>& options, const std::wstring& bare) {
  for (const Option& option : options) {
    if (bare == option.name) return &option;
  }
  return nullptr;
}
}  // namespace

bool ParseCommandLine(const std::vector<std::wstring>& words, CommandLine* command, std::wstring* error) {
  *command = CommandLine();
  if (words.empty()) {
    *error = L"No command given.";
    return false;
  }
  const std::wstring verb = BareWord(words[0]);
  if (verb == L"help" || verb == L"?" || words[0] == L"-?") {
    command->kind = CommandKind::Help;
  } else if (verb == L"version") {
    command->kind = CommandKind::Version;
  } else if (verb == L"check") {
    command->kind = CommandKind::Check;
  } else if (verb == L"generate") {
    command->kind = CommandKind::Generate;
  } else if (verb == L"capture") {
    command->kind = CommandKind::Capture;
  } else if (verb == L"summarize") {
    command->kind = CommandKind::Summarize;
  } else {
    *error = FormatText(L"Unknown command \"%s\".", {words[0]});
    return false;
  }

  const std::vector<Option> options = OptionsOf(command->kind);
  std::vector<std::wstring> seen;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::wstring& word = words[i];
    bool prefixed = false;
    const std::wstring bare = BareWord(word, &prefixed);
    const Option* option = FindOption(options, bare);
    if (option == nullptr) {
      // The capture folder is the one word that is no option, even one starting with a slash: on
      // Linux a folder is often an absolute path such as /tmp/site.
      if (command->kind == CommandKind::Capture && command->captureFolder.empty() && !word.empty() &&
          word.rfind(L"--", 0) != 0) {
        command->captureFolder = word;
        continue;
      }
      // summarize reads every folder named, the same way.
      if (command->kind == CommandKind::Summarize && !word.empty() && word.rfind(L"--", 0) != 0) {
        command->folders.push_back(word);
        continue;
      }
      *error = FormatText(L"\"%s\" is not an option of %s.", {word, BareWord(words[0])});
      return false;
    }
    for (const std::wstring& earlier : seen) {
      if (earlier == bare) {
        *error = FormatText(L"The option %s is given twice.", {bare});
        return false;
      }
    }
    seen.push_back(bare);
    if (!option->takesValue) {
      (bare == L"force" ? command->force : command->noProbes) = true;
      continue;
    }
    if (i + 1 >= words.size() || words[i + 1].empty()) {
      *error = FormatText(L"The option %s needs a value after it.", {bare});
      return false;
    }
    const std::wstring& value = words[++i];
    if (bare == L"answers") {
      command->answersFile = value;
    } else if (bare == L"report") {
      command->reportFolder = value;
    } else if (bare == L"out") {
      command->outFolder = value;
    } else if (!SplitNames(value, &command->nodes)) {
      *error = FormatText(L"The option nodes takes host names separated by commas, not \"%s\".", {value});
      return false;
    }
  }
  if (command->kind == CommandKind::Capture && command->captureFolder.empty()) {
    *error = L"capture needs the folder to write.";
    return false;
  }
  if (command->kind == CommandKind::Summarize && command->folders.empty()) {
    *error = L"summarize needs the folders to read.";
    return false;
  }
  if ((command->kind == CommandKind::Help || command->kind == CommandKind::Version) && words.size() > 1) {
    *error = FormatText(L"\"%s\" is not an option of %s.", {words[1], BareWord(words[0])});
    return false;
  }
  return true;
}

std::vector<std::wstring> UsageLines() {
  return {
      L"Usage:",
      L"  DuplexSetupAssistant                                     opens the wizard window",
      L"  DuplexSetupAssistant check [answers FILE] [report FOLDER] [no-probes]",
      L"      checks the entries and both servers, probes the links from this node unless no-probes,",
      L"      saves the readiness report, prints every finding",
      L"  DuplexSetupAssistant generate [answers FILE] [force]",
      L"      Step 3 without a window: the checks, the installer's input files, the installer's run",
      L"  DuplexSetupAssistant capture FOLDER [nodes NAME,NAME]",
      L"      writes the servers' registry keys, services and this computer's files as a lab folder",
      L"  DuplexSetupAssistant summarize FOLDER... [out FOLDER]",
      L"      reads every readiness report under the folders, writes a fleet summary (HTML, CSV), worst first",
      L"  DuplexSetupAssistant version                             prints the program's version and edition",
      L"  DuplexSetupAssistant help",
      L"A command or option may also be written /word or --word (check, /check, --check).",
      L"The entries come from the defaults file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat, or FILE.",
      L"Exit codes: 0 clean or INFO only (generate: definition file confirmed; capture: written),",
      L"  1 WARN, 2 FAIL or a Step 2 validation error, 3 an entry rule failed or a server could not be read,",
      L"  4 usage error; generate: 5 not stage 2, 6 product not installed, 7 a file not written,",
      L"  8 installer not started, 9 definition file not confirmed (capture: 7 a file not written);",
      L"  check, generate: 10 the readiness report not saved; any command: 11 an unexpected error.",
      L"summarize: 0, 1, 2 the worst report's, 3 a report not read or invalid, 7 the summary not written.",
      L"See the README.txt that comes with the program (in its source: docs/unattended.md, docs/capture.md,",
      L"docs/fleet.md).",
  };
}
