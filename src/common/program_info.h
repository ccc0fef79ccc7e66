// Which program this is: what reports, the About box and the version command name it by.
#pragma once

#include <string>

// "DuplexSetupAssistant"
const wchar_t* ProgramName();
// The build's version, "1.1.0".
const wchar_t* ProgramVersion();
// "Windows" for the Windows program, "lab" for the lab edition.
const wchar_t* ProgramEdition();
// The About box's first line: "DuplexSetupAssistant Version 1.1.0".
std::wstring AboutVersionText();
// What the version command prints: "DuplexSetupAssistant 1.1.0 (lab edition)".
std::wstring VersionLine();
