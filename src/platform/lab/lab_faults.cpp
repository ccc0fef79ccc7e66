// Faults a lab server can be told to show (faults.conf of a lab server), so that failure paths can be rehearsed.
#include "platform/lab/lab_faults.h"

#include <algorithm>
#include <cstdint>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/lab_text.h"

namespace {

// A minute per call is far beyond any network worth rehearsing, and keeps the sums in range.
constexpr std::int64_t kMaxLatencyNanoseconds = 60'000'000'000;
constexpr std::uint32_t kMaxEchoDelayMs = 60'000;
// echo-loss counts the echoes of each three a probe sends.
constexpr std::uint32_t kEchoesInARound = 3;

bool ListsName(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::wstring& listed) { return EqualsIgnoringAsciiCase(listed, name); });
}

bool ParseCode(const std::wstring& text, Status* code) {
  if (text.empty() || text.size() > 10) return false;
  std::uint64_t number = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  if (number == 0 || number > 0xFFFFFFFFu) return false;
  *code = static_cast<Status>(number);
  return true;
}

// Milliseconds with up to six decimals, read digit by digit so that no locale's decimal mark applies.
bool ParseMilliseconds(const std::wstring& text, std::chrono::nanoseconds* latency) {
  std::int64_t nanoseconds = 0;
  std::int64_t scale = 1'000'000;  // of the next digit, once past the decimal point
  bool point = false;
  bool digits = false;
  for (const wchar_t c : text) {
    if (c == L'.' && !point) {
      point = true;
      continue;
    }
    if (c < L'0' || c > L'9') return false;
    const std::int64_t digit = c - L'0';
    if (!point) {
      nanoseconds = nanoseconds * 10 + digit * 1'000'000;
      if (nanoseconds > kMaxLatencyNanoseconds) return false;
    } else {
      scale /= 10;
      if (scale == 0) return false;
      nanoseconds += digit * scale;
    }
    digits = true;
  }
  if (!digits || nanoseconds > kMaxLatencyNanoseconds) return false;
  *latency = std::chrono::nanoseconds(nanoseconds);
  return true;
}

// "HB1 25": a connection name (which may hold blanks) and a whole number at most `max` after the last blank.
bool ParseLinkAndNumber(const std::wstring& text, std::uint32_t max, std::wstring* link, std::uint32_t* number) {
  const std::size_t blank = text.find_last_of(L" \t");
  if (blank == std::wstring::npos) return false;
  const std::wstring digits = text.substr(blank + 1);
  *link = TrimBlanks(text.substr(0, blank));
  if (link->empty() || digits.empty() || digits.size() > 5) return false;
  std::uint32_t value = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  }
  if (value > max) return false;
  *number = value;
  return true;
}

// "HKLM\..." as the reg commands write it is accepted, since every deny-key lies below it anyway.
std::wstring KeyBelowLocalMachine(const std::wstring& path) {
  for (const wchar_t* root : {L"HKEY_LOCAL_MACHINE", L"HKLM"}) {
    const std::wstring prefix = std::wstring(root) + L"\\";
    if (StartsWithIgnoringAsciiCase(path, prefix)) return path.substr(prefix.size());
  }
  return path;
}

}  // namespace

std::wstring NormalizedKeyPath(const std::wstring& path) {
  std::wstring out;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += L'\\';
      out += path.substr(start, end - start);
    }
    start = end + 1;
  }
  return ToLowerAscii(std::move(out));
}

bool LabServerFaults::DeniesKey(const std::wstring& pathBelowLocalMachine) const {
  const std::wstring wanted = NormalizedKeyPath(pathBelowLocalMachine);
  return std::any_of(deniedKeys.begin(), deniedKeys.end(),
                     [&](const std::wstring& denied) { return NormalizedKeyPath(denied) == wanted; });
}

bool LabServerFaults::DeniesService(const std::wstring& name) const { return ListsName(deniedServices, name); }
bool LabServerFaults::TimesOut(const std::wstring& service) const { return ListsName(timedOutServices, service); }
bool LabServerFaults::IsBusy(const std::wstring& service) const { return ListsName(busyServices, service); }

bool LabServerFaults::LinkDown(const std::wstring& connectionName) const {
  return ListsName(downLinks, connectionName);
}

int LabServerFaults::EchoLoss(const std::wstring& connectionName) const {
  const auto it = echoLoss.find(ToLowerAscii(connectionName));
  return it == echoLoss.end() ? 0 : it->second;
}

