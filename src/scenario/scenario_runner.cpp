// Runs a scenario script: the wizard on a copy of a lab, driven as a user would drive it, told in a transcript.
#include "scenario/scenario_runner.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <system_error>

#include "log/wizard_app.h"
#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_faults.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_folder.h"
#include "platform/lab/lab_processes.h"
#include "common/path_text.h"
#include "resource.h"
#include "scenario/scripted_view.h"
#include "wizard/wizard_dialog.h"

namespace fs = std::filesystem;

struct ScenarioRunner::Window {
  Lab& lab;
  ScriptedView& view;
  WizardDialog& dialog;
};

namespace {
constexpr LocalDateTime kScenarioLocalTime{2026, 12, 8, 9, 30, 0};

bool Fail(std::string* reason, std::string text) {
  *reason = std::move(text);
  return false;
}

bool ReadBytes(const fs::path& file, std::string* bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// Adds a "key = value" line to a lab file, on a line of its own whatever the file ended with.
bool AppendLine(const fs::path& file, const std::string& line, std::string* reason) {
  std::string bytes;
  std::error_code error;
  if (fs::exists(file, error) && !ReadBytes(file, &bytes)) return Fail(reason, "cannot read " + file.string());
  if (!bytes.empty() && bytes.back() != '\n') bytes += '\n';
  bytes += line + "\n";
  return WriteBytes(file, bytes) || Fail(reason, "cannot write " + file.string());
}

// The folder of the lab's server `name`, matched ignoring case as the lab matches server names.
fs::path ServerFolder(const fs::path& lab, const std::string& name) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(lab / "servers", error)) {
    if (entry.is_directory(error) &&
        EqualsIgnoringAsciiCase(WideFromPath(entry.path().filename()), WideFromUtf8(name))) {
      return entry.path();
    }
  }
  return {};
}

std::string ClosedLine(int result) {
  if (result == kDialogResultOk) return "window closed: OK";
  if (result == kDialogResultCancel) return "window closed: Cancel";
  return "window closed: " + std::to_string(result);
}

}  // namespace

fs::path MakeScratchFolder(const fs::path& parent, std::string* reason) {
  std::error_code error;
  const fs::path base = parent.empty() ? fs::temp_directory_path(error) : parent;
  if (error) {
    *reason = "no temporary folder: " + error.message();
    return {};
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = base / ("duplex-scenario-" + std::to_string(random()));
    if (fs::create_directory(folder, error)) return folder;
  }
  *reason = "cannot make a folder in " + base.string();
  return {};
}

void RemoveScratchFolder(const fs::path& folder) {
  // Renamed away first: a thread still writing by path then finds nothing to write into, and the
  // removal can't be outrun by new entries.
  fs::path removing = folder;
  removing += ".removing";
  std::error_code error;
  fs::rename(folder, removing, error);
  const fs::path target = error ? folder : removing;
  for (int attempt = 0; attempt < 20; ++attempt) {
    fs::remove_all(target, error);
    if (!error) return;
  }
}

ScenarioRunner::ScenarioRunner(ScenarioSettings settings, Transcript& transcript)
    : settings_(std::move(settings)), transcript_(transcript), log_(transcript) {}

ScenarioRunner::~ScenarioRunner() { RemoveLabCopy(); }

void ScenarioRunner::RemoveLabCopy() {
  if (copyRoot_.empty()) return;
  KeepReports();
  RemoveScratchFolder(copyRoot_);
  copyRoot_.clear();
  labFolder_.clear();
}

void ScenarioRunner::KeepReports() {
  if (settings_.reportsFolder.empty()) return;
  std::error_code error;
  const fs::path reports = LabFileSystem(labFolder_ / "drives").HostPath(L"C:\\ProgramData\\Zandor\\Reports");
  if (!fs::is_directory(reports, error)) return;
  fs::create_directories(settings_.reportsFolder, error);
  ++keptLabs_;
  for (const auto& entry : fs::directory_iterator(reports, error)) {
    const std::string name =
        settings_.reportsPrefix + "-" + std::to_string(keptLabs_) + "-" + entry.path().filename().string();
    fs::copy_file(entry.path(), settings_.reportsFolder / name, fs::copy_options::overwrite_existing, error);
  }
}

