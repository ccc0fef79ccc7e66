// Drops the user's clicks, keys and close requests for as long as it lives.
#include "wizard/qt/user_input_dropper.h"

#include <QCoreApplication>
#include <QEvent>

UserInputDropper::UserInputDropper() { QCoreApplication::instance()->installEventFilter(this); }

UserInputDropper::~UserInputDropper() { QCoreApplication::instance()->removeEventFilter(this); }

bool UserInputDropper::eventFilter(QObject* /*watched*/, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: return true;
    case QEvent::Close:
      // A close event counts as agreed unless ignored.
      event->ignore();
      return true;
    default: return false;
  }
}
