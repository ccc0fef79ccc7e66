// The wizard window's logic: its entries, stage, step buttons, list and handlers, apart from any
// toolkit. Each operation reads the window, calls the checks and file builders, logs and tells the
// user; the files beside this one hold one step each (see docs/architecture.md).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/entries.h"
#include "common/status.h"
#include "nodes/cnode.h"
#include "platform/files.h"
#include "validation/link_probe_plan.h"
#include "validation/readiness_finding.h"
#include "wizard/node_pair_reader.h"
#include "wizard/readiness_report_file.h"
#include "wizard/responsive_remote_calls.h"

class InstallLog;
class NodeReader;
class OwnerlessMessageBox;
class StartedProcess;
class WizardView;
struct Platform;

// How Step 3 ended; the window tells each in its box and ignores this, a run without a window
// turns it into its exit code.
enum class DefinitionOutcome {
  Confirmed,           // the installer generated the definition file
  NotCollected,        // an entry rule failed, or a server could not be read
  NotValidated,        // the two servers do not agree
  ProductMissing,      // the product is not installed for the AutoStart domain
  ServicesNotRunning,  // a clustering service of a node is not running
  Refused,             // a FAIL finding of the readiness checks, and the question answered No
  FileNotWritten,      // an input file of the installer could not be written
  InstallerNotRun,     // the board count is neither 1 nor 3, or the installer could not be started
  NotConfirmed,        // the installer ran, but its definition file could not be confirmed
};

// The ten entry strings and WizardStage are the window's own fields, inherited from Entries so
// that the checks and file builders take the window's entries as they stand.
class WizardDialog : public Entries {
 public:
  WizardDialog(Platform& platform, InstallLog& log, WizardView& view, OwnerlessMessageBox& ownerlessBox);

  // Handlers, each run to completion on the window's thread (wizard_dialog.cpp, and the step files).
  void OnInitDialog();
  void OnStep1();
  void OnStep2();
  void OnStep3();
  void OnReset();
  void OnExit();

  // Field exchange (field_exchange.cpp): `read` copies the controls into the entry strings (false
  // when the AutoStart domain is too long), otherwise the strings are shown in the controls.
  bool UpdateData(bool read);
  // What that exchange refuses of the entry strings as they stand, said without a box: an entry
  // longer than its limit (the toolkit's prompt), or a board count that no item of the list begins
  // with (which the window would show as no choice). Empty when it takes them all; else
  // `controlId` names the entry (field_exchange.cpp).
  std::wstring RefusedEntry(int* controlId);

  // The defaults file (defaults_file_io.cpp): read once at opening; written by Step 2 (0, or
  // non-zero after its own message).
  [[nodiscard]] Status LoadDefaults();
  [[nodiscard]] Status SaveDefaults();
  // Removes the defaults file for Reset: 0 when removed, 2 when there was none, else the failing call's code.
  [[nodiscard]] Status DeleteDefaultsFile();

  // Step 1 (step1_collection.cpp): the entry rules, then both servers gathered and listed. 0 or 13.
  [[nodiscard]] Status CollectNodeInformation();
  // Step 2 (step2_validation.cpp): the two servers compared, every finding in one report. 0 or 13.
  [[nodiscard]] Status ValidateNodeInformation();
  // The report's lines of the last comparison, one per finding: none when it passed.
  const std::vector<std::wstring>& ValidationLines() const { return validationLines_; }

  // Step 3 (step3_definition.cpp): the collection and validation again, the manifest and service
  // checks, the installer's two input files, the installer run and its definition file confirmed.
  // Every outcome is told in a box and in the log.
  DefinitionOutcome GenerateDefinition();
  // The installer's input files, each replaced whole: 0, or the failing call's code after its message.
  [[nodiscard]] Status WriteAutoStartIni();
  [[nodiscard]] Status WritePerlInputFile();

 private:
  // Before the nodes, which gather through it: their registry and service manager calls run off
  // the window's thread, and the window repaints meanwhile.
  ResponsiveRemoteCalls remoteCalls_;

 public:
  cNode Node2Info;
  cNode Node1Info;

  // The readiness report the last readiness checks saved, or why they could not.
  const SavedReport& LastSavedReport() const { return lastSavedReport_; }

  // Step 1 reads the servers through `reader` from now on (null: the window's own, NodePairReader).
  void SetNodeReader(NodeReader* reader) { nodeReader_ = reader != nullptr ? reader : &pairReader_; }

 private:
  // Each entry control with the string it exchanges, in the window's exchange order.
  std::vector<std::pair<int, std::wstring*>> EntryFields();
  // The message for the first entry, in the window's tab order, holding a character the files
  // can't store; empty when there is none (step1_collection.cpp).
  std::wstring FirstUnstorableEntry();
  void EnableButtonsForStage();
  void CheckLocalFeature();
  // The collection with the window showing that it is busy.
  [[nodiscard]] Status CollectShowingBusy();
  // Writes `lines` as the whole of the file at `path`; a failure is logged and shown, with the
  // failed part of the write in `failedStep` (step_reports.cpp, as are the two below).
  [[nodiscard]] Status WriteWholeTextFile(const wchar_t* path, const std::vector<std::wstring>& lines,
                                          FileWriteStep* failedStep);
  // Shows a validation report in its box and logs it as an error.
  void ShowValidationReport(const std::wstring& report);
  // Logs a failure as an error and shows it in a box with the application title; `path`, when
  // the message names one, is shown as the view names files.
  void ReportFailure(const std::wstring& message, const std::wstring& path = {});
  // Starts the installer, waits for it and confirms that it generated `definitionFile`.
  DefinitionOutcome RunInstaller(const std::wstring& commandLine, const std::wstring& definitionFile);
  // True once the installer ended; false when it is still running at the bound.
  bool WaitForInstaller(StartedProcess& installer);
  // The cluster readiness checks of Step `step` (cluster_readiness.cpp): the one readiness run
  // (readiness_run.h), then FAIL and WARN findings shown. False only when a FAIL finding was shown
  // and the user did not answer `question` with Yes.
  bool CheckClusterReadiness(int step, const std::wstring& question);

  Platform& platform_;
  InstallLog& log_;
  WizardView& view_;
  // Set while a handler runs (see HandlerGuard).
  bool handlerRunning_ = false;
  std::vector<std::wstring> validationLines_;
  NodePairReader pairReader_;
  NodeReader* nodeReader_ = &pairReader_;
  SavedReport lastSavedReport_;
};
