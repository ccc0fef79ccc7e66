// The real wizard window on a copy of the demo lab: entries typed, steps pressed, boxes answered, the file it saves.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_faults.h"
#include "resource.h"
#include "support/cluster_server.h"
#include "support/recording_view.h"
#include "support/temp_lab.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"
#include "wizard/node_info_list.h"
#include "wizard/win32/win32_wizard_window.h"
#include "wizard_driver.h"

namespace {
constexpr wchar_t kDefaultsFileInLab[] = L"drives\\D\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";
constexpr wchar_t kStageOneComplete[] =
    L"No problems have been found.\r\n\r\nYou must now exit the wizard and continue with the installation/upgrade "
    L"process.";
constexpr wchar_t kExitQuestion[] = L"Are you sure that you want to exit?";
constexpr wchar_t kResetQuestion[] = L"Are you sure that you want to reset the tool?";
// Boxes without a caption of their own carry the executable's name: here, the test program's.
constexpr wchar_t kApplicationTitle[] = L"duplex_win32_tests";

// A copy of the repository's demo lab in a temporary folder, so that no run writes into the repository.
class DemoLabCopy {
 public:
  DemoLabCopy() {
    std::error_code error;
    std::filesystem::copy(std::filesystem::path(OnDriveZ(DUPLEX_DEMO_LAB_PATH)), std::filesystem::path(Folder()),
                          std::filesystem::copy_options::recursive, error);
    problem_ = error.message();
  }
  std::wstring Folder() const { return temp_.File(L"lab"); }
  std::wstring DefaultsFile() const { return Folder() + L"\\" + kDefaultsFileInLab; }
  // Loads the lab as it is on disk now; null (and a test failure) if it does not load.
  std::unique_ptr<Lab> Load() const {
    std::string error;
    std::unique_ptr<Lab> lab = Lab::Load(std::filesystem::path(Folder()), &error);
    EXPECT_NE(lab, nullptr) << "the copy of the demo lab does not load (" << problem_ << "): " << error;
    return lab;
  }

 private:
  TempFolder temp_;
  std::string problem_;
};

// The window as the program builds it on a lab: the lab's parts and a recording log (the window brings its owner-less
// box).
struct LabWindow {
  explicit LabWindow(Lab& lab) : platform(lab.MakePlatform()), window(GetModuleHandleW(nullptr), platform, log) {}

  INT_PTR RunUnder(WizardDriver& driver) {
    return driver.Run([this] { return window.RunModal(nullptr); });
  }

  RecordingLog log;
  Platform platform;
  Win32WizardWindow window;
};

// What the window shows, read through its controls.
struct Shown {
  bool step1 = false;
  bool step2 = false;
  bool step3 = false;
  std::vector<std::array<std::wstring, 3>> rows;
  std::wstring node1Entry;

  // Every row has a value for both servers.
  bool AllRowsFilled() const {
    return std::all_of(rows.begin(), rows.end(), [](const auto& row) { return !row[1].empty() && !row[2].empty(); });
  }
  bool NoValues() const {
    return std::all_of(rows.begin(), rows.end(), [](const auto& row) { return row[1].empty() && row[2].empty(); });
  }
};

std::wstring ListCell(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// The texts of a dialog's left-aligned statics that its font draws wider or taller than the control:
// a static wraps such a text, and a one-line box then hides the rest.
std::vector<std::wstring> ClippedTexts(HWND dialog) {
  std::vector<std::wstring> clipped;
  HDC dc = GetDC(dialog);
  const HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0 || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT) continue;
    wchar_t text[256] = {};
    const int length = GetWindowTextW(child, text, 256);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    RECT client{};
    GetClientRect(child, &client);
    if (extent.cx > client.right || extent.cy > client.bottom) clipped.emplace_back(text);
  }
  SelectObject(dc, previousFont);
  ReleaseDC(dialog, dc);
  return clipped;
}

