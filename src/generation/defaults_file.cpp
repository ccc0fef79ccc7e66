// The defaults file that carries the stage and the entries from one run of the wizard to the next.
#include "generation/defaults_file.h"

#include <cwchar>

#include "generation/windows_text_file.h"

namespace {
// The entries below the stage line, in the file's order.
constexpr std::wstring Entries::*kEntryLines[] = {
    &Entries::ManagedHostName, &Entries::ManagedClanIp, &Entries::ManagedElanIp,       &Entries::Node1HostName,
    &Entries::Node2HostName,   &Entries::UserName,      &Entries::WorkgroupDomainName, &Entries::BoardCount,
    &Entries::AutoStartDomain, &Entries::ClanTestIp};
}  // namespace

std::vector<std::wstring> DefaultsFileLines(const Entries& entries, const std::wstring& node1HostName,
                                            const std::wstring& node2HostName) {
  return {std::to_wstring(entries.WizardStage),
          entries.ManagedHostName,
          entries.ManagedClanIp,
          entries.ManagedElanIp,
          node1HostName,
          node2HostName,
          entries.UserName,
          entries.WorkgroupDomainName,
          entries.BoardCount,
          entries.AutoStartDomain,
          entries.ClanTestIp};
}

void ReadDefaultsFile(const std::string& bytes, Entries& entries) {
  const std::vector<std::wstring> lines = SplitTextLines(bytes);
  if (!lines.empty()) {
    // The stage is scanned as "%ld" always has: leading blanks skipped, a sign taken, digits up
    // to the first other character, and a line that starts with none leaves the stage alone.
    long stage = 0;
    if (std::swscanf(lines[0].c_str(), L"%ld", &stage) == 1) entries.WizardStage = static_cast<std::int32_t>(stage);
  }
  for (std::size_t i = 0; i < std::size(kEntryLines) && i + 1 < lines.size(); ++i) {
    // A hand-edited file often keeps blanks or tabs after a value; they are never part of it.
    const std::wstring& line = lines[i + 1];
    entries.*kEntryLines[i] = line.substr(0, line.find_last_not_of(L" \t") + 1);
  }
}
