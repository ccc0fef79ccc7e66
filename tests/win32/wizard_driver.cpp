// Drives a modal wizard window from inside its own thread's message loops: answers boxes, runs test steps.
#include "wizard_driver.h"

#include <algorithm>

#include "resource.h"
#include "wine_fixtures.h"

namespace {
constexpr wchar_t kTimerWindowClass[] = L"DuplexWizardDriverTimer";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMilliseconds = 10;

struct ThreadDialogs {
  HWND wizard = nullptr;
  std::vector<HWND> boxes;  // every other dialog: message boxes and the About box
};

// Every dialog of this thread, shown or not yet: a box is up from its WM_INITDIALOG on, and the
// timer only ticks inside the loop that runs it.
ThreadDialogs FindThreadDialogs() {
  ThreadDialogs found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto* into = reinterpret_cast<ThreadDialogs*>(param);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (lstrcmpW(className, L"#32770") != 0) return TRUE;
        if (GetDlgItem(window, IDC_NODE_INFO_LIST) != nullptr) {
          into->wizard = window;
        } else {
          into->boxes.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

WizardDriver::WizardDriver(std::chrono::milliseconds deadline) : deadline_(deadline) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = TimerWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTimerWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when an earlier driver registered it
  // A message-only window: never shown, never enumerated with the thread's dialogs.
  timerWindow_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WizardDriver::~WizardDriver() {
  if (timerWindow_ != nullptr) DestroyWindow(timerWindow_);
}

WizardDriver& WizardDriver::Answer(int button, std::function<void(HWND)> whileShown) {
  answers_.push_back({button, std::move(whileShown)});
  return *this;
}

WizardDriver& WizardDriver::Then(std::function<void(HWND)> step) {
  steps_.push_back(std::move(step));
  return *this;
}

INT_PTR WizardDriver::Run(const std::function<INT_PTR()>& runModal) {
  start_ = std::chrono::steady_clock::now();
  SetTimer(timerWindow_, kTimerId, kTickMilliseconds, nullptr);
  const INT_PTR result = runModal();
  KillTimer(timerWindow_, kTimerId);
  return result;
}

LRESULT CALLBACK WizardDriver::TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (auto* driver = reinterpret_cast<WizardDriver*>(GetWindowLongPtrW(window, GWLP_USERDATA))) driver->Tick();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void WizardDriver::Tick() {
  const ThreadDialogs found = FindThreadDialogs();
  if (std::chrono::steady_clock::now() - start_ > deadline_) {
    if (!timedOut) {
      timedOut = true;
      steps_.clear();
      for (HWND box : found.boxes) EndDialog(box, IDCANCEL);
      if (found.wizard != nullptr) EndDialog(found.wizard, IDCANCEL);
    }
    return;
  }
  for (HWND box : found.boxes) {
    // An answered box is gone before the next tick; the check only guards against answering twice.
    if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
    answered_.push_back(box);
    AnswerBox(box);
  }
  if (!found.boxes.empty() || stepRunning_ || steps_.empty()) return;
  if (found.wizard == nullptr || !IsWindowVisible(found.wizard)) return;
  std::function<void(HWND)> step = std::move(steps_.front());
  steps_.pop_front();
  stepRunning_ = true;
  step(found.wizard);
  stepRunning_ = false;
}

void WizardDriver::AnswerBox(HWND box) {
  const SeenBox seen = ReadBox(box);
  boxes.push_back({seen.caption, seen.text, GetWindow(box, GW_OWNER) != nullptr});
  int button = 0;
  if (!answers_.empty()) {
    QueuedAnswer answer = std::move(answers_.front());
    answers_.pop_front();
    if (answer.whileShown) answer.whileShown(box);
    if (GetDlgItem(box, answer.button) != nullptr) button = answer.button;
  }
  if (button == 0) {
    ++unexpectedBoxes;
    button = GetDlgItem(box, IDOK) != nullptr ? IDOK : IDNO;
  }
  // Posted, as a click arrives: the box's own loop takes it and ends the box.
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}
