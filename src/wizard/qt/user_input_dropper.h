// Drops the user's clicks, keys and close requests for as long as it lives.
#pragma once

#include <QObject>

class QEvent;

// Installed on the whole application while a step waits with the window still repainting, so
// that nothing the user does starts a second step, closes the window or is kept for afterwards.
class UserInputDropper : public QObject {
 public:
  UserInputDropper();
  ~UserInputDropper() override;
  UserInputDropper(const UserInputDropper&) = delete;
  UserInputDropper& operator=(const UserInputDropper&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
