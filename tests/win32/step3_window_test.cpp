// Step 3 in the real window through the Win32 backend alone: Wine's registry and service manager hold this
// computer's keys and the product's four services, drives D: and E: the product's installation, and the
// installer stand-in runs through Wine's cmd.exe. Also the window's wait: it keeps answering, drops input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "installer_fixtures.h"
#include "nodes/registry_paths.h"
#include "platform/win32/win32_platform.h"
#include "resource.h"
#include "support/recording_view.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"
#include "wizard/node_info_list.h"
#include "wizard/win32/win32_wizard_window.h"
#include "wizard_driver.h"

namespace {
constexpr wchar_t kDomain[] = L"ha1";
// Wine connects to the registry of this computer only, by its name in any case; the entries, though,
// are lowered as they are read and the rules want two different host names. So node 2 goes by an
// alias, which the test's registry turns into this computer's name before Win32Registry connects.
constexpr wchar_t kPeerAlias[] = L"duplex-peer";
constexpr wchar_t kComplete[] =
    L"The definition file has been successfully generated. The definition file will be imported into the EMC "
    L"AutoStart Console later in the configuration process.\r\n\r\nYou must now exit the wizard and continue with "
    L"the installation/upgrade process.";
// Boxes without a caption of their own carry the executable's name: here, the test program's.
constexpr wchar_t kApplicationTitle[] = L"duplex_win32_tests";

// Win32Registry, with the peer's alias standing for this computer.
class AliasRegistry : public ForwardingRegistry {
 public:
  AliasRegistry(Registry& inner, std::wstring alias, std::wstring computer)
      : ForwardingRegistry(inner), alias_(L"\\\\" + alias), computer_(L"\\\\" + computer) {}

  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override {
    return ForwardingRegistry::ConnectRegistry(machineName == alias_ ? computer_ : machineName, result);
  }

 private:
  std::wstring alias_;
  std::wstring computer_;
};

struct Connection {
  const wchar_t* name;
  const wchar_t* guid;
  const wchar_t* address;
  const wchar_t* mask;
};
// GUIDs of the test's own, so that nothing of Wine's is mistaken for them.
const Connection kConnections[] = {
    {L"CLAN", L"{D0000031-5EED-4D0C-A000-000000000031}", L"10.1.1.11", L"255.255.255.0"},
    {L"ELAN", L"{D0000032-5EED-4D0C-A000-000000000032}", L"10.2.2.11", L"255.255.255.0"},
    {L"HB1", L"{D0000033-5EED-4D0C-A000-000000000033}", L"172.16.1.11", L"255.255.0.0"},
    {L"HB2", L"{D0000034-5EED-4D0C-A000-000000000034}", L"172.17.1.11", L"255.255.0.0"},
    {L"MIRROR", L"{D0000035-5EED-4D0C-A000-000000000035}", L"10.20.30.11", L"255.255.255.0"},
};

std::wstring InterfaceKeyOf(const std::wstring& guid) { return std::wstring(kInterfacesKey) + L"\\" + guid; }

RegFileText ServerRegistry() {
  RegFileText file;
  for (const auto& connection : kConnections) {
    file.Key(std::wstring(kNetworkClassKey) + L"\\" + connection.guid + L"\\Connection")
        .String(L"Name", connection.name);
    file.Key(InterfaceKeyOf(connection.guid))
        .MultiString(L"IPAddress", {connection.address})
        .MultiString(L"SubnetMask", {connection.mask});
  }
  file.Key(InterfaceKeyOf(kConnections[0].guid))
      .MultiString(L"DefaultGateway", {L"10.1.1.254"})
      .String(L"Domain", L"cluster.example");
  file.Key(kProductKey).String(kSwitchIpAddressValue, L"10.1.1.250").Dword(kHighAvailModeValue, 1);
  return file;
}

std::vector<std::wstring> OwnedKeys() {
  std::vector<std::wstring> owned = {kNetworkClassKey, kProductKey};
  for (const auto& connection : kConnections) owned.push_back(InterfaceKeyOf(connection.guid));
  return owned;
}

// This computer as one node of a cluster ready for Step 3: its connections, the product's settings with the
// feature enabled, and the four services of domain ha1 running. Made once for the suite.
struct ServerState {
  ScopedRegImport registry{OwnedKeys(), ServerRegistry()};
  ScopedTestService agent{kDomain, true};
  ScopedTestService backbone{std::wstring(kDomain) + L"_BACKBONE", true};
  ScopedTestService mirror{L"EMC AutoStart Mirror Service", true};
  ScopedTestService transport{L"EMC AutoStart Transport Service", true};
};

// The window as the program builds it on Windows, but for the alias of node 2.
struct Win32Window {
  Win32Window()
      : registry(backend.registry, kPeerAlias, ComputerName()),
        platform{registry, backend.services, backend.files, backend.machine, backend.processes, backend.network},
        window(GetModuleHandleW(nullptr), platform, log) {}

