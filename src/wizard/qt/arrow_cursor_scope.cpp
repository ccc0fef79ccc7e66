// The arrow over a box that a long step shows while the wait cursor is up.
#include "wizard/qt/arrow_cursor_scope.h"

#include <QApplication>
#include <QCursor>

ArrowCursorScope::ArrowCursorScope() {
  if (QApplication::overrideCursor() == nullptr) return;
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  pushed_ = true;
}

ArrowCursorScope::~ArrowCursorScope() {
  if (pushed_) QApplication::restoreOverrideCursor();
}
