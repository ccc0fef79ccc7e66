// Which program this is: the build names it (see CMakeLists.txt).
#include "common/program_info.h"

#include "program_version.h"

// Widened here, once: the generated header holds narrow literals, which the resource compiler reads too.
#define DUPLEX_WIDE_(text) L##text
#define DUPLEX_WIDE(text) DUPLEX_WIDE_(text)

const wchar_t* ProgramName() { return DUPLEX_WIDE(DUPLEX_PROGRAM_NAME); }
const wchar_t* ProgramVersion() { return DUPLEX_WIDE(DUPLEX_PROGRAM_VERSION); }
const wchar_t* ProgramEdition() { return DUPLEX_PROGRAM_EDITION; }

std::wstring AboutVersionText() { return DUPLEX_WIDE(DUPLEX_ABOUT_VERSION_TEXT); }

std::wstring VersionLine() {
  return std::wstring(ProgramName()) + L" " + ProgramVersion() + L" (" + ProgramEdition() + L" edition)";
}