Shown Observe(HWND wizard) {
  Shown shown;
  shown.step1 = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP1));
  shown.step2 = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP2));
  shown.step3 = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP3));
  HWND list = GetDlgItem(wizard, IDC_NODE_INFO_LIST);
  const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    shown.rows.push_back({ListCell(list, row, 0), ListCell(list, row, 1), ListCell(list, row, 2)});
  }
  wchar_t node1[256] = {};
  GetDlgItemTextW(wizard, IDC_NODE1_HOST_NAME, node1, 256);
  shown.node1Entry = node1;
  return shown;
}

// Typed as the user types them; node 1 is this computer, which the window has filled in.
void TypeStageOneEntries(HWND wizard) {
  struct Entry {
    int id;
    const wchar_t* text;
  };
  const Entry entries[] = {
      {IDC_MANAGED_HOST_NAME, L"ha-managed"},
      {IDC_MANAGED_CLAN_IP, L"10.1.1.5"},
      {IDC_MANAGED_ELAN_IP, L"10.2.2.5"},
      {IDC_NODE2_HOST_NAME, L"node-b"},
      {IDC_USER_NAME, L"admin"},
      {IDC_WORKGROUP_DOMAIN_NAME, L"workgroup"},
      {IDC_AUTOSTART_DOMAIN, L"ha1"},
      {IDC_CLAN_TEST_IP, L"127.0.0.1"},
  };
  for (const Entry& entry : entries) SetDlgItemTextW(wizard, entry.id, entry.text);
  HWND boards = GetDlgItem(wizard, IDC_BOARD_COUNT);
  const LRESULT three =
      SendMessageW(boards, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"3"));
  SendMessageW(boards, CB_SETCURSEL, static_cast<WPARAM>(three), 0);
}

// As a click does: the button tells the window, which runs the handler to its end before this returns.
void Press(HWND wizard, int buttonId) { SendMessageW(GetDlgItem(wizard, buttonId), BM_CLICK, 0, 0); }

// A key as the keyboard delivers it: posted to the entry with the focus, taken by the dialog's own loop.
void PressKey(HWND wizard, int entryId, WPARAM key) {
  HWND entry = GetDlgItem(wizard, entryId);
  SetFocus(entry);
  PostMessageW(entry, WM_KEYDOWN, key, 1);
}

void Close(HWND wizard) { PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0); }

std::string Describe(const std::vector<AnsweredBox>& boxes) {
  std::string text;
  for (const auto& box : boxes) {
    text.append("[").append(Utf8FromWide(box.caption)).append("] ").append(Utf8FromWide(box.text)).append("\n");
  }
  return text;
}

class WizardStepsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
  }

  static void ExpectDriverDone(const WizardDriver& driver) {
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.StepsLeft(), 0u);
    EXPECT_EQ(driver.AnswersLeft(), 0u);
    EXPECT_EQ(driver.unexpectedBoxes, 0) << Describe(driver.boxes);
  }

  DemoLabCopy demo_;
};
}  // namespace

