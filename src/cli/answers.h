// The entries a run without a window works with: the defaults file the window reads, or a file of the same form.
#pragma once

#include <string>

#include "common/entries.h"

class CliOutput;
class FileSystem;
struct Platform;

// This computer's name as Node 1 (as the window presets it), then the stage and entries of the
// answers file: FILE when given (a file of `hostFiles`, this computer's, named as typed), else the
// defaults file. Returns an exit code: Clean, or Usage when FILE can't be read or is no file of at
// most 64 KiB (said on standard error, FILE named). A missing defaults file is said, with what to
// do, and leaves the entries as they are; the entry rules then judge them.
int LoadAnswers(const std::wstring& answersFile, Platform& platform, FileSystem& hostFiles, CliOutput& output,
                Entries* entries);
