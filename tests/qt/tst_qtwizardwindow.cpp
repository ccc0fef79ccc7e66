// The lab edition's window on a lab in a temporary folder: its layout, its entries and how its runs end.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/install_log.h"
#include "modal_driver.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_faults.h"
#include "platform/lab/lab_processes.h"
#include "support/cluster_server.h"
#include "support/temp_lab.h"
#include "wizard/qt/dialog_units.h"
#include "wizard/qt/qt_about_box.h"
#include "wizard/qt/qt_ownerless_message_box.h"
#include "wizard/qt/qt_wizard_window.h"
#include "wizard/wizard_controls.h"
#include "wizard/wizard_view.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kDefaultsFile[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";

// Each line with the cursor the application showed as it was written, so that a test can tell
// what the user saw while a step ran without any event loop turning.
class TestLog : public InstallLog {
 public:
  void Write(const std::wstring& message, LogClass) override {
    lines << QString::fromStdWString(message);
    cursors << ShownCursor();
  }
  // BlankCursor, which the program never shows, when the line was never written.
  Qt::CursorShape CursorAt(const QString& line) const {
    const qsizetype index = lines.indexOf(line);
    return index < 0 ? Qt::BlankCursor : cursors[index];
  }
  QStringList lines;
  QList<Qt::CursorShape> cursors;
};

// A fresh copy of one of the labs bundled under lab/, so that a run may write into it.
struct BundledLabCopy {
  explicit BundledLabCopy(const char* name) {
    if (!temp.isValid()) qFatal("no temporary folder for the lab %s", name);
    std::error_code error;
    fs::copy(fs::path(DUPLEX_LAB_DIR) / name, Folder(), fs::copy_options::recursive, error);
    if (error) qFatal("the lab %s does not copy: %s", name, error.message().c_str());
  }

  fs::path Folder() const { return fs::path(temp.path().toStdString()); }
  fs::path DefaultsFile() const { return Folder() / "drives/D/Zandor/HA/ToolkitInstaller2.0/HADefaults.dat"; }

