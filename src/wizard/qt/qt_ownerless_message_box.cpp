// The owner-less box of the lab edition: a Qt message box with no parent window.
#include "wizard/qt/qt_ownerless_message_box.h"

#include <QMessageBox>
#include <QString>

#include "wizard/qt/qt_wizard_window.h"

void QtOwnerlessMessageBox::Show(const std::wstring& text) {
  QString boxText = QString::fromStdWString(text);
  boxText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), boxText, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}
