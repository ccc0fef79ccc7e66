// The defaults file that carries the stage and the entries from one run of the wizard to the next:
// eleven lines, the stage first, then one entry a line.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"

// The file's lines for `entries`, with the two host names given apart: the caller saves them as
// the servers were last gathered, which need not be what the entries read now.
std::vector<std::wstring> DefaultsFileLines(const Entries& entries, const std::wstring& node1HostName,
                                            const std::wstring& node2HostName);

// Takes the stage and the entries from the file's text into `entries`. One value per line, so
// that a blank inside a value or an empty value never shifts the fields below it; blanks and tabs
// that end a line are dropped; a file cut short leaves the remaining fields as they were.
void ReadDefaultsFile(const std::string& bytes, Entries& entries);
