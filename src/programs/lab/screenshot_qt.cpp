// Grabs the lab edition's wizard window, as it opens on a lab, into a PNG file (tools/screenshot-qt.sh runs it).
//
//   duplex_qt_screenshot OUTPUT.png
//
// The lab is the one DUPLEX_SETUP_LAB names, or the demo lab bundled beside this executable,
// read in place: opening the window writes nothing, and install log lines are dropped.
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "log/install_log.h"
#include "platform/executable_path.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_location.h"
#include "wizard/qt/qt_wizard_window.h"

namespace {
class DiscardingLog : public InstallLog {
 public:
  void Write(const std::wstring&, LogClass) override {}
};
}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: duplex_qt_screenshot OUTPUT.png\n";
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);

  std::filesystem::path folder = NamedLabFolder();
  if (folder.empty()) folder = ExecutableFolder() / "demo-lab";
  std::string error;
  const std::unique_ptr<Lab> lab = Lab::Load(folder, &error);
  if (lab == nullptr) {
    std::cerr << "duplex_qt_screenshot: " << error << '\n';
    return 1;
  }

  DiscardingLog log;
  Platform platform = lab->MakePlatform();
  QtWizardWindow window(platform, log);

  bool saved = false;
  // Boxes shown while the window opens are reported and closed; the window is grabbed once shown.
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::cerr << "box: " << box->text().toStdString() << '\n';
      box->done(QMessageBox::Ok);
      return;
    }
    if (window.isVisible() && QApplication::activeModalWidget() == &window) {
      poll.stop();
      saved = window.grab().save(output, "PNG");
      window.reject();
    }
  });
  poll.start();
  window.RunModal();

  if (!saved) {
    std::cerr << "duplex_qt_screenshot: the window was not shown or " << output.toStdString()
              << " could not be written\n";
    return 1;
  }
  std::cout << output.toStdString() << '\n';
  return 0;
}
