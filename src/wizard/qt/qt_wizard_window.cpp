// The lab edition's wizard window: Qt widgets placed as the dialog template places them, driven by WizardDialog.
#include "wizard/qt/qt_wizard_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QValidator>

#include "resource.h"
#include "wizard/qt/arrow_cursor_scope.h"
#include "wizard/qt/qt_about_box.h"
#include "wizard/qt/user_input_dropper.h"

namespace {

QString FromWide(const std::wstring& text) { return QString::fromStdWString(text); }

// Message texts are written with Windows line ends; a box shows each CR LF as one line break.
QString BoxText(const std::wstring& text) {
  QString boxText = FromWide(text);
  boxText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return boxText;
}

// The entries' styles: lower-case entries fold what is typed, and a set limit caps what is typed.
// Like the Windows edit control's limit, it never cuts text that the program puts in the entry
// (QLineEdit::setMaxLength would), so that an over-long stored value still reaches the read check.
class EntryValidator : public QValidator {
 public:
  EntryValidator(bool lowerCase, QObject* parent) : QValidator(parent), lowerCase_(lowerCase) {}

  void SetLimit(int maxChars) { limit_ = maxChars; }

  State validate(QString& input, int& /*position*/) const override {
    if (lowerCase_) input = input.toLower();
    return limit_ > 0 && input.size() > limit_ ? Invalid : Acceptable;
  }

 private:
  bool lowerCase_;
  int limit_ = 0;
};

}  // namespace

