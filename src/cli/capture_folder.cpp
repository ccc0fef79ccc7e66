// A capture's files written as one folder.
#include "cli/capture_folder.h"

#include <fstream>
#include <random>
#include <system_error>

#include "common/path_text.h"
#include "common/text_format.h"

namespace fs = std::filesystem;

namespace {
// Names taken by others before the capture gives up making its private folder.
constexpr int kPartialNameAttempts = 100;

fs::path MakePartialFolder(const fs::path& folder) {
  std::random_device random;
  std::error_code error;
  for (int attempt = 0; attempt < kPartialNameAttempts; ++attempt) {
    fs::path partial = folder;
    partial += ".partial-" + std::to_string(random());
    // A name already there (a file, a folder, a link) is never taken over.
    if (fs::create_directory(partial, error)) {
      // Only its owner may write into it: nobody else can plant anything in it while it is written.
      fs::permissions(partial, fs::perms::owner_all, fs::perm_options::replace, error);
      if (!error && fs::is_empty(partial, error) && !error) return partial;
      fs::remove_all(partial, error);
      return {};
    }
    if (error) return {};
  }
  return {};
}

bool WriteFileIn(const fs::path& partial, const CaptureFile& file) {
  fs::path target = partial;
  for (const std::wstring& name : file.path) target /= PathFromWide(name);
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) return false;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
  out.close();
  return !out.fail();
}

// Renames `partial` to `folder`. An empty folder in its place (there when the capture began) is
// replaced; on systems whose rename never replaces a folder it is removed first.
bool PutInPlace(const fs::path& partial, const fs::path& folder) {
  std::error_code error;
  fs::rename(partial, folder, error);
  if (!error) return true;
  const fs::file_status state = fs::symlink_status(folder, error);
  if (error || !fs::is_directory(state) || !fs::is_empty(folder, error) || error) return false;
  fs::remove(folder, error);
  if (error) return false;
  fs::rename(partial, folder, error);
  return !error;
}
}  // namespace

CaptureWrite WriteCaptureFolder(const fs::path& named, const std::vector<CaptureFile>& files, std::wstring* problem) {
  // "site-capture/" names the same folder as "site-capture".
  const fs::path folder = named.has_filename() ? named : named.parent_path();
  std::error_code error;
  if (folder.has_parent_path()) fs::create_directories(folder.parent_path(), error);
  const fs::path partial = error ? fs::path() : MakePartialFolder(folder);
  if (partial.empty()) {
    *problem = FormatText(L"Unable to make a folder of the capture's own beside %s.", {WideFromPath(folder)});
    return CaptureWrite::NotWritten;
  }
  for (const CaptureFile& file : files) {
    if (WriteFileIn(partial, file)) continue;
    fs::path shown = folder;
    for (const std::wstring& name : file.path) shown /= PathFromWide(name);
    fs::remove_all(partial, error);
    *problem = FormatText(L"Unable to write the file %s.", {WideFromPath(shown)});
    return CaptureWrite::NotWritten;
  }
  if (!PutInPlace(partial, folder)) {
    fs::remove_all(partial, error);
    *problem = FormatText(
        L"The folder %s was changed while the servers were read (something was put in it, or in its place): "
        L"nothing was written into it.",
        {WideFromPath(folder)});
    return CaptureWrite::FolderTaken;
  }
  return CaptureWrite::Done;
}
