// A capture's files written as one folder: whole in a private folder beside it, then renamed into place.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CaptureFile {
  std::vector<std::wstring> path;  // its names below the capture's folder: {L"servers", L"node-a", L"services.txt"}
  std::string bytes;
};

enum class CaptureWrite {
  Done,
  NotWritten,   // a file or the private folder could not be written: nothing is left
  FolderTaken,  // something was put in the folder, or in its place, while the servers were read
};

// Writes `files` into a new folder of this run's own beside `folder` ("<name>.partial-<number>",
// readable by its owner only), then renames it to `folder`, which must then still be missing or
// an empty folder. The folder is never written through a link planted meanwhile: a link in its
// place, or anything in it, makes the rename fail. Nothing ever appears under the capture's
// final names but the whole capture; a run killed part-way leaves at most the partial folder.
// Parents of `folder` are made as needed. Unless Done, `problem` says what failed.
CaptureWrite WriteCaptureFolder(const std::filesystem::path& folder, const std::vector<CaptureFile>& files,
                                std::wstring* problem);
