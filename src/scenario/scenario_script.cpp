// A scenario script: a user's actions on the wizard, one command a line.
#include "scenario/scenario_script.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/lab/lab_faults.h"
#include "scenario/scripted_view.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimmedLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Takes the next word off `rest`. A word in double quotes may hold blanks, as a Windows path
// such as "D:\Program Files" does. False on an unclosed quote.
bool TakeWord(std::string_view* rest, std::string* word) {
  *rest = TrimmedLeft(*rest);
  word->clear();
  if (!rest->empty() && rest->front() == '"') {
    const std::size_t close = rest->find('"', 1);
    if (close == std::string_view::npos) return false;
    *word = std::string(rest->substr(1, close - 1));
    rest->remove_prefix(close + 1);
    return true;
  }
  std::size_t end = 0;
  while (end < rest->size() && !IsBlank((*rest)[end])) ++end;
  *word = std::string(rest->substr(0, end));
  rest->remove_prefix(end);
  return true;
}

// The text after a command's words: everything past the one blank that separates it, verbatim.
std::string FreeText(std::string_view rest) {
  if (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  return std::string(rest);
}

bool IsWindowsPath(const std::string& path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

// Why a Windows path would lead off the lab's drives, or empty when it stays on them: ".." climbs
// out of its folder, and so may any other name of dots and blanks only once Win32 has trimmed its
// trailing ones; a ':' after the drive's own names another drive or a stream of the file.
std::string LeavesTheDrives(const std::string& path) {
  std::size_t start = 3;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
    const std::string name = path.substr(start, end - start);
    if (!name.empty() && name.find_first_not_of(". ") == std::string::npos) {
      return "\"" + path + "\" leaves the lab's drives: a name of dots only, such as \"..\", is refused";
    }
    if (name.find(':') != std::string::npos) {
      return "\"" + path + "\" leaves the lab's drives: ':' belongs only after the drive letter";
    }
    start = end + 1;
  }
  return {};
}

// \r, \n, \t and \\ in a file's content; any other backslash is a mistake worth stopping at.
bool Unescape(const std::string& text, std::string* out, std::string* reason) {
  out->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *out += text[i];
      continue;
    }
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (next) {
      case 'r': *out += '\r'; break;
      case 'n': *out += '\n'; break;
      case 't': *out += '\t'; break;
      case '\\': *out += '\\'; break;
      default: *reason = "unknown escape in the file's text (\\r, \\n, \\t and \\\\ are known)"; return false;
    }
    ++i;
  }
  return true;
}

// Digits only, at most 4294967295: a Win32 code or a count of milliseconds.
bool IsNumber32(const std::string& text) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + static_cast<unsigned long long>(c - '0');
  }
  return value <= 0xFFFFFFFFull;
}

class LineParser {
 public:
  LineParser(std::string_view rest, ScenarioCommand* command, std::string* reason)
      : rest_(rest), command_(command), reason_(reason) {}

  bool Parse(const std::string& verb) {
    if (verb == "lab") return Lab();
    if (verb == "file") return File();
    if (verb == "remove-file") return PathOnly(ScenarioVerb::RemoveFile);
    if (verb == "remove-folder") return PathOnly(ScenarioVerb::RemoveFolder);
    if (verb == "fault") return Fault();
    if (verb == "start") return Bare(ScenarioVerb::Start);
    if (verb == "restart") return Bare(ScenarioVerb::Restart);
    if (verb == "type") return Type();
    if (verb == "choose") return Choose();
    if (verb == "press") return Press();
    if (verb == "answer") return Answer();
    if (verb == "show") return Show();
    return Fail("unknown command \"" + verb + "\"");
  }

 private:
  bool Fail(const std::string& reason) {
    *reason_ = reason;
    return false;
  }
  bool Word(std::string* word, const std::string& missing) {
    if (!TakeWord(&rest_, word)) return Fail("a quote is not closed");
    return !word->empty() || Fail(missing);
  }
  bool End() { return TrimmedLeft(rest_).empty() || Fail("unexpected text after the command"); }
  bool Done(ScenarioVerb verb, std::vector<std::string> args) {
    command_->verb = verb;
    command_->args = std::move(args);
    return true;
  }
  bool WindowsPath(std::string* path) {
    if (!Word(path, "a Windows path is missing")) return false;
    if (!IsWindowsPath(*path)) return Fail("\"" + *path + "\" is not a Windows path such as D:\\folder\\file");
    const std::string leaves = LeavesTheDrives(*path);
    return leaves.empty() || Fail(leaves);
  }

  bool Lab() {
    std::string what;
    if (!Word(&what, "lab needs demo, bundled NAME or a folder")) return false;
    if (what == "bundled") {
      std::string name;
      return Word(&name, "lab bundled needs a lab's name") && End() && Done(ScenarioVerb::Lab, {"bundled", name});
    }
    if (what == "demo") return End() && Done(ScenarioVerb::Lab, {"bundled", "demo"});
    return End() && Done(ScenarioVerb::Lab, {"folder", what});
  }

