// One finding of the cluster readiness checks, and the names the box, the log and the report give its parts.
#pragma once

#include <string>
#include <vector>

// FAIL: the cluster cannot work as configured; WARN: very likely wrong; INFO: worth knowing.
enum class Severity { Fail, Warn, Info };

// The five named connections of a node, in the order findings are sorted by.
enum class Link { Clan, Elan, Hb1, Hb2, Mirror };
inline constexpr Link kLinks[] = {Link::Clan, Link::Elan, Link::Hb1, Link::Hb2, Link::Mirror};

// "FAIL", "WARN", "INFO".
const wchar_t* SeverityName(Severity severity);
// "CLAN", "ELAN", "HB1", "HB2", "MIRROR": the connection names the checks look for.
const wchar_t* LinkName(Link link);

// A value the finding is about, named by where it was found ("node-a HB1 address").
struct ObservedValue {
  std::wstring name;
  std::wstring value;
  bool operator==(const ObservedValue&) const = default;
};

struct Finding {
  std::wstring id;     // "R07"
  std::wstring check;  // "crossed-links"
  Severity severity = Severity::Info;
  std::vector<Link> links;
  std::vector<int> nodes;  // 1 for Node 1, 2 for Node 2
  std::vector<ObservedValue> observed;
  std::wstring message;  // one line, naming the links, nodes and values
  std::wstring remedy;   // one line, imperative
};

struct FindingCounts {
  int fail = 0;
  int warn = 0;
  int info = 0;
};
FindingCounts CountFindings(const std::vector<Finding>& findings);