  INT_PTR RunUnder(WizardDriver& driver) {
    return driver.Run([this] { return window.RunModal(nullptr); });
  }

  Win32Backend backend;
  AliasRegistry registry;
  RecordingLog log;
  Platform platform;
  Win32WizardWindow window;
};

// A message-only window of the test's thread that hands each message it gets to `onMessage`: shows which
// messages a loop dispatched, and lets a test act from inside that loop (a timer of its own).
class TestMessageWindow {
 public:
  explicit TestMessageWindow(std::function<void(UINT message)> onMessage) : onMessage_(std::move(onMessage)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when an earlier test registered it
    window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TestMessageWindow() { DestroyWindow(window_); }
  TestMessageWindow(const TestMessageWindow&) = delete;
  TestMessageWindow& operator=(const TestMessageWindow&) = delete;

  HWND get() const { return window_; }

 private:
  static constexpr wchar_t kClass[] = L"DuplexStep3TestMessages";
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message >= WM_APP) {
      if (auto* self = reinterpret_cast<TestMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        self->onMessage_(message);
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  std::function<void(UINT)> onMessage_;
  HWND window_ = nullptr;
};

// The answers Step 2 saved in an earlier run, which open the window in stage 2.
struct SavedAnswers {
  std::string boardCount;
  std::string clanTestIp;
};

void WriteStageTwoDefaults(const SavedAnswers& answers) {
  const std::string node1 = Utf8FromWide(ToLowerAscii(ComputerName()));
  WriteFileBytes(kTestDefaultsFile,
                 CrLfText({"1", "ha-managed", "10.1.1.5", "10.2.2.5", node1, Utf8FromWide(kPeerAlias), "admin",
                           "workgroup", answers.boardCount, "ha1", answers.clanTestIp}));
}

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// What the installer stand-in writes for a definition it generated for node 2's alias and this computer.
std::string DefinitionSummary(const std::string& definitionName, int valueLines) {
  return "definition=" + definitionName + "\r\ndomain=ha1\r\ninstall directory=D:\\Program Files\\EMC AutoStart\r\n" +
         "values=" + std::to_string(valueLines) + " lines\r\nnode 1=" + Utf8FromWide(ToLowerAscii(ComputerName())) +
         "\r\nnode 2=" + Utf8FromWide(kPeerAlias) + "\r\n";
}

// A file as an earlier run left it: written a day before now.
void WriteEarlierFile(const std::wstring& path, const std::string& bytes) {
  WriteFileBytes(path, bytes);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time{};
  time.LowPart = now.dwLowDateTime;
  time.HighPart = now.dwHighDateTime;
  time.QuadPart -= 24ull * 60 * 60 * 10000000;
  const FILETIME dayBefore{time.LowPart, time.HighPart};
  ScopedHandle file(
      CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  SetFileTime(file.get(), nullptr, nullptr, &dayBefore);
}

// As a click does: the button tells the window, which runs the handler to its end before this returns.
void Press(HWND wizard, int buttonId) { SendMessageW(GetDlgItem(wizard, buttonId), BM_CLICK, 0, 0); }

// A click as the mouse delivers it, posted to the button for whichever loop takes it.
void PostClick(HWND wizard, int buttonId) {
  HWND button = GetDlgItem(wizard, buttonId);
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void Close(HWND wizard) { PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0); }

std::string Describe(const std::vector<AnsweredBox>& boxes) {
  std::string text;
  for (const auto& box : boxes) {
    text.append("[").append(Utf8FromWide(box.caption)).append("] ").append(Utf8FromWide(box.text)).append("\n");
  }
  return text;
}

std::vector<std::wstring> Captions(const std::vector<AnsweredBox>& boxes) {
  std::vector<std::wstring> captions;
  for (const auto& box : boxes) captions.push_back(box.caption);
  return captions;
}

class Step3WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ServerState>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_EQ(server_->registry.Problem(), "");
    for (const ScopedTestService* service :
         {&server_->agent, &server_->backbone, &server_->mirror, &server_->transport}) {
      ASSERT_EQ(service->Problem(), "");
    }
  }

  static void ExpectDriverDone(const WizardDriver& driver) {
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.StepsLeft(), 0u);
    EXPECT_EQ(driver.AnswersLeft(), 0u);
    EXPECT_EQ(driver.unexpectedBoxes, 0) << Describe(driver.boxes);
  }