  void WriteDefaults(const std::string& bytes) const {
    std::ofstream out(DefaultsFile(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  // Empty when there is no file.
  std::string ReadDefaults() const {
    std::ifstream in(DefaultsFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  QTemporaryDir temp;
};

// A lab whose computer, NODE-A, has the high-availability feature enabled unless told otherwise.
struct FeatureLab {
  explicit FeatureLab(long highAvailMode = 1) { temp.SetHighAvailMode(L"NODE-A", highAvailMode); }

  // Stage, managed host, CLAN IP, ELAN IP, node 1, node 2, user, workgroup, boards, AutoStart domain, CLAN test IP.
  void WriteDefaults(QStringList lines) {
    while (lines.size() < 11) lines << QString();
    temp.WriteDriveFile(kDefaultsFile, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toStdString());
  }

  TempLab temp;
};

// The real window wired to a loaded lab, as the program wires it.
struct LabWindow {
  explicit LabWindow(const TempLab& temp) : LabWindow(temp.Folder()) {}
  explicit LabWindow(const fs::path& folder)
      : lab(LoadOrDie(folder)), platform(lab->MakePlatform()), window(platform, log) {}

  static std::unique_ptr<Lab> LoadOrDie(const fs::path& folder) {
    std::string error;
    std::unique_ptr<Lab> loaded = Lab::Load(folder, &error);
    if (loaded == nullptr) qFatal("the test lab does not load: %s", error.c_str());
    return loaded;
  }

  template <typename T>
  T* Find(const char* name) {
    T* widget = window.findChild<T*>(QString::fromUtf8(name));
    if (widget == nullptr) qFatal("no %s in the window", name);
    return widget;
  }

  // The list as the user reads it: each row's three cells.
  QList<QStringList> ListRows() {
    auto* list = Find<QTreeWidget>("nodeInfoList");
    QList<QStringList> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
      const QTreeWidgetItem* item = list->topLevelItem(row);
      rows << QStringList{item->text(0), item->text(1), item->text(2)};
    }
    return rows;
  }

  // Which of Step 1, Step 2 and Step 3 can be pressed.
  QList<bool> StepsEnabled() {
    return {Find<QPushButton>("step1Button")->isEnabled(), Find<QPushButton>("step2Button")->isEnabled(),
            Find<QPushButton>("step3Button")->isEnabled()};
  }

  QStringList EntryTexts() {
    QStringList texts;
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) texts << edit->objectName() + '=' + edit->text();
    return texts;
  }

  std::unique_ptr<Lab> lab;
  TestLog log;
  Platform platform;
  QtWizardWindow window;
};

const QString kExitQuestion = QStringLiteral("Are you sure that you want to exit?");
const QString kLimitBox = QStringLiteral("Please enter no more than 8 characters.");
const QString kGatheringStarts = QStringLiteral("Validating configuration information entered by the user.");

// What a finished stage 1 on the demo lab leaves in the defaults file, stage first.
const std::string kDemoStage2Defaults =
    "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

// Row labels whose value cell is empty in `column`.
QStringList EmptyCells(const QList<QStringList>& rows, int column) {
  QStringList empty;
  for (const QStringList& row : rows) {
    if (row.value(column).isEmpty()) empty << row.value(0);
  }
  return empty;
}

}  // namespace

class tst_QtWizardWindow : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void dialogUnitsRoundAsWindows_data();
  void dialogUnitsRoundAsWindows();
  void controlsSitAtTheirTemplateRectangles_data();
  void controlsSitAtTheirTemplateRectangles();
  void windowIsFixedWithCloseBoxOnly();
  void noTextIsClipped();
  void tabOrderFollowsTheTemplate();

  void openingShowsTheStoredStage_data();
  void openingShowsTheStoredStage();
  void openingShowsTheStoredEntries_data();
  void openingShowsTheStoredEntries();
  void boardCountIsChosenByPrefix_data();
  void boardCountIsChosenByPrefix();
  void typedTextFollowsTheEntryStyle_data();
  void typedTextFollowsTheEntryStyle();
  void autoStartDomainLimitsTypingAndPromptsWhenLonger();

  void featureCheckEndsTheRunBeforeShowing_data();
  void featureCheckEndsTheRunBeforeShowing();
  void closingCancelsWithoutPrompt_data();
  void closingCancelsWithoutPrompt();
  void exitAsksFirst_data();
  void exitAsksFirst();
  void ownerlessBoxHasNoParent();

  void step1GathersAndStep2SavesOnTheDemoLab();
  void entryRuleFailureShowsOnlyItsBox_data();
  void entryRuleFailureShowsOnlyItsBox();
  void boxesDuringTheGatheringWearTheArrow();
  void busyTakesOffOnlyTheCursorsItPut();
  void resetAsksFirst_data();
  void resetAsksFirst();
  void aboutBoxOpens_data();
  void aboutBoxOpens();

  void step3GeneratesTheDefinitionAndDropsInputDuringTheWait();
  void slowGatheringRepaintsAndDropsAClickOnExit_data();
  void slowGatheringRepaintsAndDropsAClickOnExit();
};

void tst_QtWizardWindow::cleanup() {
  QStringList leaked;
  for (QWidget* widget : QApplication::topLevelWidgets())
    leaked << widget->metaObject()->className() + QString(' ') + widget->objectName();
  QVERIFY2(leaked.isEmpty(), qPrintable(QStringLiteral("top-level windows left: ") + leaked.join(", ")));
  QVERIFY2(QApplication::overrideCursor() == nullptr, "the wait cursor was left on");
}

void tst_QtWizardWindow::dialogUnitsRoundAsWindows_data() {
  QTest::addColumn<int>("baseX");
  QTest::addColumn<int>("baseY");
  QTest::addColumn<int>("dialogUnits");
  QTest::addColumn<int>("pixelsX");
  QTest::addColumn<int>("pixelsY");
  QTest::newRow("exact") << 6 << 13 << 8 << 12 << 13;
  QTest::newRow("half rounds up") << 6 << 12 << 221 << 332 << 332;
  QTest::newRow("below half rounds down") << 7 << 13 << 317 << 555 << 515;
  QTest::newRow("above half rounds up") << 7 << 13 << 3 << 5 << 5;
  QTest::newRow("negative half rounds away from zero") << 6 << 12 << -3 << -5 << -5;
  QTest::newRow("zero") << 7 << 14 << 0 << 0 << 0;
}

void tst_QtWizardWindow::dialogUnitsRoundAsWindows() {
  QFETCH(int, baseX);
  QFETCH(int, baseY);
  QFETCH(int, dialogUnits);
  QFETCH(int, pixelsX);
  QFETCH(int, pixelsY);
  const DialogUnits units(baseX, baseY);
  QCOMPARE(units.X(dialogUnits), pixelsX);
  QCOMPARE(units.Y(dialogUnits), pixelsY);
}

void tst_QtWizardWindow::controlsSitAtTheirTemplateRectangles_data() {
  QTest::addColumn<QString>("widget");
  QTest::addColumn<QString>("label");
  QTest::addColumn<QRect>("rect");
  // The control table, which wizard_controls_test holds against the dialog template.
  for (const WizardControl& control : kWizardControls) {
    const QString widget = QString::fromUtf8(control.widget.data(), static_cast<qsizetype>(control.widget.size()));
    const QString label = QString::fromUtf8(control.label.data(), static_cast<qsizetype>(control.label.size()));
    const DialogRect& r = control.rect;
    const int height = control.kind == ControlKind::DropDown ? kClosedDropDownHeight : r.height;
    QTest::newRow(qPrintable(widget.isEmpty() ? label : widget)) << widget << label << QRect(r.x, r.y, r.width, height);
  }
}

void tst_QtWizardWindow::controlsSitAtTheirTemplateRectangles() {
  QFETCH(QString, widget);
  QFETCH(QString, label);
  QFETCH(QRect, rect);
  FeatureLab lab;
  LabWindow lw(lab.temp);
  // Labels have no name: each is found by its text.
  const QWidget* found = nullptr;
  if (!widget.isEmpty()) {
    found = lw.Find<QWidget>(qPrintable(widget));
  } else {
    for (const QLabel* candidate : lw.window.findChildren<QLabel*>()) {
      if (candidate->text() == label) found = candidate;
    }
  }
  QVERIFY2(found != nullptr, qPrintable(QStringLiteral("no label ") + label));
  const DialogUnits& units = lw.window.Units();
  QCOMPARE(found->geometry(), units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
}

void tst_QtWizardWindow::windowIsFixedWithCloseBoxOnly() {
  FeatureLab lab;
  LabWindow lw(lab.temp);
  const DialogUnits& units = lw.window.Units();
  // The base units come from the window's own font.
  const QFontMetrics metrics(lw.window.font());
  QCOMPARE(units.BaseY(), metrics.height());
  QCOMPARE(
      units.BaseX(),
      qRound(metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0));
  QCOMPARE(lw.window.minimumSize(), units.Size(490, 338));
  QCOMPARE(lw.window.maximumSize(), units.Size(490, 338));
  QCOMPARE(lw.window.windowTitle(), QStringLiteral("Duplex Setup Assistant"));
  const Qt::WindowFlags flags = lw.window.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowTitleHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
  QVERIFY(lw.Find<QPushButton>("exitButton")->isDefault());
  QVERIFY(lw.Find<QPushButton>("cancelButton")->isHidden());
  // The program's icon, read from the .ico the Windows program carries, in both of its sizes.
  const QList<QSize> iconSizes = lw.window.windowIcon().availableSizes();
  QVERIFY(iconSizes.contains(QSize(32, 32)));
  QVERIFY(iconSizes.contains(QSize(16, 16)));
}

void tst_QtWizardWindow::noTextIsClipped() {
  FeatureLab lab;
  LabWindow lw(lab.temp);
  QStringList clipped;
  for (const QLabel* label : lw.window.findChildren<QLabel*>()) {
    const QFontMetrics metrics(label->font());
    if (metrics.horizontalAdvance(label->text()) > label->contentsRect().width() ||
        metrics.height() > label->contentsRect().height()) {
      clipped << label->text();
    }
  }
  for (const QPushButton* button : lw.window.findChildren<QPushButton*>()) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    if (button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    if (button->fontMetrics().horizontalAdvance(button->text()) > contents.width()) clipped << button->text();
  }
  for (const QGroupBox* group : lw.window.findChildren<QGroupBox*>()) {
    if (group->fontMetrics().horizontalAdvance(group->title()) > group->width()) clipped << group->title();
  }
  QVERIFY2(clipped.isEmpty(), qPrintable(QStringLiteral("clipped: ") + clipped.join(" | ")));
  QCOMPARE(lw.window.findChildren<QLabel*>().size(), 10);
}

void tst_QtWizardWindow::tabOrderFollowsTheTemplate() {
  FeatureLab lab;
  LabWindow lw(lab.temp);
  QStringList order;
  QWidget* first = lw.Find<QWidget>("managedHostNameEdit");
  QWidget* widget = first;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&lw.window)) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != first && order.size() < 50);
  const QStringList expected = {
      "managedHostNameEdit", "managedClanIpEdit", "managedElanIpEdit", "node1HostNameEdit",
      "node2HostNameEdit",   "boardCountCombo",   "userNameEdit",      "workgroupDomainNameEdit",
      "autoStartDomainEdit", "clanTestIpEdit",    "step1Button",       "step2Button",
      "step3Button",         "exitButton",        "resetButton"};
  QCOMPARE(order, expected);
}

