// The owner-less box of the lab edition: a Qt message box with no parent window.
#include "wizard/qt/qt_ownerless_message_box.h"

#include <QMessageBox>
#include <QString>

#include "wizard/qt/arrow_cursor_scope.h"

void QtOwnerlessMessageBox::Show(const std::wstring& text) {
  QString boxText = QString::fromStdWString(text);
  boxText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // A box shown with no caption of its own gets the system's default title, which Windows
  // spells "Error"; the lab edition shows what the Windows program shows.
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), boxText, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  // Gathering a server shows this box in the middle of Step 1, under its wait cursor.
  const ArrowCursorScope arrow;
  box.exec();
}
