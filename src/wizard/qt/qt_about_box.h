// The lab edition's About box, placed as the About dialog template places its controls.
#pragma once

#include <QDialog>
#include <QIcon>

#include "wizard/qt/dialog_units.h"

class QLabel;
class QPushButton;

// The program's icon, the one the Windows program carries as its main icon resource.
QIcon ProgramIcon();

class QtAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit QtAboutBox(QWidget* parent);

  const DialogUnits& Units() const { return units_; }

 private:
  QLabel* AddLabel(const char* name, const QString& text, const QRect& rect);

  DialogUnits units_;
  QLabel* iconLabel = nullptr;
  QLabel* versionLabel = nullptr;
  QLabel* descriptionLabel = nullptr;
  QLabel* editionLabel = nullptr;
  QPushButton* okButton = nullptr;
};
