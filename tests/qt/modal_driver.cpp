// Drives a modal window from its own event loop: answers message boxes and runs test steps.
#include "modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QMenu>
#include <QWidget>

namespace {
constexpr int kPollMilliseconds = 5;
constexpr qint64 kDeadlineMilliseconds = 20000;
}  // namespace

Qt::CursorShape ShownCursor() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
}

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

ModalDriver& ModalDriver::OnDialog(std::function<void(QDialog*)> handle) {
  dialogHandlers_.push_back(std::move(handle));
  return *this;
}

ModalDriver& ModalDriver::OnMenu(std::function<void(QMenu*)> handle) {
  menuHandlers_.push_back(std::move(handle));
  return *this;
}

void ModalDriver::Post(QWidget* widget, std::function<void()> work) {
  handled_ = widget;
  QTimer::singleShot(0, this, std::move(work));
}

void ModalDriver::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (age_.elapsed() > kDeadlineMilliseconds && (modal != nullptr || menu != nullptr)) {
    timedOut = true;
    if (menu != nullptr) {
      menu->close();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->done(QDialog::Rejected);
    }
    return;
  }
  if (menu != nullptr) {
    if (menu == handled_) return;
    if (menuHandlers_.empty()) {
      ++unexpectedDialogs;
      menu->close();
      return;
    }
    std::function<void(QMenu*)> handle = std::move(menuHandlers_.front());
    menuHandlers_.pop_front();
    Post(menu, [target = QPointer<QMenu>(menu), handle = std::move(handle)] {
      if (target != nullptr) handle(target);
    });
    return;
  }
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    AnswerBox(box);
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog != window_) {
    if (dialog == handled_) return;
    if (dialogHandlers_.empty()) {
      ++unexpectedDialogs;
      dialog->reject();
      return;
    }
    std::function<void(QDialog*)> handle = std::move(dialogHandlers_.front());
    dialogHandlers_.pop_front();
    Post(dialog, [target = QPointer<QDialog>(dialog), handle = std::move(handle)] {
      if (target != nullptr) handle(target);
    });
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
  boxes.push_back(
      {box->text(), box->windowTitle(), box->icon(), box->standardButtons(), box->parent() != nullptr, ShownCursor()});
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
