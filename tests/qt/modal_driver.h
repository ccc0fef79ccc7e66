// Drives a modal window from its own event loop: answers message boxes and runs test steps, never leaving a loop hanging.
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool hasParent = false;
};

// Polls the modal stack (no sleeps): a message box on top is recorded and answered with the next
// queued answer; once the window itself is on top, the next step runs. A box with no answer left
// is closed with OK (or its escape button) and counted as unexpected; after a generous deadline
// every modal widget is closed so that a broken test fails instead of hanging.
class ModalDriver : public QObject {
 public:
  explicit ModalDriver(QWidget* window);

  ModalDriver& Answer(QMessageBox::StandardButton answer);
  ModalDriver& Then(std::function<void()> step);

  std::vector<SeenBox> boxes;
  int unexpectedBoxes = 0;
  bool windowWasShown = false;
  bool timedOut = false;

 private:
  void Poll();
  void AnswerBox(QMessageBox* box);

  QWidget* window_;
  std::deque<QMessageBox::StandardButton> answers_;
  std::deque<std::function<void()>> steps_;
  bool stepRunning_ = false;
  QTimer timer_;
  QElapsedTimer age_;
};
