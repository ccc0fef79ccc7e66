// The lab edition's entry point: picks the lab, loads the install log library and runs the wizard window,
// or, given a command, runs it without a window.
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <iostream>
#include <memory>
#include <string>

#include "platform/lab/lab.h"
#include "wizard/qt/lab_command_line.h"
#include "wizard/qt/lab_startup.h"
#include "wizard/qt/lab_edition_run.h"
#include "wizard/qt/qt_wizard_window.h"

int main(int argc, char* argv[]) {
  // A command runs on servers in the lab, not on a display: a script may start it without one.
  if (argc > 1) return RunLabCommandLine(argc, argv);
  QApplication application(argc, argv);

  std::string error;
  const std::unique_ptr<Lab> lab = LoadRunLab(&error);
  if (lab == nullptr) {
    std::cerr << "DuplexSetupAssistant: " << error << '\n';
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), QString::fromStdString(error), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
  }

  LabEditionRun run(*lab);
  run.Run();
  return 0;
}