bool ScenarioRunner::Run(const std::vector<ScenarioCommand>& commands, ScriptError* error) {
  std::size_t next = 0;
  while (next < commands.size()) {
    const ScenarioCommand& command = commands[next++];
    transcript_.Add("> " + command.source);
    if (command.verb == ScenarioVerb::Start || command.verb == ScenarioVerb::Restart) {
      // A restart that finds the window closed (it ended itself, or was exited) is a plain start.
      if (!RunWindow(commands, &next, command, error)) return false;
      continue;
    }
    std::string reason;
    if (!Execute(command, &reason) || !CheckAnswers(command, &reason)) {
      *error = {command.line, reason};
      return false;
    }
  }
  if (!answers_.empty()) {
    *error = {firstAnswerLine_, "this answer was not asked for"};
    return false;
  }
  return true;
}

bool ScenarioRunner::RunWindow(const std::vector<ScenarioCommand>& commands, std::size_t* next,
                               const ScenarioCommand& start, ScriptError* error) {
  if (labFolder_.empty()) {
    *error = {start.line, "no lab yet: a lab command comes first"};
    return false;
  }
  // Each run reads the lab afresh, so that what earlier runs wrote on its drives is there.
  std::string loadError;
  const std::unique_ptr<Lab> lab = Lab::Load(labFolder_, &loadError);
  if (lab == nullptr) {
    *error = {start.line, "the lab can't be loaded: " + loadError};
    return false;
  }
  // Reports are named by the date and time: one fixed moment keeps transcripts the same.
  lab->MachineInfo().PinLocalTime(kScenarioLocalTime);
  // What the probes find is the story; a lost echo's second passes on the lab's clock.
  lab->WaitEchoesOnLabClock();
  TranscriptOwnerlessBox ownerlessBox(transcript_);
  Platform platform = lab->MakePlatform();
  ScriptedView view(transcript_, answers_);
  WizardDialog dialog(platform, log_, view, ownerlessBox);
  Window window{*lab, view, dialog};
  window_ = &window;

  bool ok = true;
  WizardApp(log_).InitInstance([&] {
    dialog.OnInitDialog();
    std::string reason;
    if (!CheckAnswers(start, &reason)) {
      *error = {start.line, reason};
      ok = false;
      return;
    }
    while (!view.Ended() && *next < commands.size() && commands[*next].verb != ScenarioVerb::Restart) {
      const ScenarioCommand& command = commands[(*next)++];
      transcript_.Add("> " + command.source);
      if (!Execute(command, &reason) || !CheckAnswers(command, &reason)) {
        *error = {command.line, reason};
        ok = false;
        return;
      }
    }
    // A restart or the script's end leaves the window as Escape does.
    if (!view.Ended()) view.EndModal(kDialogResultCancel);
    transcript_.Add(ClosedLine(view.Result()));
  });
  window_ = nullptr;
  return ok;
}

bool ScenarioRunner::CheckAnswers(const ScenarioCommand& command, std::string* reason) const {
  if (window_ != nullptr && window_->view.MissedAnswer()) {
    return Fail(reason,
                "a question came with no answer queued: put \"answer yes\" or \"answer no\" before this command");
  }
  if (command.verb != ScenarioVerb::Answer && !answers_.empty()) {
    return Fail(reason, "the answer of line " + std::to_string(firstAnswerLine_) + " was not asked for");
  }
  return true;
}