void tst_QtWizardWindow::openingShowsTheStoredStage_data() {
  QTest::addColumn<QString>("stage");
  QTest::addColumn<bool>("step1");
  QTest::addColumn<bool>("step2");
  QTest::addColumn<bool>("step3");
  QTest::addColumn<int>("rows");
  QTest::newRow("stage 0: steps 1 and 2") << "0" << true << false << false << 17;
  QTest::newRow("stage 1: step 3, with the service rows") << "1" << false << false << true << 21;
  QTest::newRow("stage 5: the template's buttons") << "5" << true << true << true << 17;
}

void tst_QtWizardWindow::openingShowsTheStoredStage() {
  QFETCH(QString, stage);
  QFETCH(bool, step1);
  QFETCH(bool, step2);
  QFETCH(bool, step3);
  QFETCH(int, rows);
  FeatureLab lab;
  lab.WriteDefaults(
      {stage, "mgd", "10.0.0.1", "10.1.0.1", "node-a", "node-b", "admin", "corp", "3", "dom", "10.0.0.9"});
  LabWindow lw(lab.temp);
  bool enabled[3] = {};
  int rowCount = -1;
  QStringList headers;
  QList<int> widths;
  ModalDriver driver(&lw.window);
  driver.Then([&] {
    enabled[0] = lw.Find<QPushButton>("step1Button")->isEnabled();
    enabled[1] = lw.Find<QPushButton>("step2Button")->isEnabled();
    enabled[2] = lw.Find<QPushButton>("step3Button")->isEnabled();
    auto* list = lw.Find<QTreeWidget>("nodeInfoList");
    rowCount = list->topLevelItemCount();
    for (int column = 0; column < list->columnCount(); ++column) {
      headers << list->headerItem()->text(column);
      widths << list->columnWidth(column);
    }
    QTest::keyClick(lw.window.focusWidget(), Qt::Key_Escape);
  });
  QCOMPARE(lw.window.RunModal(), kDialogResultCancel);
  QVERIFY(driver.windowWasShown);
  QCOMPARE(enabled[0], step1);
  QCOMPARE(enabled[1], step2);
  QCOMPARE(enabled[2], step3);
  QCOMPARE(rowCount, rows);
  QCOMPARE(headers, QStringList({"Item", "Node 1", "Node 2"}));
  QCOMPARE(widths, QList<int>({150, 150, 150}));
}

void tst_QtWizardWindow::openingShowsTheStoredEntries_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::newRow("host names in lower case") << "managedHostNameEdit"
                                            << "mgd-host";
  QTest::newRow("CLAN IP as stored") << "managedClanIpEdit"
                                     << "10.0.0.1";
  QTest::newRow("ELAN IP as stored") << "managedElanIpEdit"
                                     << "10.1.0.1";
  QTest::newRow("stored node 1 wins over the computer name") << "node1HostNameEdit"
                                                             << "node-x";
  QTest::newRow("node 2") << "node2HostNameEdit"
                          << "node-y";
  QTest::newRow("user in lower case") << "userNameEdit"
                                      << "admin";
  QTest::newRow("workgroup in lower case") << "workgroupDomainNameEdit"
                                           << "corp.local";
  QTest::newRow("over-long AutoStart domain kept whole") << "autoStartDomainEdit"
                                                         << "Domain1234";
  QTest::newRow("CLAN test IP") << "clanTestIpEdit"
                                << "10.0.0.9";
}

void tst_QtWizardWindow::openingShowsTheStoredEntries() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  FeatureLab lab;
  lab.WriteDefaults({"0", "MGD-Host", "10.0.0.1", "10.1.0.1", "NODE-X", "Node-Y", "Admin", "CORP.local", "3",
                     "Domain1234", "10.0.0.9"});
  LabWindow lw(lab.temp);
  QString shown;
  ModalDriver driver(&lw.window);
  driver.Then([&] {
    shown = lw.Find<QLineEdit>(qPrintable(name))->text();
    lw.window.close();
  });
  QCOMPARE(lw.window.RunModal(), kDialogResultCancel);
  QCOMPARE(shown, text);
}

void tst_QtWizardWindow::boardCountIsChosenByPrefix_data() {
  QTest::addColumn<QString>("stored");
  QTest::addColumn<QString>("shown");
  QTest::newRow("1") << "1"
                     << "1";
  QTest::newRow("3") << "3"
                     << "3";
  QTest::newRow("empty chooses none") << ""
                                      << "";
  QTest::newRow("no item starts with 2") << "2"
                                         << "";
  QTest::newRow("longer than any item") << "30"
                                        << "";
}

void tst_QtWizardWindow::boardCountIsChosenByPrefix() {
  QFETCH(QString, stored);
  QFETCH(QString, shown);
  FeatureLab lab;
  lab.WriteDefaults({"0", "", "", "", "", "", "", "", stored});
  LabWindow lw(lab.temp);
  ModalDriver driver(&lw.window);
  QString current;
  QStringList items;
  driver.Then([&] {
    auto* combo = lw.Find<QComboBox>("boardCountCombo");
    current = combo->currentText();
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    lw.window.close();
  });
  lw.window.RunModal();
  QCOMPARE(current, shown);
  QCOMPARE(items, QStringList({"1", "3"}));
}