std::uint32_t LabServerFaults::EchoDelayMs(const std::wstring& connectionName) const {
  const auto it = echoDelayMs.find(ToLowerAscii(connectionName));
  return it == echoDelayMs.end() ? 0 : it->second;
}

bool ReadServerFaults(const std::string& bytes, LabServerFaults* faults, LabFaultsError* error) {
  auto fail = [error](int line, const std::string& reason) {
    if (error != nullptr) *error = {line, reason};
    return false;
  };
  LabServerFaults read;
  bool seenUnreachable = false;
  bool seenLatency = false;
  bool seenEchoBlocked = false;
  const std::vector<std::wstring> lines = SplitLabLines(DecodeLabText(bytes));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::wstring text = TrimBlanks(lines[i]);
    if (text.empty() || text[0] == L'#') continue;
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) return fail(line, "expected \"key = value\"");
    const std::wstring key = TrimBlanks(text.substr(0, equals));
    const std::wstring value = TrimBlanks(text.substr(equals + 1));
    const std::string keyText = Utf8FromWide(key);
    if (value.empty()) return fail(line, keyText + " needs a value");
    auto once = [&](bool& seen) {
      if (seen) return fail(line, keyText + " is given twice");
      seen = true;
      return true;
    };
    auto code = [&](Status* target) {
      if (*target != status::Success) return fail(line, keyText + " is given twice");
      if (!ParseCode(value, target)) return fail(line, keyText + " must be a Win32 error code such as 5 or 1722");
      return true;
    };
    bool ok = true;
    if (key == L"unreachable") {
      ok = once(seenUnreachable);
      if (ok && value != L"yes" && value != L"no") ok = fail(line, "unreachable must be yes or no");
      read.unreachable = value == L"yes";
    } else if (key == L"registry-connect-error") {
      ok = code(&read.registryConnectError);
    } else if (key == L"service-manager-error") {
      ok = code(&read.serviceManagerError);
    } else if (key == L"deny-key") {
      const std::wstring path = NormalizedKeyPath(KeyBelowLocalMachine(value));
      if (path.empty()) ok = fail(line, "deny-key needs a key path below HKEY_LOCAL_MACHINE");
      read.deniedKeys.push_back(path);
    } else if (key == L"deny-service") {
      read.deniedServices.push_back(value);
    } else if (key == L"service-timeout") {
      read.timedOutServices.push_back(value);
    } else if (key == L"service-busy") {
      read.busyServices.push_back(value);
    } else if (key == L"latency-ms") {
      ok = once(seenLatency);
      if (ok && !ParseMilliseconds(value, &read.latency)) {
        ok = fail(line, "latency-ms must be milliseconds up to 60000, with at most six decimals (such as 0.5)");
      }
    } else if (key == L"link-down") {
      read.downLinks.push_back(value);
    } else if (key == L"echo-blocked") {
      ok = once(seenEchoBlocked);
      if (ok && value != L"yes" && value != L"no") ok = fail(line, "echo-blocked must be yes or no");
      read.echoBlocked = value == L"yes";
    } else if (key == L"echo-loss") {
      std::wstring link;
      std::uint32_t lost = 0;
      if (!ParseLinkAndNumber(value, kEchoesInARound, &link, &lost)) {
        ok = fail(line,
                  "echo-loss takes a connection name and how many of every three echoes are lost (0 to 3), "
                  "as in \"echo-loss = HB1 1\"");
      }
      read.echoLoss[ToLowerAscii(link)] = static_cast<int>(lost);
    } else if (key == L"echo-delay-ms") {
      std::wstring link;
      std::uint32_t delay = 0;
      if (!ParseLinkAndNumber(value, kMaxEchoDelayMs, &link, &delay)) {
        ok = fail(line,
                  "echo-delay-ms takes a connection name and whole milliseconds up to 60000, "
                  "as in \"echo-delay-ms = HB1 25\"");
      }
      read.echoDelayMs[ToLowerAscii(link)] = delay;
    } else {
      ok = fail(line, "unknown key \"" + keyText + "\"");
    }
    if (!ok) return false;
  }
  *faults = std::move(read);
  return true;
}

void LabFaultTable::Set(const std::wstring& server, LabServerFaults faults) {
  faults_[ToLowerAscii(server)] = std::move(faults);
}

const LabServerFaults& LabFaultTable::Of(const std::wstring& server) const {
  static const LabServerFaults kNone;
  const auto it = faults_.find(ToLowerAscii(server));
  return it == faults_.end() ? kNone : it->second;
}
