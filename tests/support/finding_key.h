// A readiness finding in a few words, as the table-driven tests of the checks compare them.
#pragma once

#include <cstddef>
#include <sstream>
#include <string>

#include "common/text_encoding.h"
#include "validation/readiness_finding.h"

// "FAIL R02 HB1 @1,2": severity, id, links ("-" for none), nodes ("-" for none).
inline std::string FindingKey(const Finding& finding) {
  std::ostringstream key;
  key << Utf8FromWide(SeverityName(finding.severity)) << ' ' << Utf8FromWide(finding.id) << ' ';
  for (std::size_t i = 0; i < finding.links.size(); ++i)
    key << (i ? "/" : "") << Utf8FromWide(LinkName(finding.links[i]));
  if (finding.links.empty()) key << '-';
  key << " @";
  for (std::size_t i = 0; i < finding.nodes.size(); ++i) key << (i ? "," : "") << finding.nodes[i];
  if (finding.nodes.empty()) key << '-';
  return key.str();
}