void tst_QtWizardWindow::typedTextFollowsTheEntryStyle_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("text");
  QTest::newRow("managed host name folds") << "managedHostNameEdit"
                                           << "Mgd-HOST"
                                           << "mgd-host";
  QTest::newRow("node 1 folds") << "node1HostNameEdit"
                                << "NODE-A"
                                << "node-a";
  QTest::newRow("node 2 folds") << "node2HostNameEdit"
                                << "Node-B"
                                << "node-b";
  QTest::newRow("user folds") << "userNameEdit"
                              << "Administrator"
                              << "administrator";
  QTest::newRow("workgroup folds") << "workgroupDomainNameEdit"
                                   << "CORP"
                                   << "corp";
  QTest::newRow("CLAN IP as typed") << "managedClanIpEdit"
                                    << "10.0.0.A"
                                    << "10.0.0.A";
  QTest::newRow("ELAN IP as typed") << "managedElanIpEdit"
                                    << "Ab"
                                    << "Ab";
  QTest::newRow("AutoStart domain as typed") << "autoStartDomainEdit"
                                             << "DomA"
                                             << "DomA";
  QTest::newRow("CLAN test IP as typed") << "clanTestIpEdit"
                                         << "X1"
                                         << "X1";
}

void tst_QtWizardWindow::typedTextFollowsTheEntryStyle() {
  QFETCH(QString, name);
  QFETCH(QString, typed);
  QFETCH(QString, text);
  FeatureLab lab;
  LabWindow lw(lab.temp);
  auto* edit = lw.Find<QLineEdit>(qPrintable(name));
  edit->clear();
  QTest::keyClicks(edit, typed);
  QCOMPARE(edit->text(), text);
}

void tst_QtWizardWindow::autoStartDomainLimitsTypingAndPromptsWhenLonger() {
  FeatureLab lab;
  LabWindow lw(lab.temp);
  auto* edit = lw.Find<QLineEdit>("autoStartDomainEdit");
  QString typed;
  bool openAfterPrompt = false;
  bool entryFocused = false;
  QString selected;
  ModalDriver driver(&lw.window);
  driver.Answer(QMessageBox::Yes).Answer(QMessageBox::Ok);
  driver
      .Then([&] {
        QTest::keyClicks(edit, QStringLiteral("abcdefghijkl"));
        typed = edit->text();
        // The program, not the user, may put a longer value in; the read on exit then refuses it.
        edit->setText(QStringLiteral("overlongname"));
        lw.Find<QPushButton>("exitButton")->click();
      })
      .Then([&] {
        openAfterPrompt = lw.window.isVisible();
        entryFocused = lw.window.focusWidget() == edit;
        selected = edit->selectedText();
        lw.window.close();
      });
  QCOMPARE(lw.window.RunModal(), kDialogResultCancel);
  QCOMPARE(typed, QStringLiteral("abcdefgh"));
  QCOMPARE(driver.boxes.size(), std::size_t{2});
  QCOMPARE(driver.boxes[0].text, kExitQuestion);
  QCOMPARE(driver.boxes[1].text, kLimitBox);
  QCOMPARE(driver.boxes[1].caption, ApplicationTitle());
  QVERIFY(openAfterPrompt);
  QVERIFY(entryFocused);
  QCOMPARE(selected, QStringLiteral("overlongname"));
  QCOMPARE(driver.unexpectedBoxes, 0);
}

void tst_QtWizardWindow::featureCheckEndsTheRunBeforeShowing_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<QString>("boxStart");
  QTest::addColumn<QString>("logLine");
  QTest::newRow("not installed") << -1 << "The high availability feature is not currently installed on the server."
                                 << "The high availability feature is not currently installed on the server";
  QTest::newRow("installed, not enabled")
      << 0 << "The high availability feature is installed on the server, but it is not enabled."
      << "High availability feature installed but not enabled.";
  QTest::newRow("enabled: the window opens") << 1 << ""
                                             << "High availability feature installed and enabled.";
}

void tst_QtWizardWindow::featureCheckEndsTheRunBeforeShowing() {
  QFETCH(int, mode);
  QFETCH(QString, boxStart);
  QFETCH(QString, logLine);
  FeatureLab lab(mode);
  LabWindow lw(lab.temp);
  ModalDriver driver(&lw.window);
  const bool opens = boxStart.isEmpty();
  if (!opens) driver.Answer(QMessageBox::Ok);
  driver.Then([&] { lw.window.close(); });
  const int result = lw.window.RunModal();
  QCOMPARE(result, opens ? kDialogResultCancel : kDialogResultOk);
  QCOMPARE(driver.windowWasShown, opens);
  QVERIFY(lw.log.lines.contains(logLine));
  QCOMPARE(driver.unexpectedBoxes, 0);
  if (opens) {
    QVERIFY(driver.boxes.empty());
    return;
  }
  QCOMPARE(driver.boxes.size(), std::size_t{1});
  const SeenBox& box = driver.boxes[0];
  QVERIFY2(box.text.startsWith(boxStart), qPrintable(box.text));
  QVERIFY(box.text.endsWith(QStringLiteral("\n\nPlease click on OK to exit the tool.")));
  QVERIFY(!box.text.contains('\r'));
  QCOMPARE(box.caption, QStringLiteral("tst_qtwizardwindow"));
  QCOMPARE(box.icon, QMessageBox::NoIcon);
  QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void tst_QtWizardWindow::closingCancelsWithoutPrompt_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("escape in an entry") << "escape";
  QTest::newRow("close box") << "close";
  QTest::newRow("hidden cancel button") << "cancel";
}

void tst_QtWizardWindow::closingCancelsWithoutPrompt() {
  QFETCH(QString, how);
  FeatureLab lab;
  LabWindow lw(lab.temp);
  ModalDriver driver(&lw.window);
  driver.Then([&] {
    if (how == "escape") {
      QTest::keyClick(lw.Find<QLineEdit>("node2HostNameEdit"), Qt::Key_Escape);
    } else if (how == "close") {
      lw.window.close();
    } else {
      lw.Find<QPushButton>("cancelButton")->click();
    }
  });
  QCOMPARE(lw.window.RunModal(), kDialogResultCancel);
  QVERIFY(driver.windowWasShown);
  QVERIFY(driver.boxes.empty());
  QVERIFY(!lw.window.isVisible());
}

void tst_QtWizardWindow::exitAsksFirst_data() {
  QTest::addColumn<bool>("enterInEntry");
  QTest::addColumn<bool>("yes");
  QTest::newRow("exit button, yes") << false << true;
  QTest::newRow("exit button, no") << false << false;
  QTest::newRow("enter in an entry, yes") << true << true;
  QTest::newRow("enter in an entry, no") << true << false;
}

