// How a path of the system's files is named to a person: in a run on a lab, with where the lab keeps it.
#pragma once

#include <string>

class FileSystem;

// "C:\ProgramData\Zandor\Reports\r.html (in the lab: /home/u/lab/drives/C/ProgramData/Zandor/Reports/r.html)"
// when `files` are a lab's drives; `path` itself on the real system, and when it is empty.
std::wstring ShownPath(FileSystem& files, const std::wstring& path);
