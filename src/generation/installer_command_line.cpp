// The installer's command line and the definition file it leaves.
#include "generation/installer_command_line.h"

#include "common/text_format.h"
#include "generation/paths.h"

namespace {
constexpr wchar_t kSingleBoardDefinition[] = L"Vestamail-Mirroring-Single";
constexpr wchar_t kThreeBoardDefinition[] = L"Vestamail-Mirroring";

// The single-board form closes the quote opened after /c; the three-board form ends with the
// blank and leaves it open. cmd.exe then takes the quote that closes the input path as the one
// to remove, which leaves a trailing blank on that path: Win32 drops it when the file is opened,
// so both forms read the same file.
constexpr wchar_t kSingleBoardFormat[] =
    L"cmd /c \"\"%s\\%s\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single %s \"%s\" < \"%s\" \"";
constexpr wchar_t kThreeBoardFormat[] =
    L"cmd /c \"\"%s\\%s\\bin\\ftPerl\" install.pl Vestamail-Mirroring %s \"%s\" < \"%s\" ";
}  // namespace

std::wstring DefinitionName(const std::wstring& boardCount) {
  if (boardCount == L"1") return kSingleBoardDefinition;
  if (boardCount == L"3") return kThreeBoardDefinition;
  return {};
}

std::wstring DefinitionFilePath(const std::wstring& definitionName) {
  return std::wstring(kToolkitDirectory) + L"\\" + definitionName + L".def";
}

std::wstring InstallerCommandLine(const std::wstring& boardCount, const std::wstring& autoStartDomain) {
  const wchar_t* format = nullptr;
  if (boardCount == L"1") format = kSingleBoardFormat;
  if (boardCount == L"3") format = kThreeBoardFormat;
  if (format == nullptr) return {};
  return FormatText(format, {kAutoStartInstallDirectory, autoStartDomain, autoStartDomain, kAutoStartInstallDirectory,
                             kPerlInputFilePath});
}
