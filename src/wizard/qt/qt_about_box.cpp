// The lab edition's About box, placed as the About dialog template places its controls.
#include "wizard/qt/qt_about_box.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <algorithm>

#include "common/program_info.h"

QIcon ProgramIcon() {
  // Built into the program (the Qt resource of this folder's CMakeLists), so that it never
  // depends on where the program is run from; Qt's ico reader comes with Qt GUI itself.
  return QIcon(QStringLiteral(":/icons/DuplexSetupAssistant.ico"));
}

QtAboutBox::QtAboutBox(QWidget* parent) : QDialog(parent), units_(DialogUnits::FromFont(DialogFont())) {
  setObjectName(QStringLiteral("aboutBox"));
  setFont(DialogFont());
  setWindowTitle(QStringLiteral("About DuplexSetupAssistant"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setModal(true);
  setFixedSize(units_.Size(235, 55));

  iconLabel = AddLabel("iconLabel", QString(), units_.Rect(11, 17, 20, 20));
  // Windows draws the 32-pixel icon whatever the template's size; here it is kept inside the
  // template's rectangle, which the dialog font makes a little smaller than that.
  const int side = std::min({iconLabel->width(), iconLabel->height(), 32});
  iconLabel->setPixmap(ProgramIcon().pixmap(side, side));

  versionLabel = AddLabel("versionLabel", QString::fromStdWString(AboutVersionText()), units_.Rect(40, 10, 119, 8));
  descriptionLabel =
      AddLabel("descriptionLabel", QStringLiteral("Prepares a two-server cluster"), units_.Rect(40, 25, 119, 8));
  // Below what the template holds: which edition this is.
  editionLabel = AddLabel("editionLabel", QStringLiteral("Lab edition"), units_.Rect(40, 40, 119, 8));

  okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setObjectName(QStringLiteral("okButton"));
  okButton->setGeometry(units_.Rect(178, 7, 50, 14));
  okButton->setDefault(true);
  okButton->setFocus(Qt::OtherFocusReason);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* QtAboutBox::AddLabel(const char* name, const QString& text, const QRect& rect) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromUtf8(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(rect);
  return label;
}