  static bool Logged(const RecordingLog& log, const std::wstring& message) {
    const std::vector<std::wstring> messages = log.Messages();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }

  static inline std::unique_ptr<ServerState> server_;
};
}  // namespace

TEST_F(Step3WindowTest, BothBoardCounts_WriteTheInputFilesRunTheInstallerAndCompletePhaseTwo) {
  struct Case {
    const char* what;
    SavedAnswers answers;
    const wchar_t* command;
    const wchar_t* definition;
    std::string definitionName;
    int valueLines;
  };
  const Case cases[] = {
      {"one board, loopback CLAN test address",
       {"1", "127.0.0.1"},
       kSingleBoardCommand,
       kSingleBoardDefinition,
       "Vestamail-Mirroring-Single",
       29},
      {"three boards, a CLAN test address",
       {"3", "10.1.1.1"},
       kThreeBoardCommand,
       kThreeBoardDefinition,
       "Vestamail-Mirroring",
       31},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    const TestDrives drives;
    ASSERT_EQ(drives.Problem(), "");
    ASSERT_EQ(LayOutInstallation(kDomain), "");
    WriteStageTwoDefaults(row.answers);
    Win32Window window;
    bool step3Enabled = false;
    std::size_t rows = 0;
    WizardDriver driver;
    // Node 2 is this computer under another name, so every address is the other's too: the
    // readiness question comes first, answered Yes.
    driver.Then([](HWND wizard) { Press(wizard, IDC_STEP3); }).Answer(IDYES).Answer(IDOK).Then([&](HWND wizard) {
      step3Enabled = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP3));
      rows = static_cast<std::size_t>(SendDlgItemMessageW(wizard, IDC_NODE_INFO_LIST, LVM_GETITEMCOUNT, 0, 0));
      Close(wizard);
    });

    EXPECT_EQ(window.RunUnder(driver), IDCANCEL);

    ExpectDriverDone(driver);
    ASSERT_EQ(driver.boxes.size(), 2u) << Describe(driver.boxes);
    EXPECT_EQ(driver.boxes[0].caption, L"Cluster Readiness");
    EXPECT_EQ(driver.boxes[1].caption, L"Phase 2 Complete");
    EXPECT_EQ(driver.boxes[1].text, kComplete);
    EXPECT_TRUE(driver.boxes[1].hasOwner);
    EXPECT_TRUE(step3Enabled);
    EXPECT_EQ(rows, static_cast<std::size_t>(kNodeInfoBaseRows + kNodeInfoServiceRows));

    EXPECT_EQ(ReadFileBytes(kTestIniFile), "[AutoStart]\r\nVirtualElanIP=10.2.2.5\r\nVirtualHostname=ha-managed\r\n");
    const std::vector<std::string> values = CrLfLines(ReadFileBytes(kTestValuesFile));
    ASSERT_EQ(values.size(), static_cast<std::size_t>(row.valueLines));
    // Read from Wine's registry through both connections: the nodes' names, ELAN subnet, CLAN gateway.
    EXPECT_EQ(values[0], Utf8FromWide(ToLowerAscii(ComputerName())));
    EXPECT_EQ(values[1], Utf8FromWide(kPeerAlias));
    EXPECT_EQ(values[2], "10.2.2.0");
    EXPECT_EQ(values[16], row.answers.clanTestIp);
    EXPECT_EQ(values[static_cast<std::size_t>(row.valueLines) - 10], "10.1.1.254");
    EXPECT_EQ(values.back(), "C");
    EXPECT_EQ(ReadFileBytes(row.definition), DefinitionSummary(row.definitionName, row.valueLines));
    EXPECT_TRUE(Logged(window.log, std::wstring(L"Executing command ") + row.command +
                                       L" in directory D:\\Zandor\\HA\\ToolkitInstaller2.0"));
  }
}