void tst_QtWizardWindow::exitAsksFirst() {
  QFETCH(bool, enterInEntry);
  QFETCH(bool, yes);
  FeatureLab lab;
  LabWindow lw(lab.temp);
  bool openAfterNo = false;
  ModalDriver driver(&lw.window);
  driver.Answer(yes ? QMessageBox::Yes : QMessageBox::No);
  driver.Then([&] {
    if (enterInEntry) {
      QTest::keyClick(lw.Find<QLineEdit>("userNameEdit"), Qt::Key_Return);
    } else {
      QTest::mouseClick(lw.Find<QPushButton>("exitButton"), Qt::LeftButton);
    }
  });
  if (!yes) {
    driver.Then([&] {
      openAfterNo = lw.window.isVisible();
      lw.window.close();
    });
  }
  QCOMPARE(lw.window.RunModal(), yes ? kDialogResultOk : kDialogResultCancel);
  QCOMPARE(driver.boxes.size(), std::size_t{1});
  const SeenBox& box = driver.boxes[0];
  QCOMPARE(box.text, kExitQuestion);
  QCOMPARE(box.caption, QStringLiteral("Confirm Exit Request"));
  QCOMPARE(box.icon, QMessageBox::NoIcon);
  QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
  QVERIFY(box.hasParent);
  QCOMPARE(openAfterNo, !yes);
}

void tst_QtWizardWindow::ownerlessBoxHasNoParent() {
  QtOwnerlessMessageBox ownerless;
  QWidget anchor;  // the driver needs a window; this one is never shown
  ModalDriver driver(&anchor);
  driver.Answer(QMessageBox::Ok);
  ownerless.Show(L"Unable to connect to node-b.\r\nCheck the network.");
  QCOMPARE(driver.boxes.size(), std::size_t{1});
  QCOMPARE(driver.boxes[0].text, QStringLiteral("Unable to connect to node-b.\nCheck the network."));
  QCOMPARE(driver.boxes[0].caption, QStringLiteral("Error"));
  QCOMPARE(driver.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(!driver.boxes[0].hasParent);
}

void tst_QtWizardWindow::step1GathersAndStep2SavesOnTheDemoLab() {
  BundledLabCopy lab("demo");
  QString node1Shown;
  QList<QStringList> rows;
  QList<bool> stepsAfterStep1;
  bool busyAfterStep1 = true;
  {
    LabWindow lw(lab.Folder());
    ModalDriver driver(&lw.window);
    driver.Answer(QMessageBox::Ok);
    driver
        .Then([&] {
          node1Shown = lw.Find<QLineEdit>("node1HostNameEdit")->text();
          QTest::keyClicks(lw.Find<QLineEdit>("managedHostNameEdit"), QStringLiteral("ha-managed"));
          QTest::keyClicks(lw.Find<QLineEdit>("managedClanIpEdit"), QStringLiteral("10.1.1.5"));
          QTest::keyClicks(lw.Find<QLineEdit>("managedElanIpEdit"), QStringLiteral("10.2.2.5"));
          QTest::keyClicks(lw.Find<QLineEdit>("node2HostNameEdit"), QStringLiteral("node-b"));
          QTest::keyClicks(lw.Find<QLineEdit>("userNameEdit"), QStringLiteral("admin"));
          QTest::keyClicks(lw.Find<QLineEdit>("workgroupDomainNameEdit"), QStringLiteral("workgroup"));
          QTest::keyClick(lw.Find<QComboBox>("boardCountCombo"), Qt::Key_3);
          QTest::keyClicks(lw.Find<QLineEdit>("autoStartDomainEdit"), QStringLiteral("ha1"));
          QTest::keyClicks(lw.Find<QLineEdit>("clanTestIpEdit"), QStringLiteral("127.0.0.1"));
          QTest::mouseClick(lw.Find<QPushButton>("step1Button"), Qt::LeftButton);
          rows = lw.ListRows();
          stepsAfterStep1 = lw.StepsEnabled();
          busyAfterStep1 = QApplication::overrideCursor() != nullptr;
        })
        .Then([&] { QTest::mouseClick(lw.Find<QPushButton>("step2Button"), Qt::LeftButton); })
        .Then([&] { lw.window.close(); });
    QCOMPARE(lw.window.RunModal(), kDialogResultCancel);

    QCOMPARE(node1Shown, QStringLiteral("node-a"));
    QCOMPARE(rows.size(), 17);
    QCOMPARE(EmptyCells(rows, 1), QStringList());
    QCOMPARE(EmptyCells(rows, 2), QStringList());
    QCOMPARE(rows[0], QStringList({"Host name", "node-a", "node-b"}));
    QCOMPARE(rows[1], QStringList({"Switch IP Address", "10.2.2.250", "10.2.2.250"}));
    QCOMPARE(rows[6], QStringList({"CLAN Domain", "ha.example.local", "ha.example.local"}));
    QCOMPARE(rows[16], QStringList({"HA Feature", "HA enabled", "HA enabled"}));
    QCOMPARE(stepsAfterStep1, QList<bool>({true, true, false}));
    QCOMPARE(lw.log.CursorAt(kGatheringStarts), Qt::WaitCursor);
    QVERIFY(!busyAfterStep1);

    QCOMPARE(driver.boxes.size(), std::size_t{1});
    const SeenBox& box = driver.boxes[0];
    QCOMPARE(box.text, QStringLiteral("No problems have been found.\n\nYou must now exit the wizard and continue with "
                                      "the installation/upgrade process."));
    QCOMPARE(box.caption, QStringLiteral("Stage 1 Complete"));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.cursor, Qt::ArrowCursor);
    QCOMPARE(driver.unexpectedBoxes, 0);
  }
  QCOMPARE(lab.ReadDefaults(), kDemoStage2Defaults);

  // The next run opens in stage 2 and gathers both servers before it shows.
  LabWindow next(lab.Folder());
  ModalDriver driver(&next.window);
  driver.Then([&] {
    rows = next.ListRows();
    stepsAfterStep1 = next.StepsEnabled();
    next.window.close();
  });
  next.window.RunModal();
  QVERIFY(driver.boxes.empty());
  QCOMPARE(stepsAfterStep1, QList<bool>({false, false, true}));
  QCOMPARE(rows.size(), 21);
  QCOMPARE(EmptyCells(rows, 1), QStringList());
  QCOMPARE(EmptyCells(rows, 2), QStringList());
  QCOMPARE(rows[20], QStringList({"EMC Transport Service", "Running", "Running"}));
  QCOMPARE(next.log.CursorAt(kGatheringStarts), Qt::WaitCursor);
}