bool ScenarioRunner::Execute(const ScenarioCommand& command, std::string* reason) {
  const std::vector<std::string>& args = command.args;
  switch (command.verb) {
    case ScenarioVerb::Lab: return UseLab(args, reason);
    case ScenarioVerb::File: return WriteDriveFile(args, reason);
    case ScenarioVerb::RemoveFile:
    case ScenarioVerb::RemoveFolder: return RemoveDriveEntry(command.verb, args[0], reason);
    case ScenarioVerb::Fault: return AddFault(args, reason);
    case ScenarioVerb::Answer:
      if (answers_.empty()) firstAnswerLine_ = command.line;
      answers_.push_back(args[0] == "yes");
      return true;
    case ScenarioVerb::Show:
      if (args[0] == "file") {
        if (labFolder_.empty()) return Fail(reason, "no lab yet: a lab command comes first");
        ShowFile(args[1]);
        return true;
      }
      break;
    case ScenarioVerb::Start:
    case ScenarioVerb::Restart:
      return Fail(reason, "the window is already open: restart ends this run and starts the next");
    default: break;
  }

  // The rest is done to the window.
  if (window_ == nullptr) return Fail(reason, "no window is open: start opens one");
  ScriptedView& view = window_->view;
  switch (command.verb) {
    case ScenarioVerb::Type: view.Type(*FindEntryControl(args[0]), WideFromUtf8(args[1])); return true;
    case ScenarioVerb::Choose:
      return view.Choose(WideFromUtf8(args[0])) || Fail(reason, "no item \"" + args[0] + "\" in the board count list");
    case ScenarioVerb::Press: return Press(args[0]);
    case ScenarioVerb::Show: {
      std::vector<std::string> lines;
      if (args[0] == "list") lines = view.ListLines();
      if (args[0] == "entries") lines = view.EntryLines();
      if (args[0] == "buttons") lines = {view.ButtonLine()};
      for (std::string& line : lines) transcript_.Add(std::move(line));
      return true;
    }
    default: return Fail(reason, "not a command for the window");
  }
}

bool ScenarioRunner::Press(const std::string& buttonName) {
  const WizardControl& button = *FindButtonControl(buttonName);
  ScriptedView& view = window_->view;
  WizardDialog& dialog = window_->dialog;
  if (!view.IsEnabled(button.id)) {
    transcript_.Add(buttonName + " is disabled");
    return true;
  }
  switch (button.id) {
    case IDC_STEP1: dialog.OnStep1(); break;
    case IDC_STEP2: dialog.OnStep2(); break;
    case IDC_STEP3: dialog.OnStep3(); break;
    case IDC_RESET: dialog.OnReset(); break;
    case IDOK_EXIT: dialog.OnExit(); break;
    // As in both bindings, Escape (the hidden Cancel) ends the window without a question.
    case IDCANCEL_HIDDEN: view.EndModal(kDialogResultCancel); break;
    default: break;
  }
  return true;
}

bool ScenarioRunner::UseLab(const std::vector<std::string>& args, std::string* reason) {
  if (window_ != nullptr) return Fail(reason, "the lab can't change while the window is open");
  const fs::path source = args[0] == "bundled" ? settings_.bundledLabs / args[1]
                                               : settings_.scriptFolder / PathFromWide(WideFromUtf8(args[1]));
  std::error_code error;
  if (!fs::is_regular_file(source / "lab.conf", error)) return Fail(reason, "no lab at " + source.string());
  RemoveLabCopy();
  copyRoot_ = MakeScratchFolder(settings_.scratchFolder, reason);
  if (copyRoot_.empty()) return false;
  // The runs write into the copy, never into the lab the script names; a link in the lab is never
  // followed (one to / would copy the whole file system), and the lab is refused for it.
  const fs::path copy = copyRoot_ / "lab";
  labFolder_ = copy;
  std::string copyError;
  if (!CopyLabFolder(source, copy, &copyError)) {
    RemoveLabCopy();
    return Fail(reason, "cannot copy " + source.string() + ": " + copyError);
  }
  return true;
}

fs::path ScenarioRunner::HostPath(const std::string& windowsPath) const {
  return LabFileSystem(labFolder_ / "drives").HostPath(WideFromUtf8(windowsPath));
}

// Whether `entry` lies below the copy's drives/ folder once links and ".." are resolved, so that
// whatever a script names (or a link a run left on the drives) is never written outside the copy.
bool ScenarioRunner::OnLabDrives(const fs::path& entry) const {
  std::error_code error;
  const fs::path drives = fs::weakly_canonical(labFolder_ / "drives", error);
  if (error) return false;
  const fs::path resolved = fs::weakly_canonical(entry, error);
  if (error) return false;
  const auto [inDrives, inResolved] = std::mismatch(drives.begin(), drives.end(), resolved.begin(), resolved.end());
  return inDrives == drives.end() && inResolved != resolved.end();
}

bool ScenarioRunner::WriteDriveFile(const std::vector<std::string>& args, std::string* reason) {
  if (labFolder_.empty()) return Fail(reason, "no lab yet: a lab command comes first");
  const fs::path file = HostPath(args[0]);
  if (!OnLabDrives(file)) return Fail(reason, "\"" + args[0] + "\" leaves the lab's drives");
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  // The lab's files are single-byte text, as the program reads them.
  return WriteBytes(file, SingleByteFromWide(WideFromUtf8(args[1]))) || Fail(reason, "cannot write " + file.string());
}