  bool File() {
    std::string path;
    std::string content;
    if (!WindowsPath(&path) || !Unescape(FreeText(rest_), &content, reason_)) return false;
    return Done(ScenarioVerb::File, {path, content});
  }

  bool PathOnly(ScenarioVerb verb) {
    std::string path;
    return WindowsPath(&path) && End() && Done(verb, {path});
  }

  bool Bare(ScenarioVerb verb) { return End() && Done(verb, {}); }

  bool Fault() {
    std::string target;
    if (!Word(&target,
              "fault needs disk-full, deny-file, start-error, process-delay-ms, an installer-... key or a server")) {
      return false;
    }
    if (target == "disk-full") {
      const std::string letters(TrimmedLeft(rest_));
      bool valid = !letters.empty();
      for (const char c : letters) valid = valid && (std::isalpha(static_cast<unsigned char>(c)) || IsBlank(c));
      if (!valid) return Fail("fault disk-full needs drive letters, as in \"fault disk-full D\"");
      return Done(ScenarioVerb::Fault, {"", "disk-full", letters});
    }
    if (target == "deny-file") {
      std::string path;
      return WindowsPath(&path) && End() && Done(ScenarioVerb::Fault, {"", "deny-file", path});
    }
    if (target == "installer-definition" || target == "installer-hang") {
      const std::string needs = "fault " + target + " needs yes or no";
      std::string answer;
      if (!Word(&answer, needs)) return false;
      return (answer == "yes" || answer == "no" || Fail(needs)) && End() &&
             Done(ScenarioVerb::Fault, {"", target, answer});
    }
    if (target == "start-error" || target == "process-delay-ms" || target == "installer-exit-code") {
      const std::string needs = "fault " + target + " needs a number, as in \"fault " + target +
                                (target == "process-delay-ms" ? " 600000" : " 2") + "\"";
      std::string number;
      if (!Word(&number, needs)) return false;
      return (IsNumber32(number) || Fail(needs)) && End() && Done(ScenarioVerb::Fault, {"", target, number});
    }
    // The rest is a line of the server's faults.conf, checked by the lab's own reader.
    const std::string line(TrimmedLeft(rest_));
    LabServerFaults faults;
    LabFaultsError faultsError;
    if (line.empty()) return Fail("fault " + target + " needs a faults.conf line, as in \"unreachable = yes\"");
    if (!ReadServerFaults(line, &faults, &faultsError)) return Fail("fault " + target + ": " + faultsError.reason);
    const std::size_t equals = line.find('=');
    auto trimmed = [](std::string text) {
      while (!text.empty() && IsBlank(text.back())) text.pop_back();
      return std::string(TrimmedLeft(text));
    };
    return Done(ScenarioVerb::Fault, {target, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))});
  }

  bool Type() {
    std::string entry;
    if (!Word(&entry, "type needs an entry")) return false;
    if (FindEntryControl(entry) == nullptr) return Fail("no entry \"" + entry + "\"");
    return Done(ScenarioVerb::Type, {entry, FreeText(rest_)});
  }

  bool Choose() {
    std::string list;
    std::string item;
    if (!Word(&list, "choose needs boards and an item")) return false;
    if (list != "boards") return Fail("only boards can be chosen");
    if (!Word(&item, "choose boards needs an item, or none") || !End()) return false;
    return Done(ScenarioVerb::Choose, {item == "none" ? std::string() : item});
  }

  bool Press() {
    std::string button;
    if (!Word(&button, "press needs a button") || !End()) return false;
    if (FindButtonControl(button) == nullptr) return Fail("no button \"" + button + "\"");
    return Done(ScenarioVerb::Press, {button});
  }

  bool Answer() {
    std::string answer;
    if (!Word(&answer, "answer needs yes or no") || !End()) return false;
    if (answer != "yes" && answer != "no") return Fail("answer needs yes or no");
    return Done(ScenarioVerb::Answer, {answer});
  }

  bool Show() {
    std::string what;
    if (!Word(&what, "show needs list, buttons, entries or file")) return false;
    if (what == "file") {
      std::string path;
      return WindowsPath(&path) && End() && Done(ScenarioVerb::Show, {what, path});
    }
    if (what != "list" && what != "buttons" && what != "entries")
      return Fail("show needs list, buttons, entries or file");
    return End() && Done(ScenarioVerb::Show, {what});
  }

  std::string_view rest_;
  ScenarioCommand* command_;
  std::string* reason_;
};

}  // namespace

bool ParseScenarioScript(const std::string& text, std::vector<ScenarioCommand>* commands, ScriptError* error) {
  std::vector<ScenarioCommand> parsed;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimmedLeft(line);
    if (line.empty() || line.front() == '#') continue;

    ScenarioCommand command;
    command.line = lineNumber;
    command.source = std::string(line);
    std::string verb;
    std::string reason;
    std::string_view rest = line;
    TakeWord(&rest, &verb);
    if (!LineParser(rest, &command, &reason).Parse(verb)) {
      *error = {lineNumber, reason};
      return false;
    }
    parsed.push_back(std::move(command));
  }
  *commands = std::move(parsed);
  return true;
}
