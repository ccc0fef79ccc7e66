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

#include <string_view>

#include "resource.h"
#include "wizard/qt/arrow_cursor_scope.h"
#include "wizard/qt/qt_about_box.h"
#include "wizard/qt/user_input_dropper.h"
#include "wizard/shown_path.h"
#include "wizard/wizard_controls.h"

namespace {

QString FromWide(const std::wstring& text) { return QString::fromStdWString(text); }
QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
    : QDialog(parent),
      files_(platform.files),
      units_(DialogUnits::FromFont(DialogFont())),
      logic_(platform, log, *this, ownerlessBox_) {
  setFont(DialogFont());
  setWindowTitle(FromUtf8(kWizardCaption));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(units_.Size(kWizardWidth, kWizardHeight));

  // Created in the template's order: it is the tab order, which Qt's focus chain follows, and it
  // puts each frame behind the step buttons it holds.
  for (const WizardControl& control : kWizardControls) AddControl(control);

  connect(Button(IDC_STEP1), &QPushButton::clicked, this, &QtWizardWindow::step1Clicked);
  connect(Button(IDC_STEP2), &QPushButton::clicked, this, &QtWizardWindow::step2Clicked);
  connect(Button(IDC_STEP3), &QPushButton::clicked, this, &QtWizardWindow::step3Clicked);
  connect(Button(IDC_RESET), &QPushButton::clicked, this, &QtWizardWindow::resetClicked);
  connect(Button(IDOK_EXIT), &QPushButton::clicked, this, &QtWizardWindow::exitClicked);
  connect(Button(IDCANCEL_HIDDEN), &QPushButton::clicked, this, &QtWizardWindow::reject);

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

void QtWizardWindow::AddControl(const WizardControl& control) {
  const DialogRect& r = control.rect;
  int height = r.height;
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(FromUtf8(control.label), this);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::Entry: {
      auto* edit = new QLineEdit(this);
      edit->setValidator(new EntryValidator(control.lowerCase, edit));
      entries_.push_back({control.id, edit});
      widget = edit;
      break;
    }
    case ControlKind::DropDown: {
      boardCountCombo = new QComboBox(this);
      boardCountCombo->setEditable(false);
      // A sorted drop-down list: the items in their sorted order.
      QStringList boardItems = {QStringLiteral("1"), QStringLiteral("3")};
      boardItems.sort();
      boardCountCombo->addItems(boardItems);
      boardCountCombo->setCurrentIndex(-1);
      widget = boardCountCombo;
      height = kClosedDropDownHeight;
      break;
    }
    case ControlKind::Frame: widget = new QGroupBox(FromUtf8(control.label), this); break;
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::HiddenButton: {
      auto* button = new QPushButton(FromUtf8(control.label), this);
      button->setDefault(control.kind == ControlKind::DefaultButton);
      if (control.kind == ControlKind::HiddenButton) button->hide();
      buttons_.push_back({control.id, button});
      widget = button;
      break;
    }
    case ControlKind::List:
      nodeInfoList = AddList();
      widget = nodeInfoList;
      break;
  }
  widget->setObjectName(FromUtf8(control.widget));
  widget->setGeometry(units_.Rect(r.x, r.y, r.width, height));
}

QTreeWidget* QtWizardWindow::AddList() {
  auto* list = new QTreeWidget(this);
  list->setFocusPolicy(Qt::NoFocus);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSortingEnabled(false);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list->setColumnCount(0);
  return list;
}

QPushButton* QtWizardWindow::Button(int controlId) const {
  for (const ButtonControl& control : buttons_) {
    if (control.id == controlId) return control.button;
  }
  return nullptr;
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
  // The first tab stop, the first entry, has the focus when the window opens.
  entries_.front().edit->setFocus(Qt::OtherFocusReason);
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
  if (QPushButton* button = Button(controlId)) button->setEnabled(enabled);
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

bool QtWizardWindow::AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) {
  QMessageBox box(QMessageBox::NoIcon, caption.empty() ? ApplicationTitle() : FromWide(caption), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(preselected == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
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

std::wstring QtWizardWindow::ShownPath(const std::wstring& path) { return ::ShownPath(files_, path); }