QString ApplicationTitle() {
  const QString title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

QtWizardWindow::QtWizardWindow(Platform& platform, InstallLog& log, QWidget* parent)
    : QDialog(parent), units_(DialogUnits::FromFont(DialogFont())), logic_(platform, log, *this, ownerlessBox_) {
  setFont(DialogFont());
  setWindowTitle(QStringLiteral("Duplex Setup Assistant"));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(units_.Size(490, 338));

  // Group boxes first: they sit behind the step buttons they frame.
  stage1Group = AddGroup("stage1Group", "Stage 1", units_.Rect(24, 104, 275, 36));
  stage2Group = AddGroup("stage2Group", "Stage 2", units_.Rect(308, 104, 137, 36));

  // Created in tab order, which is the order Qt's focus chain follows.
  managedHostNameEdit = AddEntry(IDC_MANAGED_HOST_NAME, "managedHostNameEdit", "Managed CLAN Host Name",
                                 units_.Rect(34, 9, 89, 8), units_.Rect(131, 6, 92, 14), true);
  managedClanIpEdit = AddEntry(IDC_MANAGED_CLAN_IP, "managedClanIpEdit", "Managed CLAN IP",
                               units_.Rect(34, 28, 60, 8), units_.Rect(131, 26, 92, 14), false);
  managedElanIpEdit = AddEntry(IDC_MANAGED_ELAN_IP, "managedElanIpEdit", "Managed ELAN IP",
                               units_.Rect(34, 48, 60, 8), units_.Rect(131, 46, 92, 14), false);
  node1HostNameEdit = AddEntry(IDC_NODE1_HOST_NAME, "node1HostNameEdit", "Node 1 Host Name",
                               units_.Rect(34, 68, 62, 8), units_.Rect(131, 66, 94, 14), true);
  node2HostNameEdit = AddEntry(IDC_NODE2_HOST_NAME, "node2HostNameEdit", "Node 2 Host Name",
                               units_.Rect(34, 87, 62, 8), units_.Rect(131, 84, 94, 14), true);

  AddLabel("Number of TMX48 Boards", units_.Rect(244, 10, 83, 8));
  boardCountCombo = new QComboBox(this);
  boardCountCombo->setObjectName(QStringLiteral("boardCountCombo"));
  boardCountCombo->setEditable(false);
  // A sorted drop-down list: the items in their sorted order.
  QStringList boardItems = {QStringLiteral("1"), QStringLiteral("3")};
  boardItems.sort();
  boardCountCombo->addItems(boardItems);
  boardCountCombo->setCurrentIndex(-1);
  boardCountCombo->setGeometry(units_.Rect(357, 6, 95, 14));

  userNameEdit = AddEntry(IDC_USER_NAME, "userNameEdit", "User name", units_.Rect(243, 29, 35, 8),
                          units_.Rect(358, 25, 94, 14), true);
  workgroupDomainNameEdit = AddEntry(IDC_WORKGROUP_DOMAIN_NAME, "workgroupDomainNameEdit",
                                     "Server Workgroup / Domain Name", units_.Rect(243, 49, 111, 8),
                                     units_.Rect(358, 45, 94, 14), true);
  autoStartDomainEdit = AddEntry(IDC_AUTOSTART_DOMAIN, "autoStartDomainEdit", "EMC AutoStart Domain Name",
                                 units_.Rect(243, 69, 94, 8), units_.Rect(358, 65, 94, 14), false);
  clanTestIpEdit = AddEntry(IDC_CLAN_TEST_IP, "clanTestIpEdit", "CLAN Test IP", units_.Rect(243, 84, 44, 8),
                            units_.Rect(359, 83, 94, 14), false);

  step1Button = AddButton(IDC_STEP1, "step1Button", "Step 1: Get Node Information", units_.Rect(37, 116, 109, 17));
  step2Button =
      AddButton(IDC_STEP2, "step2Button", "Step 2: Validate Node Information", units_.Rect(166, 116, 119, 17));
  step3Button =
      AddButton(IDC_STEP3, "step3Button", "Step 3: Generate Definition File", units_.Rect(317, 116, 116, 17));
  exitButton = AddButton(IDOK_EXIT, "exitButton", "Exit", units_.Rect(221, 317, 50, 14));
  exitButton->setDefault(true);
  cancelButton = AddButton(IDCANCEL_HIDDEN, "cancelButton", "Cancel", units_.Rect(282, 317, 50, 14));
  cancelButton->hide();
  resetButton = AddButton(IDC_RESET, "resetButton", "Reset", units_.Rect(414, 148, 51, 15));

  nodeInfoList = new QTreeWidget(this);
  nodeInfoList->setObjectName(QStringLiteral("nodeInfoList"));
  nodeInfoList->setGeometry(units_.Rect(62, 146, 335, 167));
  nodeInfoList->setFocusPolicy(Qt::NoFocus);
  nodeInfoList->setRootIsDecorated(false);
  nodeInfoList->setItemsExpandable(false);
  nodeInfoList->setUniformRowHeights(true);
  nodeInfoList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  nodeInfoList->setSortingEnabled(false);
  nodeInfoList->header()->setStretchLastSection(false);
  nodeInfoList->header()->setSectionsMovable(false);
  nodeInfoList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  nodeInfoList->setColumnCount(0);

  connect(step1Button, &QPushButton::clicked, this, &QtWizardWindow::step1Clicked);
  connect(step2Button, &QPushButton::clicked, this, &QtWizardWindow::step2Clicked);
  connect(step3Button, &QPushButton::clicked, this, &QtWizardWindow::step3Clicked);
  connect(resetButton, &QPushButton::clicked, this, &QtWizardWindow::resetClicked);
  connect(exitButton, &QPushButton::clicked, this, &QtWizardWindow::exitClicked);
  connect(cancelButton, &QPushButton::clicked, this, &QtWizardWindow::reject);

  // Windows puts the About box on the window's system menu, which a Linux window manager draws
  // as its own; here it is on the window's context menu and on the help key instead.
  aboutAction = new QAction(QStringLiteral("&About DuplexSetupAssistant..."), this);
  aboutAction->setObjectName(QStringLiteral("aboutAction"));
  aboutAction->setShortcut(QKeySequence::HelpContents);
  addAction(aboutAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(aboutAction, &QAction::triggered, this, &QtWizardWindow::aboutTriggered);
}

QtWizardWindow::~QtWizardWindow() {
  // A window destroyed in the middle of a step must not leave the whole application looking busy.
  for (; busyDepth_ > 0; --busyDepth_) QApplication::restoreOverrideCursor();
}

QLabel* QtWizardWindow::AddLabel(const char* text, const QRect& rect) {
  auto* label = new QLabel(QString::fromUtf8(text), this);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(rect);
  return label;
}

QLineEdit* QtWizardWindow::AddEntry(int id, const char* name, const char* label, const QRect& labelRect,
                                    const QRect& rect, bool lowerCase) {
  AddLabel(label, labelRect);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromUtf8(name));
  edit->setValidator(new EntryValidator(lowerCase, edit));
  edit->setGeometry(rect);
  entries_.push_back({id, edit});
  return edit;
}

QPushButton* QtWizardWindow::AddButton(int id, const char* name, const char* text, const QRect& rect) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(rect);
  buttons_.push_back({id, button});
  return button;
}

QGroupBox* QtWizardWindow::AddGroup(const char* name, const char* title, const QRect& rect) {
  auto* group = new QGroupBox(QString::fromUtf8(title), this);
  group->setObjectName(QString::fromUtf8(name));
  group->setGeometry(rect);
  return group;
}

QLineEdit* QtWizardWindow::Entry(int controlId) const {
  for (const EntryControl& entry : entries_) {
    if (entry.id == controlId) return entry.edit;
  }
  return nullptr;
}

