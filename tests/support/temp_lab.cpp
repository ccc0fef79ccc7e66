// Builds small labs in a temporary folder for tests.
#include "support/temp_lab.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include "common/text_encoding.h"
#include "common/path_text.h"

namespace fs = std::filesystem;

namespace {
fs::path NewTempFolder() {
  static std::atomic<int> counter{0};
  std::random_device random;
  const fs::path folder =
      fs::temp_directory_path() / ("duplex-lab-" + std::to_string(random()) + "-" + std::to_string(counter++));
  fs::create_directories(folder);
  return folder;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (const wchar_t c : text) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}
}  // namespace

TempLab::TempLab(const std::wstring& computerName) : folder_(NewTempFolder()) {
  WriteBytes(folder_ / "lab.conf", "# test lab\ncomputer-name = " + Utf8FromWide(computerName) + "\n");
  fs::create_directories(folder_ / "servers" / PathFromWide(computerName));
  fs::create_directories(folder_ / "drives" / "C");
  fs::create_directories(folder_ / "drives" / "D");
  fs::create_directories(folder_ / "drives" / "E");
}

TempLab::~TempLab() {
  std::error_code error;
  fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(folder_, error);
}

void TempLab::AddRegFile(const std::wstring& server, const std::string& fileName, const std::wstring& body,
                         RegEncoding encoding) {
  std::string bytes;
  if (encoding == RegEncoding::Version5) {
    const auto utf16 = Utf16LeBytesFromWide(WithCrLf(L"Windows Registry Editor Version 5.00\n\n" + body + L"\n"));
    bytes = "\xFF\xFE";
    bytes.append(utf16.begin(), utf16.end());
  } else {
    bytes = SingleByteFromWide(WithCrLf(L"REGEDIT4\n\n" + body + L"\n"));
  }
  WriteBytes(folder_ / "servers" / PathFromWide(server) / fileName, bytes);
}

void TempLab::WriteServerFile(const std::wstring& server, const std::string& fileName, const std::string& bytes) {
  WriteBytes(folder_ / "servers" / PathFromWide(server) / fileName, bytes);
}

void TempLab::SetHighAvailMode(const std::wstring& server, long mode) {
  std::wstring body = L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n";
  if (mode >= 0) {
    wchar_t digits[16];
    std::swprintf(digits, 16, L"%08lx", mode);
    body += L"\"HighAvailMode\"=dword:" + std::wstring(digits) + L"\n";
  }
  AddRegFile(server, "product.reg", body);
}

fs::path TempLab::DriveHostPath(const std::wstring& windowsPath) const {
  fs::path path = folder_ / "drives" / std::string(1, static_cast<char>(windowsPath.at(0)));
  std::wstring part;
  for (std::size_t i = 2; i <= windowsPath.size(); ++i) {
    if (i == windowsPath.size() || windowsPath[i] == L'\\') {
      if (!part.empty()) path /= PathFromWide(part);
      part.clear();
    } else {
      part += windowsPath[i];
    }
  }
  return path;
}

void TempLab::WriteDriveFile(const std::wstring& windowsPath, const std::string& bytes) {
  WriteBytes(DriveHostPath(windowsPath), bytes);
}

std::string TempLab::ReadDriveFile(const std::wstring& windowsPath) const {
  std::ifstream in(DriveHostPath(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempLab::DriveFileExists(const std::wstring& windowsPath) const { return fs::exists(DriveHostPath(windowsPath)); }

bool TempLab::TemporaryLeftBeside(const std::wstring& windowsPath) const {
  const fs::path file = DriveHostPath(windowsPath);
  const std::string prefix = file.filename().string() + ".";
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(file.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > prefix.size() + 4 && name.compare(0, prefix.size(), prefix) == 0 &&
        name.compare(name.size() - 4, 4, ".new") == 0) {
      return true;
    }
  }
  return false;
}

void TempLab::AddLabConfLine(const std::string& line) {
  std::ofstream(folder_ / "lab.conf", std::ios::binary | std::ios::app) << line << "\n";
}

std::unique_ptr<Lab> TempLab::Load(std::string* error) const {
  std::string ignored;
  std::unique_ptr<Lab> lab = Lab::Load(folder_, error != nullptr ? error : &ignored);
  // Tests check what the probes find; a lost echo's second passes on the lab's clock.
  if (lab != nullptr) lab->WaitEchoesOnLabClock();
  return lab;
}
