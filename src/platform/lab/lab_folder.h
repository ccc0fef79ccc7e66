// A lab folder is data: files and folders only. Loading and copying a lab refuse anything else.
#pragma once

#include <filesystem>
#include <string>

// Why `folder` can't be taken as a lab: the first entry below it that is a symbolic link, a
// junction, or neither a file nor a folder, named with what it is. Empty when it holds only
// files and folders. No link is ever followed to look.
std::string LabFolderRefusal(const std::filesystem::path& folder);

// Copies the lab `from` into `to` (a new folder) entry by entry, never following a link. On an
// entry LabFolderRefusal would name, or a failed copy, stops with `error` saying which; what was
// copied so far is left for the caller to remove.
bool CopyLabFolder(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error);