TEST_F(WizardStepsWindowTest, StageOneSavesTheAnswers_NextRunOpensInStageTwo_ResetAndExit) {
  const std::string savedDefaults =
      "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";
  {
    SCOPED_TRACE("first run: stage 1");
    std::unique_ptr<Lab> lab = demo_.Load();
    ASSERT_NE(lab, nullptr);
    LabWindow labWindow(*lab);
    Shown opened, afterRuleFailure, afterStep1;
    WizardDriver driver;
    driver
        .Then([&](HWND wizard) {
          opened = Observe(wizard);
          TypeStageOneEntries(wizard);
          SetDlgItemTextW(wizard, IDC_MANAGED_ELAN_IP, L"10.2.2");
          Press(wizard, IDC_STEP1);
        })
        .Answer(IDOK)
        .Then([&](HWND wizard) {
          afterRuleFailure = Observe(wizard);
          SetDlgItemTextW(wizard, IDC_MANAGED_ELAN_IP, L"10.2.2.5");
          Press(wizard, IDC_STEP1);
        })
        .Then([&](HWND wizard) {
          afterStep1 = Observe(wizard);
          Press(wizard, IDC_STEP2);
        })
        .Answer(IDOK)
        .Then(Close);

    EXPECT_EQ(labWindow.RunUnder(driver), IDCANCEL);

    ExpectDriverDone(driver);
    ASSERT_EQ(driver.boxes.size(), 2u) << Describe(driver.boxes);
    EXPECT_EQ(driver.boxes[0].caption, kApplicationTitle);
    EXPECT_EQ(driver.boxes[0].text, L"The ELAN IP address that you have specified is invalid.");
    EXPECT_EQ(driver.boxes[1].caption, L"Stage 1 Complete");
    EXPECT_EQ(driver.boxes[1].text, kStageOneComplete);
    EXPECT_TRUE(driver.boxes[0].hasOwner && driver.boxes[1].hasOwner);

    EXPECT_EQ(opened.node1Entry, L"node-a");
    EXPECT_TRUE(afterRuleFailure.step1);
    EXPECT_FALSE(afterRuleFailure.step2);
    EXPECT_TRUE(afterRuleFailure.NoValues());
    ASSERT_EQ(afterStep1.rows.size(), static_cast<std::size_t>(kNodeInfoBaseRows));
    EXPECT_TRUE(afterStep1.AllRowsFilled());
    EXPECT_EQ(afterStep1.rows[0][1], L"node-a");
    EXPECT_EQ(afterStep1.rows[0][2], L"node-b");
    EXPECT_TRUE(afterStep1.step2);
    EXPECT_FALSE(afterStep1.step3);
    EXPECT_EQ(ReadFileBytes(demo_.DefaultsFile()), savedDefaults);
  }
  {
    SCOPED_TRACE("second run: stage 2, Reset and Exit");
    std::unique_ptr<Lab> lab = demo_.Load();
    ASSERT_NE(lab, nullptr);
    LabWindow labWindow(*lab);
    Shown opened, afterResetNo, afterResetYes, afterExitNo;
    bool fileAfterResetNo = false;
    bool fileAfterResetYes = true;
    WizardDriver driver;
    driver
        .Then([&](HWND wizard) {
          opened = Observe(wizard);
          Press(wizard, IDC_RESET);
        })
        .Answer(IDNO)
        .Then([&](HWND wizard) {
          afterResetNo = Observe(wizard);
          fileAfterResetNo = FileExists(demo_.DefaultsFile());
          // Reset puts this computer back as node 1, whatever the entry says.
          SetDlgItemTextW(wizard, IDC_NODE1_HOST_NAME, L"elsewhere");
          Press(wizard, IDC_RESET);
        })
        .Answer(IDYES)
        .Then([&](HWND wizard) {
          afterResetYes = Observe(wizard);
          fileAfterResetYes = FileExists(demo_.DefaultsFile());
          Press(wizard, IDOK);
        })
        .Answer(IDNO)
        .Then([&](HWND wizard) {
          afterExitNo = Observe(wizard);
          Press(wizard, IDOK);
        })
        .Answer(IDYES);

    EXPECT_EQ(labWindow.RunUnder(driver), IDOK);

    ExpectDriverDone(driver);
    ASSERT_EQ(driver.boxes.size(), 4u) << Describe(driver.boxes);
    for (int i : {0, 1}) {
      EXPECT_EQ(driver.boxes[i].caption, L"Confirm Reset Request");
      EXPECT_EQ(driver.boxes[i].text, kResetQuestion);
    }
    for (int i : {2, 3}) {
      EXPECT_EQ(driver.boxes[i].caption, L"Confirm Exit Request");
      EXPECT_EQ(driver.boxes[i].text, kExitQuestion);
    }

    EXPECT_FALSE(opened.step1);
    EXPECT_FALSE(opened.step2);
    EXPECT_TRUE(opened.step3);
    EXPECT_EQ(opened.rows.size(), static_cast<std::size_t>(kNodeInfoBaseRows + kNodeInfoServiceRows));
    EXPECT_TRUE(opened.AllRowsFilled());

    EXPECT_EQ(afterResetNo.step1, opened.step1);
    EXPECT_EQ(afterResetNo.step3, opened.step3);
    EXPECT_EQ(afterResetNo.rows, opened.rows);
    EXPECT_TRUE(fileAfterResetNo);

    EXPECT_TRUE(afterResetYes.step1);
    EXPECT_FALSE(afterResetYes.step2);
    EXPECT_FALSE(afterResetYes.step3);
    EXPECT_EQ(afterResetYes.rows.size(), static_cast<std::size_t>(kNodeInfoBaseRows));
    EXPECT_TRUE(afterResetYes.NoValues());
    EXPECT_EQ(afterResetYes.node1Entry, L"node-a");
    EXPECT_FALSE(fileAfterResetYes);

    EXPECT_EQ(afterExitNo.rows, afterResetYes.rows);
    EXPECT_TRUE(afterExitNo.step1);
  }
}