int QtWizardWindow::RunModal() {
  running_ = false;
  endedBeforeShown_ = false;
  logic_.OnInitDialog();
  if (endedBeforeShown_) return endResult_;
  // The first tab stop has the focus when the window opens.
  managedHostNameEdit->setFocus(Qt::OtherFocusReason);
  running_ = true;
  const int result = exec();
  running_ = false;
  return result;
}

void QtWizardWindow::step1Clicked() { logic_.OnStep1(); }

void QtWizardWindow::step2Clicked() { logic_.OnStep2(); }

void QtWizardWindow::step3Clicked() { logic_.OnStep3(); }

void QtWizardWindow::resetClicked() { logic_.OnReset(); }

void QtWizardWindow::exitClicked() { logic_.OnExit(); }

void QtWizardWindow::aboutTriggered() {
  QtAboutBox about(this);
  about.exec();
}

void QtWizardWindow::reject() { EndModal(kDialogResultCancel); }

std::wstring QtWizardWindow::EntryText(int controlId) {
  const QLineEdit* edit = Entry(controlId);
  return edit != nullptr ? edit->text().toStdWString() : std::wstring();
}

void QtWizardWindow::SetEntryText(int controlId, const std::wstring& text) {
  if (QLineEdit* edit = Entry(controlId)) edit->setText(FromWide(text));
}

void QtWizardWindow::SetEntryLimit(int controlId, int maxChars) {
  QLineEdit* edit = Entry(controlId);
  if (edit == nullptr) return;
  // The validator is always ours (AddEntry sets it); it stays owned by the entry.
  auto* validator = static_cast<EntryValidator*>(const_cast<QValidator*>(edit->validator()));
  validator->SetLimit(maxChars);
}

void QtWizardWindow::FocusEntry(int controlId) {
  QLineEdit* edit = Entry(controlId);
  if (edit == nullptr) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

std::vector<std::wstring> QtWizardWindow::BoardCountItems() {
  std::vector<std::wstring> items;
  for (int i = 0; i < boardCountCombo->count(); ++i) items.push_back(boardCountCombo->itemText(i).toStdWString());
  return items;
}

int QtWizardWindow::BoardCountSelection() { return boardCountCombo->currentIndex(); }

void QtWizardWindow::SetBoardCountSelection(int index) {
  boardCountCombo->setCurrentIndex(index >= 0 && index < boardCountCombo->count() ? index : -1);
}

void QtWizardWindow::EnableButton(int controlId, bool enabled) {
  for (const ButtonControl& control : buttons_) {
    if (control.id == controlId) control.button->setEnabled(enabled);
  }
}

void QtWizardWindow::SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) {
  QStringList labels;
  for (const std::wstring& header : headers) labels << FromWide(header);
  nodeInfoList->setColumnCount(static_cast<int>(labels.size()));
  nodeInfoList->setHeaderLabels(labels);
  for (int column = 0; column < nodeInfoList->columnCount(); ++column) {
    nodeInfoList->setColumnWidth(column, columnWidthPixels);
    nodeInfoList->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void QtWizardWindow::AppendListRow(const std::wstring& label) {
  nodeInfoList->addTopLevelItem(new QTreeWidgetItem(QStringList{FromWide(label)}));
}

void QtWizardWindow::SetListCell(int row, int column, const std::wstring& text) {
  QTreeWidgetItem* item = nodeInfoList->topLevelItem(row);
  if (item == nullptr || column < 0 || column >= nodeInfoList->columnCount()) return;
  item->setText(column, FromWide(text));
}

void QtWizardWindow::RemoveAllListRows() { nodeInfoList->clear(); }

void QtWizardWindow::ShowMessage(const std::wstring& text, const std::wstring& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption.empty() ? ApplicationTitle() : FromWide(caption), BoxText(text),
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  // Step 1 shows its findings while its wait cursor is up.
  const ArrowCursorScope arrow;
  box.exec();
}

bool QtWizardWindow::AskYesNo(const std::wstring& text, const std::wstring& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption.empty() ? ApplicationTitle() : FromWide(caption), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  const ArrowCursorScope arrow;
  return box.exec() == QMessageBox::Yes;
}

void QtWizardWindow::EndModal(int result) {
  if (!running_) {
    // Ended during the opening: RunModal returns this without showing the window.
    endedBeforeShown_ = true;
    endResult_ = result;
    return;
  }
  done(result);
}

void QtWizardWindow::SetBusy(bool busy) {
  // The override cursors are one stack for the whole application: taking off one this window
  // never pushed would take off somebody else's.
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    --busyDepth_;
    QApplication::restoreOverrideCursor();
  }
}

void QtWizardWindow::RepaintWhileBusy() {
  const UserInputDropper dropper;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
