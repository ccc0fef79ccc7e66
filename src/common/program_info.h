// Which program this is: what reports and the About box name it by.
#pragma once

// "1.0"
const wchar_t* ProgramVersion();
// "Windows" for the Windows program, "lab" for the lab edition.
const wchar_t* ProgramEdition();
