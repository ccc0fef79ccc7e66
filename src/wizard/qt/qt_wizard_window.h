// The lab edition's wizard window: Qt widgets placed as the dialog template places them, driven by WizardDialog.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "wizard/qt/dialog_units.h"
#include "wizard/qt/qt_ownerless_message_box.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

class FileSystem;
class InstallLog;
class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
struct Platform;
struct WizardControl;

// The caption of boxes shown without one: the executable's file name, as Windows titles them.
QString ApplicationTitle();

class QtWizardWindow : public QDialog, public WizardView {
  Q_OBJECT

 public:
  QtWizardWindow(Platform& platform, InstallLog& log, QWidget* parent = nullptr);
  ~QtWizardWindow() override;

  // Opens the window the way the program does: the logic's opening first, which may end the
  // run before the window is ever shown; otherwise the window runs modally. Returns the result.
  int RunModal();

  const DialogUnits& Units() const { return units_; }

  // WizardView
  std::wstring EntryText(int controlId) override;
  void SetEntryText(int controlId, const std::wstring& text) override;
  void SetEntryLimit(int controlId, int maxChars) override;
  void FocusEntry(int controlId) override;
  std::vector<std::wstring> BoardCountItems() override;
  int BoardCountSelection() override;
  void SetBoardCountSelection(int index) override;
  void EnableButton(int controlId, bool enabled) override;
  void SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) override;
  void AppendListRow(const std::wstring& label) override;
  void SetListCell(int row, int column, const std::wstring& text) override;
  void RemoveAllListRows() override;
  void ShowMessage(const std::wstring& text, const std::wstring& caption) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) override;
  void EndModal(int result) override;
  void SetBusy(bool busy) override;
  void RepaintWhileBusy() override;
  // The lab edition's boxes name a lab's file by its place on this computer too.
  std::wstring ShownPath(const std::wstring& path) override;

 public slots:
  // Escape, the close box and the hidden Cancel button end the run at once with Cancel.
  void reject() override;

 private slots:
  void step1Clicked();
  void step2Clicked();
  void step3Clicked();
  void resetClicked();
  void exitClicked();
  void aboutTriggered();

 private:
  struct EntryControl {
    int id;
    QLineEdit* edit;
  };
  struct ButtonControl {
    int id;
    QPushButton* button;
  };

  // The control's widget, named and placed as the control table says.
  void AddControl(const WizardControl& control);
  QTreeWidget* AddList();
  QLineEdit* Entry(int controlId) const;
  QPushButton* Button(int controlId) const;

  FileSystem& files_;
  DialogUnits units_;
  std::vector<EntryControl> entries_;
  std::vector<ButtonControl> buttons_;

  // Entries and buttons are found by id; these two have calls of their own.
  QComboBox* boardCountCombo = nullptr;
  QTreeWidget* nodeInfoList = nullptr;
  QAction* aboutAction = nullptr;

  // Set while the window runs modally; before that, EndModal only records the result.
  bool running_ = false;
  bool endedBeforeShown_ = false;
  int endResult_ = kDialogResultCancel;
  // Wait cursors this window has pushed and not yet taken off.
  int busyDepth_ = 0;

  // The boxes node gathering shows, with no owner window.
  QtOwnerlessMessageBox ownerlessBox_;
  // Last, so that it is built once the window it drives exists.
  WizardDialog logic_;
};