TEST_F(WizardStepsWindowTest, UnreachableNode2_OwnerlessBoxOverTheBusyWindow_CursorNormalAfter) {
  std::unique_ptr<Lab> lab = demo_.Load();
  ASSERT_NE(lab, nullptr);
  LabServerFaults unreachable;
  unreachable.unreachable = true;
  lab->SetFaults(L"node-b", unreachable);
  LabWindow labWindow(*lab);

  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  // What the pointer over the window shows: the window sets it on WM_SETCURSOR, as Windows asks it to.
  auto cursorOver = [](HWND wizard) {
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    HWND list = GetDlgItem(wizard, IDC_NODE_INFO_LIST);
    SendMessageW(list, WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  HWND wizardWindow = nullptr;
  HCURSOR duringOwnerlessBox = nullptr;
  HCURSOR overOwnerlessBox = nullptr;
  bool wizardEnabledDuringOwnerlessBox = false;
  HCURSOR afterStep = nullptr;
  Shown afterStep1;
  WizardDriver driver;
  driver
      .Then([&](HWND wizard) {
        wizardWindow = wizard;
        TypeStageOneEntries(wizard);
        Press(wizard, IDC_STEP1);
      })
      .Answer(IDOK,
              [&](HWND box) {
                duringOwnerlessBox = cursorOver(wizardWindow);
                wizardEnabledDuringOwnerlessBox = IsWindowEnabled(wizardWindow);
                SetCursor(LoadCursorW(nullptr, IDC_CROSS));
                SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                overOwnerlessBox = GetCursor();
              })
      .Answer(IDOK)
      .Then([&](HWND wizard) {
        afterStep = cursorOver(wizard);
        afterStep1 = Observe(wizard);
        Close(wizard);
      });

  EXPECT_EQ(labWindow.RunUnder(driver), IDCANCEL);

  ExpectDriverDone(driver);
  ASSERT_EQ(driver.boxes.size(), 2u) << Describe(driver.boxes);
  EXPECT_EQ(driver.boxes[0].caption, L"Error");
  EXPECT_EQ(driver.boxes[0].text, L"Unable to connect to the registry on server node-b.");
  EXPECT_FALSE(driver.boxes[0].hasOwner);
  EXPECT_EQ(driver.boxes[1].caption, kApplicationTitle);
  EXPECT_EQ(driver.boxes[1].text, L"Errors occured trying to obtain information from server node-b.");
  EXPECT_TRUE(driver.boxes[1].hasOwner);

  // The gathering is still under way behind the owner-less box: the window shows it is busy, the box does not.
  EXPECT_EQ(duringOwnerlessBox, wait);
  EXPECT_TRUE(wizardEnabledDuringOwnerlessBox);
  EXPECT_EQ(overOwnerlessBox, arrow);
  EXPECT_EQ(afterStep, arrow);
  EXPECT_FALSE(afterStep1.step2);
  EXPECT_TRUE(afterStep1.NoValues());
}

TEST_F(WizardStepsWindowTest, EnterAsksToExit_AboutFromTheSystemMenu_EscapeClosesAtOnce) {
  std::unique_ptr<Lab> lab = demo_.Load();
  ASSERT_NE(lab, nullptr);
  LabWindow labWindow(*lab);
  std::wstring aboutItem;
  std::vector<std::wstring> aboutClipped = {L"(the About box was not seen)"};
  std::wstring aboutFirstLine;
  std::size_t boxesBeforeEscape = 0;
  WizardDriver driver;
  driver
      .Then([&](HWND wizard) {
        // Exit is the default button, so Enter in an entry asks to exit.
        PressKey(wizard, IDC_USER_NAME, VK_RETURN);
      })
      .Answer(IDNO)
      .Then([&](HWND wizard) {
        wchar_t item[128] = {};
        GetMenuStringW(GetSystemMenu(wizard, FALSE), IDM_ABOUTBOX, item, 128, MF_BYCOMMAND);
        aboutItem = item;
        PostMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
      })
      .Answer(IDOK,
              [&](HWND about) {
                aboutClipped = ClippedTexts(about);
                // The first text after the icon (a static too).
                HWND line = FindWindowExW(about, FindWindowExW(about, nullptr, L"Static", nullptr), L"Static", nullptr);
                wchar_t text[128] = {};
                GetWindowTextW(line, text, 128);
                aboutFirstLine = text;
              })
      .Then([&](HWND wizard) {
        boxesBeforeEscape = driver.boxes.size();
        PressKey(wizard, IDC_MANAGED_HOST_NAME, VK_ESCAPE);
      });

  EXPECT_EQ(labWindow.RunUnder(driver), IDCANCEL);

  ExpectDriverDone(driver);
  ASSERT_EQ(driver.boxes.size(), 2u) << Describe(driver.boxes);
  EXPECT_EQ(boxesBeforeEscape, 2u);
  EXPECT_EQ(driver.boxes[0].caption, L"Confirm Exit Request");
  EXPECT_EQ(driver.boxes[0].text, kExitQuestion);
  EXPECT_EQ(driver.boxes[1].caption, L"About DuplexSetupAssistant");
  EXPECT_TRUE(driver.boxes[1].hasOwner);
  EXPECT_EQ(aboutItem, L"&About DuplexSetupAssistant...");
  EXPECT_EQ(aboutClipped, std::vector<std::wstring>());
  // The version the build declares (CMakeLists.txt).
  EXPECT_EQ(aboutFirstLine, L"DuplexSetupAssistant Version " DUPLEX_EXPECTED_VERSION);
}

namespace {
constexpr UINT_PTR kWatchTimerId = 0x5157;

// What happens to the wizard while node 2 is gathered: its paints, and a click on Exit that a timer of
// the wizard's own posts once node 2's calls have begun, all seen through a subclass of the wizard.
struct GatheringWatch {
  const RecordingLog* log = nullptr;
  bool stepRunning = false;
  int paintsDuringNode2 = 0;
  bool clickedDuringNode2 = false;

  bool DuringNode2() const {
    const std::vector<std::wstring> messages = log->Messages();
    return stepRunning && std::find(messages.begin(), messages.end(), L"Hostname = node-b") != messages.end();
  }
};

LRESULT CALLBACK WatchGathering(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                DWORD_PTR data) {
  auto* watch = reinterpret_cast<GatheringWatch*>(data);
  if (message == WM_PAINT && watch->DuringNode2()) ++watch->paintsDuringNode2;
  if (message == WM_TIMER && wParam == kWatchTimerId) {
    // The wizard itself, not its sixty-odd controls: their whole repaint under Xvfb outlasts a short tick.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    if (!watch->clickedDuringNode2 && watch->DuringNode2()) {
      watch->clickedDuringNode2 = true;
      // A click on Exit as the mouse delivers it.
      HWND exitButton = GetDlgItem(window, IDOK);
      PostMessageW(exitButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      PostMessageW(exitButton, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}
}  // namespace

TEST_F(WizardStepsWindowTest, SlowServer_WindowRepaintsDuringTheGatheringAndAClickOnExitDoesNothing) {
  // Both servers bare, so that node 2 answers in few calls; in stage 1 with the entries saved.
  TempLab temp;
  AddBareServer(temp, L"NODE-A");
  AddBareServer(temp, L"node-b");
  temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat",
                      "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\n"
                      "ha1\r\n127.0.0.1\r\n");
  struct Seen {
    std::vector<std::wstring> log;
    std::vector<AnsweredBox> boxes;
    int unexpectedBoxes = 0;
    Shown shown;
    bool openAfter = false;
    GatheringWatch watch;
  };
  // Step 1 pressed once; on a slow network the wizard's timer meanwhile invalidates it and clicks Exit.
  auto step1 = [&](bool slow) {
    Seen seen;
    std::string error;
    std::unique_ptr<Lab> lab = temp.Load(&error);
    EXPECT_NE(lab, nullptr) << error;
    if (lab == nullptr) return seen;
    if (slow) {
      LabServerFaults faults;
      faults.latency = std::chrono::milliseconds(100);
      lab->SetFaults(L"node-b", faults);
    }
    LabWindow labWindow(*lab);
    seen.watch.log = &labWindow.log;
    WizardDriver driver;
    driver
        .Then([&](HWND wizard) {
          SetWindowSubclass(wizard, WatchGathering, 1, reinterpret_cast<DWORD_PTR>(&seen.watch));
          if (slow) SetTimer(wizard, kWatchTimerId, 20, nullptr);
          seen.watch.stepRunning = true;
          Press(wizard, IDC_STEP1);
          seen.watch.stepRunning = false;
          KillTimer(wizard, kWatchTimerId);
        })
        .Then([&](HWND wizard) {
          seen.openAfter = IsWindowVisible(wizard) != FALSE;
          seen.shown = Observe(wizard);
          RemoveWindowSubclass(wizard, WatchGathering, 1);
          Close(wizard);
        });
    EXPECT_EQ(labWindow.RunUnder(driver), IDCANCEL);
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.StepsLeft(), 0u);
    seen.log = labWindow.log.Messages();
    seen.boxes = driver.boxes;
    seen.unexpectedBoxes = driver.unexpectedBoxes;
    return seen;
  };

  const Seen quick = step1(false);
  const Seen slow = step1(true);
  EXPECT_TRUE(quick.boxes.empty()) << Describe(quick.boxes);
  EXPECT_TRUE(quick.shown.step2);
  // The window kept painting through node 2's slow calls, and the click on Exit did nothing, then or later.
  EXPECT_GT(slow.watch.paintsDuringNode2, 0);
  EXPECT_TRUE(slow.watch.clickedDuringNode2);
  EXPECT_TRUE(slow.openAfter);
  EXPECT_TRUE(slow.boxes.empty()) << Describe(slow.boxes);
  EXPECT_EQ(slow.unexpectedBoxes, 0);
  // Otherwise nothing differs: the same log lines, list and buttons.
  EXPECT_EQ(slow.log, quick.log);
  EXPECT_EQ(slow.shown.rows, quick.shown.rows);
  EXPECT_EQ(slow.shown.step2, quick.shown.step2);
  EXPECT_EQ(slow.shown.step3, quick.shown.step3);
}
