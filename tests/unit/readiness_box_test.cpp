// The readiness findings as the window shows and logs them: the line of one finding, the box of all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "validation/readiness_box.h"

namespace {
Finding MakeTestFinding(Severity severity, const wchar_t* id, std::vector<Link> links, const wchar_t* message) {
  Finding finding;
  finding.severity = severity;
  finding.id = id;
  finding.links = std::move(links);
  finding.message = message;
  return finding;
}

const Finding kCrossed = MakeTestFinding(Severity::Fail, L"R07", {Link::Hb1, Link::Hb2}, L"HB1 and HB2 are crossed");
const Finding kMasks = MakeTestFinding(Severity::Warn, L"R03", {Link::Mirror}, L"The MIRROR masks differ");
const Finding kEntry = MakeTestFinding(Severity::Warn, L"R09", {}, L"The managed CLAN address (x) is not usable");
const Finding kTwo = MakeTestFinding(Severity::Info, L"R11", {Link::Clan}, L"CLAN of node-a holds 2 addresses");
}  // namespace

TEST(ReadinessBox, FindingLineNamesSeverityIdAndLinks) {
  struct Case {
    const Finding* finding;
    const wchar_t* line;
  };
  const Case cases[] = {
      {&kCrossed, L"[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed"},
      {&kMasks, L"[WARN] R03 MIRROR: The MIRROR masks differ"},
      {&kEntry, L"[WARN] R09: The managed CLAN address (x) is not usable"},
      {&kTwo, L"[INFO] R11 CLAN: CLAN of node-a holds 2 addresses"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.line));
    EXPECT_EQ(ReadinessFindingLine(*c.finding), c.line);
  }
}

TEST(ReadinessBox, ShowsFailAndWarnFindingsAndAsksOnlyAfterAFail) {
  struct Case {
    const char* name;
    std::vector<Finding> findings;
    const wchar_t* reportLine;
    const wchar_t* question;
    const wchar_t* text;  // empty: no box
  };
  const Case cases[] = {
      {"no finding", {}, L"The report was saved to R\\r.html.", kSaveAnswersAnyway, L""},
      {"INFO only: logged and reported, no box",
       {kTwo},
       L"The report was saved to R\\r.html.",
       kSaveAnswersAnyway,
       L""},
      {"a WARN: told, not asked",
       {kMasks, kTwo},
       L"The report was saved to C:\\R\\r.html.",
       kSaveAnswersAnyway,
       L"[WARN] R03 MIRROR: The MIRROR masks differ\r\n\r\nThe report was saved to C:\\R\\r.html."},
      {"a FAIL in Step 2",
       {kCrossed, kMasks, kTwo},
       L"The report was saved to C:\\R\\r.html.",
       kSaveAnswersAnyway,
       L"[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed\r\n[WARN] R03 MIRROR: The MIRROR masks differ\r\n\r\n"
       L"The report was saved to C:\\R\\r.html.\r\n\r\nSave the answers anyway?"},
      {"a FAIL in Step 3, the report unsaved",
       {kCrossed},
       L"The readiness report could not be saved: Unable to save the cluster readiness report in C:\\R. rc = 5",
       kGenerateDefinitionAnyway,
       L"[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed\r\n\r\nThe readiness report could not be saved: Unable to save "
       L"the cluster readiness report in C:\\R. rc = 5\r\n\r\nGenerate the definition file anyway?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadinessBoxText(c.findings, c.reportLine, c.question), c.text);
    EXPECT_EQ(NeedsReadinessBox(c.findings), std::wstring(c.text) != L"");
  }
}
