// Drives a modal window from its own event loop: answers message boxes and runs test steps.
#include "modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace {
constexpr int kPollMilliseconds = 5;
constexpr qint64 kDeadlineMilliseconds = 20000;
}  // namespace

ModalDriver::ModalDriver(QWidget* window) : window_(window) {
  connect(&timer_, &QTimer::timeout, this, &ModalDriver::Poll);
  timer_.start(kPollMilliseconds);
  age_.start();
}

ModalDriver& ModalDriver::Answer(QMessageBox::StandardButton answer) {
  answers_.push_back(answer);
  return *this;
}

ModalDriver& ModalDriver::Then(std::function<void()> step) {
  steps_.push_back(std::move(step));
  return *this;
}

void ModalDriver::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (age_.elapsed() > kDeadlineMilliseconds && modal != nullptr) {
    timedOut = true;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    return;
  }
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    AnswerBox(box);
    return;
  }
  if (modal != window_ || !window_->isVisible()) return;
  windowWasShown = true;
  if (steps_.empty() || stepRunning_) return;
  // Posted rather than run here, so that a box the step opens is polled by this same timer.
  std::function<void()> step = std::move(steps_.front());
  steps_.pop_front();
  stepRunning_ = true;
  QTimer::singleShot(0, this, [this, step = std::move(step)] {
    step();
    stepRunning_ = false;
  });
}

void ModalDriver::AnswerBox(QMessageBox* box) {
  boxes.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons(), box->parent() != nullptr});
  QAbstractButton* button = nullptr;
  if (!answers_.empty()) {
    button = box->button(answers_.front());
    answers_.pop_front();
  } else {
    ++unexpectedBoxes;
    button = box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok) : box->escapeButton();
  }
  if (button != nullptr) {
    button->click();
  } else {
    ++unexpectedBoxes;
    box->done(QMessageBox::Cancel);
  }
}
