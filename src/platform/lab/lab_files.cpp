// The local computer's drives in a lab.
#include "platform/lab/lab_files.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "common/text_case.h"
#include "platform/lab/path_text.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::wstring> SplitWindowsPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (const wchar_t c : path) {
    if (c == L'\\' || c == L'/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The entry of `folder` whose name equals `name` ignoring case, or `name` itself.
fs::path MatchEntry(const fs::path& folder, const std::wstring& name) {
  std::error_code error;
  if (fs::is_directory(folder, error)) {
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (EqualsIgnoringAsciiCase(WideFromPath(entry.path().filename()), name)) return entry.path();
    }
  }
  return folder / PathFromWide(name);
}
}  // namespace

fs::path LabFileSystem::HostPath(const std::wstring& windowsPath) const {
  if (windowsPath.size() < 2 || windowsPath[1] != L':') return {};
  std::vector<std::wstring> parts = SplitWindowsPath(windowsPath.substr(2));
  if (!parts.empty()) {
    std::wstring& last = parts.back();
    while (!last.empty() && (last.back() == L' ' || last.back() == L'.')) last.pop_back();
    if (last.empty()) parts.pop_back();
  }
  fs::path current = MatchEntry(drives_, std::wstring(1, windowsPath[0]));
  for (const auto& part : parts) current = MatchEntry(current, part);
  return current;
}

Status LabFileSystem::CheckExistingFile(const fs::path& file) {
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  const auto state = fs::status(file, error);
  if (!fs::exists(state)) return status::FileNotFound;
  if (fs::is_directory(state)) return status::AccessDenied;
  return status::Success;
}

Status LabFileSystem::ReadWholeFile(const std::wstring& path, std::string* bytes) {
  const fs::path file = HostPath(path);
  if (const Status rc = CheckExistingFile(file); rc != status::Success) return rc;
  std::ifstream in(file, std::ios::binary);
  if (!in) return status::AccessDenied;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? status::AccessDenied : status::Success;
}

Status LabFileSystem::ReplaceWholeFile(const std::wstring& path, const std::string& bytes) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  if (fs::is_directory(file, error)) return status::AccessDenied;
  fs::path temporary = file;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return status::AccessDenied;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.fail()) {
      fs::remove(temporary, error);
      return status::WriteFault;
    }
  }
  fs::rename(temporary, file, error);
  if (error) {
    fs::remove(temporary, error);
    return status::AccessDenied;
  }
  return status::Success;
}

Status LabFileSystem::SetNormalAttributes(const std::wstring& path) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  if (!fs::exists(file, error)) return status::FileNotFound;
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
  return error ? status::AccessDenied : status::Success;
}

Status LabFileSystem::RemoveFile(const std::wstring& path) {
  const fs::path file = HostPath(path);
  if (const Status rc = CheckExistingFile(file); rc != status::Success) return rc;
  std::error_code error;
  fs::remove(file, error);
  return error ? status::AccessDenied : status::Success;
}