bool ScenarioRunner::RemoveDriveEntry(ScenarioVerb verb, const std::string& windowsPath, std::string* reason) {
  if (labFolder_.empty()) return Fail(reason, "no lab yet: a lab command comes first");
  const fs::path entry = HostPath(windowsPath);
  if (!OnLabDrives(entry)) return Fail(reason, "\"" + windowsPath + "\" leaves the lab's drives");
  std::error_code error;
  // Removing what isn't there is a mistake in the script, not a scene.
  if (verb == ScenarioVerb::RemoveFile) {
    if (!fs::is_regular_file(entry, error)) return Fail(reason, "there is no file " + windowsPath);
    fs::remove(entry, error);
  } else {
    if (!fs::is_directory(entry, error)) return Fail(reason, "there is no folder " + windowsPath);
    fs::remove_all(entry, error);
  }
  return !error || Fail(reason, "cannot remove " + entry.string() + ": " + error.message());
}

bool ScenarioRunner::AddFault(const std::vector<std::string>& args, std::string* reason) {
  if (labFolder_.empty()) return Fail(reason, "no lab yet: a lab command comes first");
  const std::string& server = args[0];
  const std::string& key = args[1];
  const std::string& value = args[2];
  // Written into the lab's own files, so that the fault lasts through restarts as it would on the machine.
  if (server.empty()) {
    if (!AppendLine(labFolder_ / "lab.conf", key + " = " + value, reason)) return false;
    if (window_ == nullptr) return true;
    LabFileSystem& files = window_->lab.Files();
    if (key == "deny-file") {
      files.DenyFileAccess(WideFromUtf8(value));
    } else if (key == "start-error") {
      window_->lab.Processes().SetStartError(static_cast<Status>(std::strtoul(value.c_str(), nullptr, 10)));
    } else if (key == "process-delay-ms") {
      window_->lab.Processes().SetExtraRunTime(static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 10)));
    } else if (key.rfind("installer-", 0) == 0) {
      LabInstallerFaults installer = window_->lab.Processes().InstallerFaults();
      if (key == "installer-exit-code") {
        installer.exitCode = static_cast<int>(std::strtoul(value.c_str(), nullptr, 10));
      } else if (key == "installer-definition") {
        installer.writesDefinition = value == "yes";
      } else {
        installer.hangs = value == "yes";
      }
      window_->lab.Processes().SetInstallerFaults(installer);
    } else {
      for (const char letter : value) {
        if (letter != ' ' && letter != '\t') files.SetDiskFull(static_cast<wchar_t>(letter), true);
      }
    }
    return true;
  }

  const fs::path folder = ServerFolder(labFolder_, server);
  if (folder.empty()) return Fail(reason, "the lab has no server " + server);
  const fs::path faultsFile = folder / "faults.conf";
  if (!AppendLine(faultsFile, key + " = " + value, reason)) return false;
  std::string bytes;
  LabServerFaults faults;
  LabFaultsError faultsError;
  if (!ReadBytes(faultsFile, &bytes)) return Fail(reason, "cannot read " + faultsFile.string());
  if (!ReadServerFaults(bytes, &faults, &faultsError)) {
    return Fail(reason, "servers/" + folder.filename().string() + "/faults.conf:" + std::to_string(faultsError.line) +
                            ": " + faultsError.reason);
  }
  if (window_ != nullptr) window_->lab.SetFaults(WideFromPath(folder.filename()), faults);
  return true;
}

void ScenarioRunner::ShowFile(const std::string& windowsPath) {
  const fs::path file = HostPath(windowsPath);
  std::error_code error;
  std::string bytes;
  if (!fs::is_regular_file(file, error) || !ReadBytes(file, &bytes)) {
    transcript_.Add("  absent");
    return;
  }
  if (bytes.empty()) transcript_.Add("  (empty)");
  // One transcript line per line of the file, its line end shown.
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    transcript_.Add("  " + VisibleText(WideFromSingleByte(bytes.substr(start, end - start))));
    start = end;
  }
}
