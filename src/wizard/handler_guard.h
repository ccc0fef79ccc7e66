// Keeps a button's handler from starting inside another one.
#pragma once

// The boxes of node gathering have no owner window, so the wizard stays enabled under them and
// a second press would run a handler inside the first: two gatherings at once, or a Reset in the
// middle of one. A handler that finds another running does nothing.
class HandlerGuard {
 public:
  explicit HandlerGuard(bool& running) : running_(running), entered_(!running) { running_ = true; }
  ~HandlerGuard() {
    if (entered_) running_ = false;
  }
  HandlerGuard(const HandlerGuard&) = delete;
  HandlerGuard& operator=(const HandlerGuard&) = delete;

  // False when another handler was already running: the caller returns at once.
  bool Entered() const { return entered_; }

 private:
  bool& running_;
  bool entered_;
};