void tst_QtWizardWindow::entryRuleFailureShowsOnlyItsBox_data() {
  QTest::addColumn<QStringList>("stored");
  QTest::addColumn<QString>("text");
  QTest::newRow("nothing entered") << QStringList() << "You must specify a managed host name.";
  QTest::newRow("AutoStart domain with a blank")
      << QStringList(
             {"0", "mgd", "10.0.0.1", "10.1.0.1", "node-a", "node-b", "admin", "corp", "3", "ha 1", "127.0.0.1"})
      << "The EMC AutoStart domain that you have entered (ha 1) is invalid. The domain name must not contain any "
         "spaces or special characters.";
}

void tst_QtWizardWindow::entryRuleFailureShowsOnlyItsBox() {
  QFETCH(QStringList, stored);
  QFETCH(QString, text);
  FeatureLab lab;
  if (!stored.isEmpty()) lab.WriteDefaults(stored);
  const bool hadDefaults = lab.temp.DriveFileExists(kDefaultsFile);
  const std::string defaultsBefore = hadDefaults ? lab.temp.ReadDriveFile(kDefaultsFile) : std::string();
  LabWindow lw(lab.temp);
  QStringList entriesBefore;
  QStringList entriesAfter;
  QList<QStringList> rows;
  QList<bool> steps;
  ModalDriver driver(&lw.window);
  driver.Answer(QMessageBox::Ok);
  driver.Then([&] {
    entriesBefore = lw.EntryTexts();
    QTest::mouseClick(lw.Find<QPushButton>("step1Button"), Qt::LeftButton);
    entriesAfter = lw.EntryTexts();
    rows = lw.ListRows();
    steps = lw.StepsEnabled();
    lw.window.close();
  });
  lw.window.RunModal();
  QCOMPARE(driver.boxes.size(), std::size_t{1});
  const SeenBox& box = driver.boxes[0];
  QCOMPARE(box.text, text);
  QCOMPARE(box.caption, ApplicationTitle());
  QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(box.hasParent);
  QCOMPARE(box.cursor, Qt::ArrowCursor);
  QCOMPARE(entriesAfter, entriesBefore);
  QCOMPARE(steps, QList<bool>({true, false, false}));
  QCOMPARE(rows.size(), 17);
  QCOMPARE(EmptyCells(rows, 1).size(), 17);
  QCOMPARE(EmptyCells(rows, 2).size(), 17);
  QCOMPARE(lab.temp.DriveFileExists(kDefaultsFile), hadDefaults);
  if (hadDefaults) QCOMPARE(lab.temp.ReadDriveFile(kDefaultsFile), defaultsBefore);
}

void tst_QtWizardWindow::boxesDuringTheGatheringWearTheArrow() {
  BundledLabCopy lab("node2-unreachable");
  LabWindow lw(lab.Folder());
  QList<bool> steps;
  bool busyAfter = true;
  ModalDriver driver(&lw.window);
  driver.Answer(QMessageBox::Ok).Answer(QMessageBox::Ok);
  driver.Then([&] {
    QTest::mouseClick(lw.Find<QPushButton>("step1Button"), Qt::LeftButton);
    steps = lw.StepsEnabled();
    busyAfter = QApplication::overrideCursor() != nullptr;
    lw.window.close();
  });
  lw.window.RunModal();
  QCOMPARE(driver.boxes.size(), std::size_t{2});
  // The owner-less box the gathering shows, then the window's own.
  QCOMPARE(driver.boxes[0].text, QStringLiteral("Unable to connect to the registry on server node-b."));
  QVERIFY(!driver.boxes[0].hasParent);
  QCOMPARE(driver.boxes[0].cursor, Qt::ArrowCursor);
  const QString failed = QStringLiteral("Errors occured trying to obtain information from server node-b.");
  QCOMPARE(driver.boxes[1].text, failed);
  QVERIFY(driver.boxes[1].hasParent);
  QCOMPARE(driver.boxes[1].cursor, Qt::ArrowCursor);
  // Between the two boxes the gathering goes on under the wait cursor again.
  QCOMPARE(lw.log.CursorAt(kGatheringStarts), Qt::WaitCursor);
  QCOMPARE(lw.log.CursorAt(failed), Qt::WaitCursor);
  QVERIFY(!busyAfter);
  QCOMPARE(steps, QList<bool>({true, false, false}));
  QCOMPARE(driver.unexpectedBoxes, 0);
}

void tst_QtWizardWindow::busyTakesOffOnlyTheCursorsItPut() {
  FeatureLab lab;
  LabWindow lw(lab.temp);
  WizardView& view = lw.window;
  // Somebody else's override cursor, below whatever the window does.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  view.SetBusy(false);
  const Qt::CursorShape afterStrayEnd = ShownCursor();
  view.SetBusy(true);
  view.SetBusy(true);
  const Qt::CursorShape whileNested = ShownCursor();
  view.SetBusy(false);
  view.SetBusy(false);
  view.SetBusy(false);
  const Qt::CursorShape afterExtraEnd = ShownCursor();
  QApplication::restoreOverrideCursor();
  QCOMPARE(afterStrayEnd, Qt::CrossCursor);
  QCOMPARE(whileNested, Qt::WaitCursor);
  QCOMPARE(afterExtraEnd, Qt::CrossCursor);
}

void tst_QtWizardWindow::resetAsksFirst_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("no: stage 2 stays") << false;
  QTest::newRow("yes: back to stage 1") << true;
}