TEST_F(Step3WindowTest, InstallerThatWritesNothing_IsReportedEvenWithAnEarlierDefinitionThere) {
  const std::wstring unableToOpen =
      L"Unable to open the generated definition file D:\\Zandor\\HA\\ToolkitInstaller2.0\\"
      L"Vestamail-Mirroring-Single.def. rc = 2";
  const std::wstring notGenerated =
      L"The installer did not generate the definition file D:\\Zandor\\HA\\ToolkitInstaller2.0\\"
      L"Vestamail-Mirroring-Single.def: the file there was left by an earlier run.";
  struct Case {
    const char* what;
    bool scriptThere;        // without install.pl the installer fails and writes nothing
    bool earlierDefinition;  // a definition left by an earlier run, with this run's content
    std::wstring caption;
    std::wstring text;
  };
  const Case cases[] = {
      {"no definition at all", false, false, kApplicationTitle, unableToOpen},
      {"only the earlier definition", false, true, kApplicationTitle, notGenerated},
      {"the earlier definition rewritten alike", true, true, L"Phase 2 Complete", kComplete},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    const TestDrives drives;
    ASSERT_EQ(drives.Problem(), "");
    ASSERT_EQ(LayOutInstallation(kDomain), "");
    WriteStageTwoDefaults({"1", "127.0.0.1"});
    if (!row.scriptThere) {
      ASSERT_TRUE(DeleteFileW(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\install.pl"));
    }
    const std::string earlier = DefinitionSummary("Vestamail-Mirroring-Single", 29);
    if (row.earlierDefinition) WriteEarlierFile(kSingleBoardDefinition, earlier);
    Win32Window window;
    WizardDriver driver;
    driver.Then([](HWND wizard) { Press(wizard, IDC_STEP3); }).Answer(IDYES).Answer(IDOK).Then(Close);

    EXPECT_EQ(window.RunUnder(driver), IDCANCEL);

    ExpectDriverDone(driver);
    ASSERT_EQ(driver.boxes.size(), 2u) << Describe(driver.boxes);
    EXPECT_EQ(driver.boxes[1].caption, row.caption);
    EXPECT_EQ(driver.boxes[1].text, row.text);
    EXPECT_EQ(FileExists(kSingleBoardDefinition), row.earlierDefinition);
    if (row.earlierDefinition) {
      EXPECT_EQ(ReadFileBytes(kSingleBoardDefinition), earlier);
    }
  }
}

TEST_F(Step3WindowTest, WaitForTheInstaller_KeepsTheWindowAnsweringAndDropsAClickAndAClose) {
  const TestDrives drives;
  ASSERT_EQ(drives.Problem(), "");
  ASSERT_EQ(LayOutInstallation(kDomain), "");
  WriteStageTwoDefaults({"3", "10.1.1.1"});
  const InstallerHold hold;
  ASSERT_TRUE(hold.IsValid());
  Win32Window window;
  HWND wizardWindow = nullptr;
  bool definitionWhileHeld = true;
  bool actedDuringWait = false;
  // Runs only when a loop dispatches the timer; the installer is held, so Step 3 is still waiting then.
  TestMessageWindow duringWait([&](UINT message) {
    if (message != WM_TIMER || actedDuringWait) return;
    // The readiness question's own loop dispatches the timer too: act only once the installer runs.
    const std::vector<std::wstring> logged = window.log.Messages();
    if (logged.empty() || logged.back().rfind(L"Executing command ", 0) != 0) return;
    actedDuringWait = true;
    definitionWhileHeld = FileExists(kThreeBoardDefinition);
    // Exit would ask whether to exit; a close would end the window once Step 3 is over.
    PostClick(wizardWindow, IDOK);
    PostMessageW(wizardWindow, WM_CLOSE, 0, 0);
    hold.Release();
  });
  bool openAfterStep3 = false;
  WizardDriver driver;
  driver
      .Then([&](HWND wizard) {
        wizardWindow = wizard;
        SetTimer(duringWait.get(), 1, 50, nullptr);
        Press(wizard, IDC_STEP3);
        KillTimer(duringWait.get(), 1);
      })
      .Answer(IDYES)
      .Answer(IDOK)
      .Then([&](HWND wizard) {
        openAfterStep3 = IsWindowVisible(wizard) != FALSE;
        Close(wizard);
      });

  EXPECT_EQ(window.RunUnder(driver), IDCANCEL);

  ExpectDriverDone(driver);
  EXPECT_EQ(Captions(driver.boxes), (std::vector<std::wstring>{L"Cluster Readiness", L"Phase 2 Complete"}))
      << Describe(driver.boxes);
  EXPECT_TRUE(actedDuringWait);
  EXPECT_FALSE(definitionWhileHeld);
  EXPECT_TRUE(openAfterStep3);
  EXPECT_EQ(ReadFileBytes(kThreeBoardDefinition), DefinitionSummary("Vestamail-Mirroring", 31));
}

TEST_F(Step3WindowTest, EndOfBusy_DropsInputAfterTheLastRepaint_AboutNeverOpensInside) {
  const TestDrives drives;
  ASSERT_EQ(drives.Problem(), "");
  // No saved answers: the window opens in stage 1, Step 1 enabled.
  Win32Window window;
  WizardDriver driver;
  driver
      .Then([&](HWND wizard) {
        WizardView& view = window.window;
        view.SetBusy(true);
        // After the step's last repaint: a click on Step 1, and the About command sent from another thread, which
        // the next loop to look at the queue hands on.
        PostClick(wizard, IDC_STEP1);
        std::thread([wizard] { SendNotifyMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }).join();
        view.SetBusy(false);
      })
      .Then([](HWND wizard) { Close(wizard); });

  EXPECT_EQ(window.RunUnder(driver), IDCANCEL);

  ExpectDriverDone(driver);
  // Neither a second Step 1 (its entry rules would have prompted) nor the About box.
  EXPECT_TRUE(driver.boxes.empty()) << Describe(driver.boxes);
  EXPECT_FALSE(Logged(window.log, L"Validating configuration information entered by the user."));
}

TEST_F(Step3WindowTest, RepaintWhileBusy_PaintsAndDispatchesButDropsInputAndKeepsAQuit) {
  const TestDrives drives;
  ASSERT_EQ(drives.Problem(), "");
  // No saved answers: the window opens in stage 1, with nothing gathered.
  Win32Window window;
  int pings = 0;
  TestMessageWindow ping([&](UINT message) { pings += message == WM_APP ? 1 : 0; });
  bool repainted = false;
  std::wstring userNameAfter = L"?";
  bool inputLeftQueued = true;
  bool quitKept = false;
  WizardDriver driver;
  driver
      .Then([&](HWND wizard) {
        // What the user does meanwhile, each as it would arrive.
        PostClick(wizard, IDOK);
        PostMessageW(GetDlgItem(wizard, IDC_RESET), BM_CLICK, 0, 0);
        PostMessageW(GetDlgItem(wizard, IDC_USER_NAME), WM_CHAR, L'x', 1);
        PostMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageW(wizard, WM_CLOSE, 0, 0);
        // And what is not the user's: a message of the program's own, and a region to repaint.
        PostMessageW(ping.get(), WM_APP, 0, 0);
        InvalidateRect(wizard, nullptr, TRUE);

        window.window.RepaintWhileBusy();

        RECT update{};
        repainted = GetUpdateRect(wizard, &update, FALSE) == FALSE;
        wchar_t text[64] = {};
        GetDlgItemTextW(wizard, IDC_USER_NAME, text, 64);
        userNameAfter = text;
        MSG left{};
        inputLeftQueued = PeekMessageW(&left, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) ||
                          PeekMessageW(&left, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) ||
                          PeekMessageW(&left, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);

        // A quit is left for the loop that owns it (taken back here, so that the window stays).
        PostQuitMessage(7);
        window.window.RepaintWhileBusy();
        MSG quit{};
        quitKept = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7;
      })
      .Then([](HWND wizard) {
        // The same click, taken by the window's own loop, does ask.
        PostClick(wizard, IDOK);
      })
      .Answer(IDYES);

  EXPECT_EQ(window.RunUnder(driver), IDOK);

  ExpectDriverDone(driver);
  EXPECT_EQ(Captions(driver.boxes), std::vector<std::wstring>{L"Confirm Exit Request"}) << Describe(driver.boxes);
  EXPECT_TRUE(repainted);
  EXPECT_EQ(pings, 1);
  EXPECT_EQ(userNameAfter, L"");
  EXPECT_FALSE(inputLeftQueued);
  EXPECT_TRUE(quitKept);
}
