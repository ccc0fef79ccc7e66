// Which program this is: the build names it (see CMakeLists.txt).
#include "common/program_info.h"

const wchar_t* ProgramVersion() { return DUPLEX_PROGRAM_VERSION; }
const wchar_t* ProgramEdition() { return DUPLEX_PROGRAM_EDITION; }
