// Controlled state for the Win32 tests under Wine: registry keys under HKLM, temp folders, dialog watching.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// A key below HKLM that the test owns: created empty, deleted with everything under it at the end.
class ScopedMachineKey {
 public:
  explicit ScopedMachineKey(std::wstring path);
  ~ScopedMachineKey();
  ScopedMachineKey(const ScopedMachineKey&) = delete;
  ScopedMachineKey& operator=(const ScopedMachineKey&) = delete;

  const std::wstring& Path() const { return path_; }
  // Creates `subKey` (may be empty: this key) and sets one value in it.
  void SetValue(const std::wstring& subKey, const std::wstring& name, DWORD type, const void* data, DWORD bytes) const;
  void SetDword(const std::wstring& subKey, const std::wstring& name, DWORD value) const;
  void CreateSubKey(const std::wstring& subKey) const;

 private:
  std::wstring path_;
};

// Removes HKLM\<path> and all below it; absent keys are fine.
void DeleteMachineKeyTree(const std::wstring& path);

// A fresh folder in the temporary folder, removed with its content at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// A box the watcher answered: its caption and text (the static control 0xFFFF).
struct SeenBox {
  std::wstring caption;
  std::wstring text;
};

// True for a dialog-class window that is a message box rather than the wizard's own window.
bool IsMessageBox(HWND window);
SeenBox ReadBox(HWND box);

// The computer name Wine reports (the host name in capitals).
std::wstring ComputerName();

// Runs on its own thread while a modal window runs on another: answers each message box with OK,
// and once the wizard window has shown itself with no box over it, hands it to `onWizardShown`
// (which may read it and must close it). Gives up after `timeoutMs`, closing whatever is left.
class DialogWatcher {
 public:
  DialogWatcher(DWORD uiThreadId, std::function<void(HWND)> onWizardShown, DWORD timeoutMs = 20000);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Call when the modal run has returned; joins the thread.
  void Finish();
  const std::vector<SeenBox>& Boxes() const { return boxes_; }
  bool HandledWizard() const { return handledWizard_; }
  bool TimedOut() const { return timedOut_; }

 private:
  void Run();

  DWORD uiThreadId_;
  std::function<void(HWND)> onWizardShown_;
  DWORD timeoutMs_;
  std::atomic<bool> done_{false};
  std::vector<SeenBox> boxes_;
  bool handledWizard_ = false;
  bool timedOut_ = false;
  std::thread thread_;
};
