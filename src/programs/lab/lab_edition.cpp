// The lab edition's run: the lab (DUPLEX_SETUP_LAB's, or the per-user copy of the bundled demo) and the install log,
// made once and handed to the window or to the command line.
#include "programs/lab/lab_edition.h"

#include <unistd.h>

#include <QMessageBox>
#include <QString>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "cli/console.h"
#include "cli/run_command_line.h"
#include "common/text_encoding.h"
#include "log/wizard_app.h"
#include "platform/executable_path.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_location.h"
#include "wizard/qt/qt_wizard_window.h"

namespace {
// The lab DUPLEX_SETUP_LAB names; without it, the per-user copy of the demo lab bundled beside the executable.
std::unique_ptr<Lab> LoadRunLab(std::string* error) {
  std::filesystem::path folder = NamedLabFolder();
  if (folder.empty()) {
    folder = PrepareDemoLabCopy(BundledDemoLab(ExecutableFolder()), error);
    if (folder.empty()) return nullptr;
  }
  return Lab::Load(folder, error);
}
}  // namespace

LabEdition::LabEdition()
    : lab_(LoadRunLab(&problem_)),
      // A lab that does not load leaves the log where a run without a lab keeps it.
      library_(lab_ != nullptr ? lab_->InstallLogFile().string() : std::string()),
      log_(library_.WriteFunction(), library_.Problem(), DefaultFallbackLogFile(), std::cerr) {
  if (lab_ != nullptr) platform_.emplace(lab_->MakePlatform());
}

LabEdition::~LabEdition() = default;

int LabEdition::RunCommandLine(const std::vector<std::wstring>& words) {
  // A reader that stops early (check | head -1) must not end the run before its report is saved:
  // a write to a closed pipe fails, and the console goes on without it.
  std::signal(SIGPIPE, SIG_IGN);
  StreamConsole console(std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
  CliContext context;
  // Answers FILE and report FOLDER are files of this computer.
  HostFileSystem hostFiles;
  context.hostFiles = &hostFiles;
  if (platform_) {
    context.platform = &*platform_;
  } else {
    context.platformProblem = L"The lab cannot be used: " + WideFromUtf8(problem_);
  }
  context.log = &log_;
  context.console = &console;
  return ::RunCommandLine(words, context);
}

int LabEdition::RunWindow(const std::function<void(QtWizardWindow&)>& watch) {
  if (!platform_) {
    std::cerr << "DuplexSetupAssistant: " << problem_ << '\n';
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), QString::fromStdString(problem_), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
  }
  QtWizardWindow window(*platform_, log_);
  if (watch) watch(window);
  WizardApp(log_).InitInstance([&] { window.RunModal(); });
  return 0;
}
