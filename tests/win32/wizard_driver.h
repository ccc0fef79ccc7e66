// Drives a modal wizard window from inside its own thread's message loops: answers boxes, runs test steps.
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A box the driver answered, and whether it had an owner (the window it kept disabled meanwhile).
struct AnsweredBox {
  std::wstring caption;
  std::wstring text;
  bool hasOwner = false;
};

// A timer of this thread ticks inside whichever modal loop runs, the wizard's or a box's. Each tick
// records every box of the thread and answers it with the next queued answer; once the wizard is
// shown with no box over it and no step running, the next step runs to its end right there. A step
// that presses a button therefore returns only when the button's whole handler, boxes and all, is
// done, and the next step sees its outcome: no sleeps, no guessing when a window has settled.
// A box with no answer left, or without the queued answer's button, is closed with OK (or No) and
// counted as unexpected; after the deadline every window of the run is ended, so that a broken test
// fails instead of hanging.
class WizardDriver {
 public:
  explicit WizardDriver(std::chrono::milliseconds deadline = std::chrono::seconds(20));
  ~WizardDriver();
  WizardDriver(const WizardDriver&) = delete;
  WizardDriver& operator=(const WizardDriver&) = delete;

  // The next box is answered with `button` (IDOK, IDYES, IDNO); `whileShown`, if given, runs first,
  // with the box up and whatever step led to it still running.
  WizardDriver& Answer(int button, std::function<void(HWND box)> whileShown = {});
  WizardDriver& Then(std::function<void(HWND wizard)> step);

  // Runs `runModal`, a modal run of the wizard window on this thread, under the driver; returns its result.
  INT_PTR Run(const std::function<INT_PTR()>& runModal);

  std::size_t StepsLeft() const { return steps_.size(); }
  std::size_t AnswersLeft() const { return answers_.size(); }

  std::vector<AnsweredBox> boxes;
  int unexpectedBoxes = 0;
  bool timedOut = false;

 private:
  struct QueuedAnswer {
    int button;
    std::function<void(HWND)> whileShown;
  };

  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Tick();
  void AnswerBox(HWND box);

  std::chrono::milliseconds deadline_;
  std::chrono::steady_clock::time_point start_;
  std::deque<QueuedAnswer> answers_;
  std::deque<std::function<void(HWND)>> steps_;
  std::vector<HWND> answered_;
  bool stepRunning_ = false;
  HWND timerWindow_ = nullptr;
};
