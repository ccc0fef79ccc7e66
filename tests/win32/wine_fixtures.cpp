// Controlled state for the Win32 tests under Wine: registry keys under HKLM, temp folders, dialog watching.
#include "wine_fixtures.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "resource.h"

namespace {
std::wstring WindowText(HWND window) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(window, buffer, 4096);
  return buffer;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

HKEY CreateMachineKey(const std::wstring& path) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

std::wstring Join(const std::wstring& path, const std::wstring& subKey) {
  return subKey.empty() ? path : path + L"\\" + subKey;
}
}  // namespace

void DeleteMachineKeyTree(const std::wstring& path) { RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str()); }

ScopedMachineKey::ScopedMachineKey(std::wstring path) : path_(std::move(path)) {
  DeleteMachineKeyTree(path_);
  CreateSubKey(L"");
}

ScopedMachineKey::~ScopedMachineKey() {
  DeleteMachineKeyTree(path_);
  // RegDeleteTreeW leaves the key itself; remove it too.
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str());
}

void ScopedMachineKey::CreateSubKey(const std::wstring& subKey) const {
  if (HKEY key = CreateMachineKey(Join(path_, subKey)); key != nullptr) RegCloseKey(key);
}

void ScopedMachineKey::SetValue(const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data,
                                DWORD bytes) const {
  if (HKEY key = CreateMachineKey(Join(path_, subKey)); key != nullptr) {
    RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
  }
}

void ScopedMachineKey::SetDword(const std::wstring& subKey, const std::wstring& name, DWORD value) const {
  SetValue(subKey, name, REG_DWORD, &value, sizeof value);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, base);
  std::random_device random;
  path_ = std::wstring(base) + L"duplex-win32-" + std::to_wstring(random()) + L"-" + std::to_wstring(GetTickCount());
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(path_), error);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsMessageBox(HWND window) {
  return ClassOf(window) == L"#32770" && IsWindowVisible(window) && GetDlgItem(window, IDC_NODE_INFO_LIST) == nullptr;
}

SeenBox ReadBox(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return {WindowText(box), text != nullptr ? WindowText(text) : std::wstring()};
}

std::wstring ComputerName() {
  wchar_t name[256] = {};
  DWORD chars = 256;
  GetComputerNameW(name, &chars);
  return std::wstring(name, chars);
}

DialogWatcher::DialogWatcher(DWORD uiThreadId, std::function<void(HWND)> onWizardShown, DWORD timeoutMs)
    : uiThreadId_(uiThreadId),
      onWizardShown_(std::move(onWizardShown)),
      timeoutMs_(timeoutMs),
      thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher() { Finish(); }

void DialogWatcher::Finish() {
  done_ = true;
  if (thread_.joinable()) thread_.join();
}

void DialogWatcher::Run() {
  struct Found {
    std::vector<HWND> boxes;
    HWND wizard = nullptr;
  };
  const auto start = std::chrono::steady_clock::now();
  // A window that closes itself after a box (EndDialog right after the box returns) can stay
  // visible for a while once the box is gone: without a window manager, Wine waits up to about two
  // seconds for the X server to confirm each map and unmap. So after a box the window counts as
  // shown only when it is still there some seconds later.
  constexpr auto kSettle = std::chrono::milliseconds(3000);
  auto lastBoxAnswered = start - kSettle;
  std::vector<HWND> answered;
  while (!done_) {
    Found found;
    EnumThreadWindows(
        uiThreadId_,
        [](HWND window, LPARAM param) -> BOOL {
          auto* into = reinterpret_cast<Found*>(param);
          if (IsMessageBox(window)) {
            into->boxes.push_back(window);
          } else if (IsWindowVisible(window) && GetDlgItem(window, IDC_NODE_INFO_LIST) != nullptr) {
            into->wizard = window;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    const bool late = std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs_);
    for (HWND box : found.boxes) {
      if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
      answered.push_back(box);
      boxes_.push_back(ReadBox(box));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      lastBoxAnswered = std::chrono::steady_clock::now();
    }
    const bool settled = std::chrono::steady_clock::now() - lastBoxAnswered >= kSettle;
    if (found.boxes.empty() && found.wizard != nullptr && settled && !handledWizard_) {
      handledWizard_ = true;
      onWizardShown_(found.wizard);
    }
    if (late && !timedOut_) {
      timedOut_ = true;
      if (found.wizard != nullptr) PostMessageW(found.wizard, WM_COMMAND, IDCANCEL, 0);
    }
    Sleep(20);
  }
}
