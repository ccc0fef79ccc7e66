// The installer's command line for each board count and the definition it is expected to leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "generation/installer_command_line.h"

TEST(InstallerCommandLine, OneBoardIsTheDocumentedLineWithItsClosingQuote) {
  EXPECT_EQ(
      InstallerCommandLine(L"1", L"ha1"),
      L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha1 "
      L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" \"");
}

TEST(InstallerCommandLine, ThreeBoardsEndWithABlankAndSevenQuotes) {
  const std::wstring line = InstallerCommandLine(L"3", L"dom2");
  EXPECT_EQ(line,
            L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\dom2\\bin\\ftPerl\" install.pl Vestamail-Mirroring dom2 "
            L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ");
  EXPECT_EQ(std::count(line.begin(), line.end(), L'"'), 7);
  const std::wstring single = InstallerCommandLine(L"1", L"dom2");
  EXPECT_EQ(std::count(single.begin(), single.end(), L'"'), 8);
}

TEST(InstallerCommandLine, OnlyTheTextsOneAndThreeNameADefinition) {
  EXPECT_EQ(DefinitionName(L"1"), L"Vestamail-Mirroring-Single");
  EXPECT_EQ(DefinitionName(L"3"), L"Vestamail-Mirroring");
  EXPECT_EQ(DefinitionFilePath(DefinitionName(L"3")), L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring.def");
  for (const wchar_t* other : {L"", L"2", L"01", L"3 ", L" 1", L"three"}) {
    EXPECT_EQ(DefinitionName(other), L"") << other;
    EXPECT_EQ(InstallerCommandLine(other, L"ha1"), L"") << other;
  }
}
