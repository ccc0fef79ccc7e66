// Reads a server's services as `sc queryex state= all` prints them (services.txt of a lab server).
#include "platform/lab/service_list.h"

#include <set>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/lab_text.h"

namespace {

bool IsFieldName(const std::wstring& key) {
  if (key.empty()) return false;
  for (const wchar_t c : key) {
    const bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    if (!letter && !(c >= L'0' && c <= L'9') && c != L'_') return false;
  }
  return true;
}

class ServiceListReader {
 public:
  explicit ServiceListReader(ServiceListError* error) : error_(error) {}

  bool Read(const std::string& bytes, std::vector<LabService>* services) {
    const std::vector<std::wstring> lines = SplitLabLines(DecodeLabText(bytes));
    for (std::size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i) + 1;
      if (!ReadLine(TrimBlanks(lines[i]))) return false;
    }
    if (!FinishBlock()) return false;
    *services = std::move(services_);
    return true;
  }

 private:
  bool Fail(int line, const std::string& reason) {
    if (error_ != nullptr) *error_ = {line, reason};
    return false;
  }

  bool ReadLine(const std::wstring& text) {
    // sc separates blocks with a blank line, so a field after one has lost its service.
    if (text.empty()) {
      inBlock_ = false;
      afterState_ = false;
      return true;
    }
    if (text[0] == L'#') return true;
    const bool afterState = afterState_;
    afterState_ = false;
    if (text.front() == L'(' && text.back() == L')') {
      // The flags sc prints under STATE, such as (STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN).
      if (inBlock_ && afterState) return true;
      return Fail(line_, "a flags line in parentheses belongs right after a STATE line");
    }
    const std::size_t colon = text.find(L':');
    const std::wstring key = colon == std::wstring::npos ? std::wstring() : TrimBlanks(text.substr(0, colon));
    if (!IsFieldName(key)) {
      if (!seenBlock_) return Fail(line_, "text before the first SERVICE_NAME");
      return Fail(line_, "expected \"SERVICE_NAME: name\" or a \"FIELD : value\" line");
    }
    const std::wstring value = TrimBlanks(text.substr(colon + 1));
    if (EqualsIgnoringAsciiCase(key, L"SERVICE_NAME")) return StartBlock(value);
    if (!inBlock_) return Fail(line_, "a field line outside a service block (no SERVICE_NAME above it)");
    if (EqualsIgnoringAsciiCase(key, L"STATE")) {
      afterState_ = true;
      return ReadState(value);
    }
    return true;  // DISPLAY_NAME, TYPE, exit codes, PID, FLAGS and whatever a later Windows adds
  }

  bool StartBlock(const std::wstring& name) {
    if (!FinishBlock()) return false;
    if (name.empty()) return Fail(line_, "SERVICE_NAME needs a name");
    // The service manager looks names up ignoring case, so two such names are one service.
    if (!names_.insert(ToLowerAscii(name)).second) {
      return Fail(line_, "the service \"" + Utf8FromWide(name) + "\" is listed twice");
    }
    services_.push_back({name, 0});
    seenBlock_ = true;
    inBlock_ = true;
    hasState_ = false;
    blockLine_ = line_;
    return true;
  }

  bool FinishBlock() {
    if (!seenBlock_ || hasState_) return true;
    return Fail(blockLine_, "the service \"" + Utf8FromWide(services_.back().name) + "\" has no STATE line");
  }

  // "4  RUNNING": the number is what counts; the word is how sc spells it out.
  bool ReadState(const std::wstring& value) {
    if (hasState_) return Fail(line_, "a second STATE line in one service block");
    std::size_t pos = 0;
    std::uint64_t state = 0;
    while (pos < value.size() && value[pos] >= L'0' && value[pos] <= L'9') {
      state = state * 10 + static_cast<std::uint64_t>(value[pos] - L'0');
      if (state > 0xFFFFFFFFu) return Fail(line_, "the STATE number is too large");
      ++pos;
    }
    if (pos == 0) return Fail(line_, "STATE must begin with the state number (1 stopped ... 7 paused)");
    if (pos < value.size() && value[pos] != L' ' && value[pos] != L'\t') {
      return Fail(line_, "STATE must be a number and a word, such as \"4  RUNNING\"");
    }
    services_.back().state = static_cast<std::uint32_t>(state);
    hasState_ = true;
    return true;
  }

  ServiceListError* error_;
  std::vector<LabService> services_;
  std::set<std::wstring> names_;  // lower-case
  bool seenBlock_ = false;
  bool inBlock_ = false;
  bool hasState_ = false;
  bool afterState_ = false;
  int blockLine_ = 0;
  int line_ = 0;
};

}  // namespace

bool ReadServiceList(const std::string& bytes, std::vector<LabService>* services, ServiceListError* error) {
  return ServiceListReader(error).Read(bytes, services);
}
