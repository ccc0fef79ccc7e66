// The wizard window's logic: its entries, stage, step buttons, list and handlers, apart from any toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "nodes/cnode.h"
#include "platform/files.h"

class InstallLog;
class StartedProcess;
class WizardView;
struct Platform;

class WizardDialog {
 public:
  WizardDialog(Platform& platform, InstallLog& log, WizardView& view);

  // Handlers, each run to completion on the window's thread.
  void OnInitDialog();
  void OnStep1();
  void OnStep2();
  void OnStep3();
  void OnReset();
  void OnExit();

  // Field exchange: `read` copies the controls into the entry strings (false when the
  // AutoStart domain is too long), otherwise the strings are shown in the controls.
  bool UpdateData(bool read);

  // The defaults file: read once at opening; written by Step 2 (0, or non-zero after its own message).
  Status LoadDefaults();
  Status SaveDefaults();
  // Removes the defaults file for Reset: 0 when removed, 2 when there was none, else the failing call's code.
  Status DeleteDefaultsFile();

  // Step 1: the entry rules, then both servers gathered and listed. 0 or 13.
  Status CollectNodeInformation();
  // Step 2: the two servers compared, every finding in one report. 0 or 13.
  Status ValidateNodeInformation();

  // Step 3: the collection and validation again, the manifest and service checks, the installer's
  // two input files, the installer run and its definition file confirmed. Every outcome is told
  // in a box and in the log.
  void GenerateDefinition();
  // The installer's input files, each replaced whole: 0, or the failing call's code after its message.
  Status WriteAutoStartIni();
  Status WritePerlInputFile();

  // 0 is stage 1 (Steps 1 and 2), 1 is stage 2 (Step 3); any other stored value is kept as is.
  std::int32_t WizardStage = 0;
  cNode Node2Info;
  cNode Node1Info;

  std::wstring Node2HostName;
  std::wstring Node1HostName;
  std::wstring ManagedHostName;
  std::wstring ManagedClanIp;
  std::wstring ManagedElanIp;
  std::wstring UserName;
  std::wstring WorkgroupDomainName;
  std::wstring BoardCount;
  std::wstring AutoStartDomain;
  std::wstring ClanTestIp;

 private:
  void EnableButtonsForStage();
  void CheckLocalFeature();
  std::wstring LocalComputerName();
  // The collection with the window showing that it is busy.
  Status CollectShowingBusy();
  // Writes `lines` as the whole of the file at `path`; a failure is logged and shown, with the
  // failed part of the write in `failedStep`.
  Status WriteWholeTextFile(const wchar_t* path, const std::vector<std::wstring>& lines, FileWriteStep* failedStep);
  // Step 2's and Step 3's line for each server with a service not running; empty when all run.
  std::wstring ServicesNotRunningReport() const;
  // Shows a validation report in its box and logs it as an error.
  void ShowValidationReport(const std::wstring& report);
  // Logs a failure as an error and shows it in a box with the application title.
  void ReportFailure(const std::wstring& message);
  // Starts the installer, waits for it and confirms that it generated `definitionFile`.
  void RunInstaller(const std::wstring& commandLine, const std::wstring& definitionFile);
  // True once the installer ended; false when it is still running at the bound.
  bool WaitForInstaller(StartedProcess& installer);

  Platform& platform_;
  InstallLog& log_;
  WizardView& view_;
  // Set while a handler runs (see HandlerGuard).
  bool handlerRunning_ = false;
};