void tst_QtWizardWindow::resetAsksFirst() {
  QFETCH(bool, yes);
  BundledLabCopy lab("demo");
  lab.WriteDefaults(kDemoStage2Defaults);
  LabWindow lw(lab.Folder());
  qsizetype rowsBefore = 0;
  QList<QStringList> rows;
  QList<bool> steps;
  QString node1;
  QString managedHost;
  ModalDriver driver(&lw.window);
  driver.Answer(yes ? QMessageBox::Yes : QMessageBox::No);
  driver.Then([&] {
    rowsBefore = lw.ListRows().size();
    auto* node1Edit = lw.Find<QLineEdit>("node1HostNameEdit");
    node1Edit->clear();
    QTest::keyClicks(node1Edit, QStringLiteral("typed-name"));
    QTest::mouseClick(lw.Find<QPushButton>("resetButton"), Qt::LeftButton);
    rows = lw.ListRows();
    steps = lw.StepsEnabled();
    node1 = node1Edit->text();
    managedHost = lw.Find<QLineEdit>("managedHostNameEdit")->text();
    lw.window.close();
  });
  lw.window.RunModal();
  QCOMPARE(rowsBefore, 21);
  QCOMPARE(driver.boxes.size(), std::size_t{1});
  const SeenBox& box = driver.boxes[0];
  QCOMPARE(box.text, QStringLiteral("Are you sure that you want to reset the tool?"));
  QCOMPARE(box.caption, QStringLiteral("Confirm Reset Request"));
  QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(box.icon, QMessageBox::NoIcon);
  QVERIFY(box.hasParent);
  QCOMPARE(managedHost, QStringLiteral("ha-managed"));
  if (!yes) {
    QCOMPARE(lab.ReadDefaults(), kDemoStage2Defaults);
    QCOMPARE(steps, QList<bool>({false, false, true}));
    QCOMPARE(rows.size(), 21);
    QCOMPARE(EmptyCells(rows, 1), QStringList());
    QCOMPARE(node1, QStringLiteral("typed-name"));
    return;
  }
  QVERIFY(!fs::exists(lab.DefaultsFile()));
  QCOMPARE(steps, QList<bool>({true, false, false}));
  QCOMPARE(rows.size(), 17);
  QCOMPARE(rows[16][0], QStringLiteral("HA Feature"));
  QCOMPARE(EmptyCells(rows, 1).size(), 17);
  QCOMPARE(EmptyCells(rows, 2).size(), 17);
  QCOMPARE(node1, QStringLiteral("node-a"));
}

void tst_QtWizardWindow::aboutBoxOpens_data() {
  QTest::addColumn<bool>("fromMenu");
  QTest::addColumn<bool>("closeWithEscape");
  QTest::newRow("help key in an entry, closed with OK") << false << false;
  QTest::newRow("context menu of the window, closed with Escape") << true << true;
}

void tst_QtWizardWindow::aboutBoxOpens() {
  QFETCH(bool, fromMenu);
  QFETCH(bool, closeWithEscape);
  FeatureLab lab;
  LabWindow lw(lab.temp);
  const DialogUnits& units = lw.window.Units();
  QStringList menuItems;
  QString caption;
  bool modalToWindow = false;
  QSize size;
  QStringList misplaced;
  QStringList clipped;
  QStringList texts;
  bool iconShown = false;
  bool okIsDefault = false;
  bool closed = false;
  bool windowOpenAfter = false;
  ModalDriver driver(&lw.window);
  driver.OnMenu([&](QMenu* menu) {
    QAction* about = nullptr;
    for (QAction* action : menu->actions()) {
      menuItems << action->text();
      if (action->text() == QStringLiteral("&About DuplexSetupAssistant...")) about = action;
    }
    if (about == nullptr) {
      menu->close();
      return;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
  });
  driver.OnDialog([&](QDialog* dialog) {
    caption = dialog->windowTitle();
    modalToWindow = dialog->isModal() && dialog->parentWidget() == &lw.window;
    size = dialog->size();
    const struct {
      const char* name;
      QRect rect;
    } controls[] = {{"iconLabel", {11, 17, 20, 20}},
                    {"versionLabel", {40, 10, 119, 8}},
                    {"descriptionLabel", {40, 25, 119, 8}},
                    {"editionLabel", {40, 40, 119, 8}},
                    {"okButton", {178, 7, 50, 14}}};
    for (const auto& control : controls) {
      auto* widget = dialog->findChild<QWidget*>(QString::fromUtf8(control.name));
      const QRect& r = control.rect;
      if (widget == nullptr || widget->geometry() != units.Rect(r.x(), r.y(), r.width(), r.height())) {
        misplaced << control.name;
      }
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->text().isEmpty()) {
        iconShown = !label->pixmap().isNull();
        continue;
      }
      texts << label->text();
      if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width() ||
          label->fontMetrics().height() > label->contentsRect().height()) {
        clipped << label->text();
      }
    }
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
    okIsDefault = ok != nullptr && ok->isDefault() && ok->text() == QStringLiteral("OK");
    if (closeWithEscape) {
      QTest::keyClick(dialog, Qt::Key_Escape);
    } else if (ok != nullptr) {
      QTest::mouseClick(ok, Qt::LeftButton);
    }
    closed = !dialog->isVisible();
  });
  driver
      .Then([&] {
        if (fromMenu) {
          // A right click on the window's background, away from every control.
          QTest::mouseClick(lw.window.windowHandle(), Qt::RightButton, {}, QPoint(units.X(10), units.Y(320)));
        } else {
          QTest::keySequence(lw.Find<QLineEdit>("userNameEdit"), QKeySequence(QKeySequence::HelpContents));
        }
      })
      .Then([&] {
        windowOpenAfter = lw.window.isVisible();
        lw.window.close();
      });
  lw.window.RunModal();
  QVERIFY(!driver.timedOut);
  QCOMPARE(driver.unexpectedDialogs, 0);
  QVERIFY(driver.boxes.empty());
  if (fromMenu) QCOMPARE(menuItems, QStringList({"&About DuplexSetupAssistant..."}));
  QCOMPARE(caption, QStringLiteral("About DuplexSetupAssistant"));
  QVERIFY(modalToWindow);
  QCOMPARE(size, units.Size(235, 55));
  QCOMPARE(misplaced, QStringList());
  // The version the build declares (CMakeLists.txt).
  QCOMPARE(texts, QStringList({"DuplexSetupAssistant Version " DUPLEX_EXPECTED_VERSION, "Prepares a two-server cluster",
                               "Lab edition"}));
  QCOMPARE(clipped, QStringList());
  QVERIFY(iconShown);
  QVERIFY(okIsDefault);
  QVERIFY(closed);
  QVERIFY(windowOpenAfter);
}

