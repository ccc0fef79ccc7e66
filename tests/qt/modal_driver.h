// Drives a modal window from its own event loop: answers message boxes and runs test steps, never leaving a loop
// hanging.
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QMenu;

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool hasParent = false;
  // The cursor over the box while it was up.
  Qt::CursorShape cursor = Qt::ArrowCursor;
};

// The cursor the application shows over a widget that sets none of its own: the override cursor
// on top of the stack, else the arrow.
Qt::CursorShape ShownCursor();

// Polls the modal stack (no sleeps): a message box on top is recorded and answered with the next
// queued answer; any other dialog on top, or a popup menu, is handed to the next queued handler
// of its kind; once the window itself is on top, the next step runs. A box with no answer left is
// closed with OK (or its escape button), and a dialog or menu with no handler left is closed,
// each counted as unexpected; after a generous deadline every modal widget is closed so that a
// broken test fails instead of hanging.
class ModalDriver : public QObject {
 public:
  explicit ModalDriver(QWidget* window);

  ModalDriver& Answer(QMessageBox::StandardButton answer);
  ModalDriver& Then(std::function<void()> step);
  // The handler must close the dialog.
  ModalDriver& OnDialog(std::function<void(QDialog*)> handle);
  // The handler chooses from the menu or closes it.
  ModalDriver& OnMenu(std::function<void(QMenu*)> handle);

  std::vector<SeenBox> boxes;
  int unexpectedBoxes = 0;
  int unexpectedDialogs = 0;
  bool windowWasShown = false;
  bool timedOut = false;

 private:
  void Poll();
  void AnswerBox(QMessageBox* box);
  // Runs `work` from the event loop rather than from the poll, so that a modal loop it opens is
  // polled by this same timer (a timer is not fired again while its own slot runs).
  void Post(QWidget* widget, std::function<void()> work);

  QWidget* window_;
  std::deque<QMessageBox::StandardButton> answers_;
  std::deque<std::function<void()>> steps_;
  std::deque<std::function<void(QDialog*)>> dialogHandlers_;
  std::deque<std::function<void(QMenu*)>> menuHandlers_;
  bool stepRunning_ = false;
  // The dialog or menu last handed to a handler, which is not handed on again while it stays up.
  QPointer<QWidget> handled_;
  QTimer timer_;
  QElapsedTimer age_;
};
