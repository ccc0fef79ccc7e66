// Reading a command line as "cmd /c" reads it.
#include "platform/lab/cmd_line.h"

#include "common/text_case.h"
#include "common/text_encoding.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::size_t SkipBlanks(const std::wstring& text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

CmdLineReading Refused(std::string message) {
  CmdLineReading reading;
  reading.kind = CmdLineKind::Refused;
  reading.message = std::move(message);
  return reading;
}

// The program CreateProcessW starts when it is given no application name: a first word in
// quotes runs to its closing quote, any other to the first blank. `at` is left after it.
std::wstring FirstWord(const std::wstring& line, std::size_t* at) {
  std::size_t i = SkipBlanks(line, 0);
  if (i < line.size() && line[i] == L'"') {
    const std::size_t close = line.find(L'"', i + 1);
    const std::size_t end = close == std::wstring::npos ? line.size() : close;
    *at = close == std::wstring::npos ? line.size() : close + 1;
    return line.substr(i + 1, end - i - 1);
  }
  const std::size_t start = i;
  while (i < line.size() && !IsBlank(line[i])) ++i;
  *at = i;
  return line.substr(start, i - start);
}

// cmd's one exception to stripping the outer quotes: a lone quoted program name, such as
// "C:\Program Files\tool.exe", which would not survive losing its quotes.
bool KeepsQuotes(const std::wstring& command, const NamesExecutable& namesExecutable) {
  std::size_t quotes = 0;
  for (const wchar_t c : command) quotes += c == L'"' ? 1 : 0;
  if (quotes != 2) return false;
  const std::size_t open = command.find(L'"');
  const std::size_t close = command.find(L'"', open + 1);
  const std::wstring between = command.substr(open + 1, close - open - 1);
  if (between.find_first_of(L"&<>()@^|") != std::wstring::npos) return false;
  if (between.find_first_of(L" \t") == std::wstring::npos) return false;
  return namesExecutable(between);
}

// What cmd does with the quotes before it reads the words: removes the first character when
// it is a quote, together with the last quote of the line wherever that is.
std::wstring ApplyQuoteRule(std::wstring command, const NamesExecutable& namesExecutable) {
  if (command.empty() || command.front() != L'"' || KeepsQuotes(command, namesExecutable)) return command;
  command.erase(0, 1);
  const std::size_t last = command.rfind(L'"');
  if (last != std::wstring::npos) command.erase(last, 1);
  return command;
}

// The words of the command: blanks outside quotes separate them, each quote toggles quoting and
// is dropped, and the word after an unquoted '<' is the standard input.
CmdLineReading ReadWords(const std::wstring& command) {
  std::vector<std::wstring> words;
  CmdLineReading reading;
  reading.kind = CmdLineKind::Command;
  std::wstring word;
  bool inWord = false;
  bool quoted = false;
  bool forInput = false;
  auto finishWord = [&] {
    if (!inWord) return;
    if (forInput) {
      reading.command.hasStandardInput = true;
      reading.command.standardInput = word;
      forInput = false;
    } else {
      words.push_back(word);
    }
    word.clear();
    inWord = false;
  };
  for (const wchar_t c : command) {
    if (c == L'"') {
      quoted = !quoted;
      inWord = true;
      continue;
    }
    if (!quoted) {
      if (IsBlank(c)) {
        finishWord();
        continue;
      }
      if (c == L'<') {
        finishWord();
        if (forInput) return Refused("The syntax of the command is incorrect.");
        forInput = true;
        continue;
      }
      if (c == L'>' || c == L'|' || c == L'&' || c == L'^') {
        return Refused(std::string("The lab runs one program, its input at most taken from a file: \"") +
                       static_cast<char>(c) + "\" is beyond it.");
      }
    }
    word += c;
    inWord = true;
  }
  finishWord();
  if (forInput) return Refused("The syntax of the command is incorrect.");
  if (!words.empty()) {
    reading.command.program = words.front();
    reading.command.arguments.assign(words.begin() + 1, words.end());
  }
  return reading;
}

}  // namespace

CmdLineReading ReadCmdLine(const std::wstring& commandLine, const NamesExecutable& namesExecutable) {
  std::size_t at = 0;
  const std::wstring program = FirstWord(commandLine, &at);
  if (!EqualsIgnoringAsciiCase(program, L"cmd") && !EqualsIgnoringAsciiCase(program, L"cmd.exe")) return {};

  at = SkipBlanks(commandLine, at);
  const bool slashC = at + 1 < commandLine.size() && commandLine[at] == L'/' &&
                      (commandLine[at + 1] == L'c' || commandLine[at + 1] == L'C');
  if (!slashC) {
    std::size_t end = at;
    while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
    const std::string given = Utf8FromWide(commandLine.substr(at, end - at));
    return Refused("The lab runs \"cmd /c COMMAND\" only" +
                   (given.empty() ? std::string(", not cmd on its own.") : ", not \"cmd " + given + "\"."));
  }
  const std::wstring command = commandLine.substr(SkipBlanks(commandLine, at + 2));
  return ReadWords(ApplyQuoteRule(command, namesExecutable));
}