void tst_QtWizardWindow::step3GeneratesTheDefinitionAndDropsInputDuringTheWait() {
  BundledLabCopy lab("demo");
  lab.WriteDefaults(kDemoStage2Defaults);
  const fs::path definition = lab.Folder() / "drives/D/Zandor/HA/ToolkitInstaller2.0/Vestamail-Mirroring.def";
  LabWindow lw(lab.Folder());
  // The installer takes a while in the lab's time, so the window repaints through many slices.
  lw.lab->Processes().SetExtraRunTime(3000);
  bool openAfterRun = false;
  QList<bool> stepsAfterRun;
  ModalDriver driver(&lw.window);
  driver.Answer(QMessageBox::Ok);
  driver
      .Then([&] {
        // Clicks and a close request that arrive while the installer runs: none of them may act,
        // then or later.
        auto* exitButton = lw.Find<QPushButton>("exitButton");
        const QPointF centre = QRectF(exitButton->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
          QCoreApplication::postEvent(exitButton, new QMouseEvent(type, centre, exitButton->mapToGlobal(centre),
                                                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        }
        QCoreApplication::postEvent(&lw.window, new QCloseEvent);
        QTest::mouseClick(lw.Find<QPushButton>("step3Button"), Qt::LeftButton);
      })
      .Then([&] {
        QCoreApplication::processEvents();
        openAfterRun = lw.window.isVisible();
        stepsAfterRun = lw.StepsEnabled();
        lw.window.close();
      });
  QCOMPARE(lw.window.RunModal(), kDialogResultCancel);

  QCOMPARE(driver.boxes.size(), std::size_t{1});
  QCOMPARE(driver.boxes[0].caption, QStringLiteral("Phase 2 Complete"));
  QCOMPARE(driver.boxes[0].cursor, Qt::ArrowCursor);
  QCOMPARE(driver.unexpectedBoxes, 0);
  QVERIFY(openAfterRun);
  QCOMPARE(stepsAfterRun, QList<bool>({false, false, true}));
  QVERIFY(fs::is_regular_file(definition));
  const QString executing = lw.log.lines.filter(QStringLiteral("Executing command ")).value(0);
  QCOMPARE(lw.log.CursorAt(executing), Qt::WaitCursor);
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

// Hands `seen` every event of `type` that reaches any object of the application, before the object gets it.
class EventWatch : public QObject {
 public:
  EventWatch(QEvent::Type type, std::function<void(QObject*)> seen) : type_(type), seen_(std::move(seen)) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~EventWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == type_) seen_(watched);
    return false;
  }

 private:
  QEvent::Type type_;
  std::function<void(QObject*)> seen_;
};

void tst_QtWizardWindow::slowGatheringRepaintsAndDropsAClickOnExit_data() {
  QTest::addColumn<bool>("unreachable");
  QTest::newRow("node 2 gathered") << false;
  QTest::newRow("node 2 unreachable, with its owner-less box") << true;
}

void tst_QtWizardWindow::slowGatheringRepaintsAndDropsAClickOnExit() {
  QFETCH(bool, unreachable);
  // Both servers bare, so that node 2 answers in few calls; in stage 1 with the entries saved.
  TempLab temp;
  AddBareServer(temp, L"NODE-A");
  AddBareServer(temp, L"node-b");
  temp.WriteDriveFile(kDefaultsFile,
                      "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\n"
                      "ha1\r\n127.0.0.1\r\n");
  struct Seen {
    QStringList log;
    QStringList boxes;
    QList<qsizetype> boxPlaces;  // how many log lines each box came after
    QList<QStringList> rows;
    QList<bool> steps;
    int unexpectedBoxes = 0;
    int paintsDuringNode2 = 0;
    bool clickedDuringNode2 = false;
    bool openAfter = false;
  };
  // Step 1 pressed once; on a slow network a timer meanwhile asks the window to repaint, and clicks Exit
  // once node 2's calls have begun.
  auto step1 = [&](bool slow) {
    LabWindow lw(temp);
    LabServerFaults faults;
    faults.unreachable = unreachable;
    if (slow) faults.latency = std::chrono::milliseconds(100);
    lw.lab->SetFaults(L"node-b", faults);
    bool stepRunning = false;
    // While node 2's calls run: the window on top, no box over it.
    auto duringNode2 = [&] {
      return stepRunning && QApplication::activeModalWidget() == &lw.window &&
             lw.log.lines.contains(QStringLiteral("Hostname = node-b"));
    };
    Seen seen;
    const EventWatch paints(QEvent::Paint, [&](QObject* painted) {
      if (painted == &lw.window && duringNode2()) ++seen.paintsDuringNode2;
    });
    const EventWatch boxShows(QEvent::Show, [&](QObject* shown) {
      if (qobject_cast<QMessageBox*>(shown) != nullptr) seen.boxPlaces << lw.log.lines.size();
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      lw.window.update();
      if (seen.clickedDuringNode2 || !duringNode2()) return;
      seen.clickedDuringNode2 = true;
      auto* exitButton = lw.Find<QPushButton>("exitButton");
      const QPointF centre = QRectF(exitButton->rect()).center();
      for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(exitButton, new QMouseEvent(type, centre, exitButton->mapToGlobal(centre),
                                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
      }
    });
    ModalDriver driver(&lw.window);
    if (unreachable) driver.Answer(QMessageBox::Ok).Answer(QMessageBox::Ok);
    driver
        .Then([&] {
          if (slow) ticker.start(10);
          stepRunning = true;
          QTest::mouseClick(lw.Find<QPushButton>("step1Button"), Qt::LeftButton);
          stepRunning = false;
          ticker.stop();
        })
        .Then([&] {
          seen.openAfter = lw.window.isVisible();
          seen.rows = lw.ListRows();
          seen.steps = lw.StepsEnabled();
          lw.window.close();
        });
    lw.window.RunModal();
    seen.log = lw.log.lines;
    for (const SeenBox& box : driver.boxes) {
      seen.boxes << box.caption + (box.hasParent ? QStringLiteral(" (owned): ") : QStringLiteral(": ")) + box.text;
    }
    seen.unexpectedBoxes = driver.unexpectedBoxes;
    return seen;
  };

  const Seen quick = step1(false);
  const Seen slow = step1(true);
  QCOMPARE(quick.unexpectedBoxes, 0);
  QCOMPARE(quick.boxes.size(), unreachable ? 2 : 0);
  QCOMPARE(quick.boxPlaces.size(), quick.boxes.size());
  QVERIFY(quick.log.contains(QStringLiteral("Hostname = node-b")));
  // The window kept painting through node 2's slow calls, and the click on Exit did nothing, then or later.
  QVERIFY(slow.paintsDuringNode2 > 0);
  QVERIFY(slow.clickedDuringNode2);
  QVERIFY(slow.openAfter);
  QCOMPARE(slow.unexpectedBoxes, 0);
  // Otherwise nothing differs: the same boxes at the same points of the log, the same list and buttons.
  QCOMPARE(slow.boxes, quick.boxes);
  QCOMPARE(slow.boxPlaces, quick.boxPlaces);
  QCOMPARE(slow.log, quick.log);
  QCOMPARE(slow.rows, quick.rows);
  QCOMPARE(slow.steps, quick.steps);
}

QTEST_MAIN(tst_QtWizardWindow)
#include "tst_qtwizardwindow.moc"
