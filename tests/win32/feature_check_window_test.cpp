// The opening feature check through the real dialog on Wine's registry: which box, and whether the window closes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "nodes/registry_paths.h"
#include "platform/win32/win32_platform.h"
#include "resource.h"
#include "support/recording_view.h"
#include "wine_fixtures.h"
#include "wizard/node_info_list.h"
#include "wizard/win32/win32_wizard_window.h"

namespace {
constexpr wchar_t kNotInstalledStart[] = L"The high availability feature is not currently installed on the server.";
constexpr wchar_t kNotEnabledStart[] =
    L"The high availability feature is installed on the server, but it is not enabled.";
// Only the company's key is ever removed, so that the test leaves the rest of the registry alone.
constexpr wchar_t kCompanyKey[] = L"Software\\Zandor";

// What the open wizard window shows, read from another thread through its controls.
struct OpenWindow {
  std::vector<std::wstring> boardItems;
  std::wstring node1HostName;
  int autoStartLimit = 0;
  int listColumns = 0;
  int listRows = 0;
  bool step1Enabled = false;
  bool step2Enabled = true;
  bool step3Enabled = true;
  bool cancelVisible = true;
  std::wstring lastSystemMenuItem;
  std::vector<std::wstring> clippedLabels;  // labels whose text the dialog font draws wider than the label
};

std::wstring ControlText(HWND control) {
  wchar_t buffer[512] = {};
  GetWindowTextW(control, buffer, 512);
  return buffer;
}

std::vector<std::wstring> ClippedLabels(HWND wizard) {
  std::vector<std::wstring> clipped;
  HDC dc = GetDC(wizard);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(wizard, WM_GETFONT, 0, 0)));
  for (HWND child = GetWindow(wizard, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) continue;
    const std::wstring text = ControlText(child);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT client{};
    GetClientRect(child, &client);
    if (extent.cx > client.right) clipped.push_back(text);
  }
  SelectObject(dc, previous);
  ReleaseDC(wizard, dc);
  return clipped;
}

OpenWindow Observe(HWND wizard) {
  OpenWindow seen;
  seen.clippedLabels = ClippedLabels(wizard);
  HWND combo = GetDlgItem(wizard, IDC_BOARD_COUNT);
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t item[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    seen.boardItems.push_back(item);
  }
  seen.node1HostName = ControlText(GetDlgItem(wizard, IDC_NODE1_HOST_NAME));
  seen.autoStartLimit = static_cast<int>(SendDlgItemMessageW(wizard, IDC_AUTOSTART_DOMAIN, EM_GETLIMITTEXT, 0, 0));
  HWND list = GetDlgItem(wizard, IDC_NODE_INFO_LIST);
  seen.listColumns = static_cast<int>(SendMessageW(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0));
  seen.listRows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  seen.step1Enabled = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP1));
  seen.step2Enabled = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP2));
  seen.step3Enabled = IsWindowEnabled(GetDlgItem(wizard, IDC_STEP3));
  seen.cancelVisible = IsWindowVisible(GetDlgItem(wizard, IDCANCEL));
  HMENU menu = GetSystemMenu(wizard, FALSE);
  wchar_t item[128] = {};
  GetMenuStringW(menu, IDM_ABOUTBOX, item, 128, MF_BYCOMMAND);
  seen.lastSystemMenuItem = item;
  return seen;
}

struct ModalRun {
  INT_PTR result = 0;
  std::vector<SeenBox> boxes;
  bool closedByWatcher = false;
  bool timedOut = false;
  std::optional<OpenWindow> openWindow;
  std::vector<std::wstring> log;
};

// Runs the real wizard window modally on this thread, against the real registry, with a watcher answering it.
ModalRun RunWizardWindow() {
  Win32Backend system;
  Platform platform = system.MakePlatform();
  RecordingLog log;
  Win32WizardWindow window(GetModuleHandleW(nullptr), platform, log);

  ModalRun run;
  DialogWatcher watcher(GetCurrentThreadId(), [&run](HWND wizard) {
    run.openWindow = Observe(wizard);
    PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
  });
  run.result = window.RunModal(nullptr);
  watcher.Finish();
  run.boxes = watcher.Boxes();
  run.closedByWatcher = watcher.HandledWizard();
  run.timedOut = watcher.TimedOut();
  run.log = log.Messages();
  return run;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.rfind(start, 0) == 0; }

class FeatureCheckWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    DeleteMachineKeyTree(kCompanyKey);
  }
  void TearDown() override {
    DeleteMachineKeyTree(kCompanyKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kCompanyKey);
  }
};
}  // namespace

TEST_F(FeatureCheckWindowTest, HighAvailMode_DecidesBoxAndWhetherWindowStays) {
  std::wstring productKey = kProductKey;
  enum class Setup { NoKey, NoValue, Mode0, Mode1, Mode2 };
  struct Case {
    const char* what;
    Setup setup;
    const wchar_t* boxStart;  // null: no box
    bool closesItself;
    const wchar_t* logLine;
  };
  const Case cases[] = {
      {"key missing", Setup::NoKey, nullptr, false,
       L"RegOpenKeyEx(Software\\Zandor\\Vestamail\\ConfigWizard) failed. rc = 2"},
      {"value absent", Setup::NoValue, kNotInstalledStart, true,
       L"The high availability feature is not currently installed on the server"},
      {"mode 0", Setup::Mode0, kNotEnabledStart, true, L"High availability feature installed but not enabled."},
      {"mode 1", Setup::Mode1, nullptr, false, L"High availability feature installed and enabled."},
      {"mode 2", Setup::Mode2, nullptr, false, nullptr},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    DeleteMachineKeyTree(kCompanyKey);
    std::optional<ScopedMachineKey> product;
    if (row.setup != Setup::NoKey) product.emplace(productKey);
    if (row.setup == Setup::Mode0) product->SetDword(L"", kHighAvailModeValue, 0);
    if (row.setup == Setup::Mode1) product->SetDword(L"", kHighAvailModeValue, 1);
    if (row.setup == Setup::Mode2) product->SetDword(L"", kHighAvailModeValue, 2);

    const ModalRun run = RunWizardWindow();

    ASSERT_FALSE(run.timedOut);
    if (row.boxStart == nullptr) {
      EXPECT_TRUE(run.boxes.empty());
    } else {
      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_TRUE(StartsWith(run.boxes[0].text, row.boxStart)) << "box text: " << Utf8FromWide(run.boxes[0].text);
      EXPECT_EQ(run.boxes[0].caption, ApplicationTitle());
    }
    EXPECT_EQ(run.result, row.closesItself ? IDOK : IDCANCEL);
    EXPECT_EQ(run.closedByWatcher, !row.closesItself);
    if (row.logLine != nullptr) {
      EXPECT_NE(std::find(run.log.begin(), run.log.end(), row.logLine), run.log.end());
    }
  }
}

TEST_F(FeatureCheckWindowTest, OpenWindow_ShowsTemplateItemsAndFirstStage) {
  ScopedMachineKey product(kProductKey);
  product.SetDword(L"", kHighAvailModeValue, 1);

  const ModalRun run = RunWizardWindow();

  ASSERT_TRUE(run.openWindow.has_value());
  const OpenWindow& seen = *run.openWindow;
  EXPECT_EQ(seen.boardItems, (std::vector<std::wstring>{L"1", L"3"}));
  EXPECT_EQ(seen.node1HostName, ToLowerAscii(ComputerName()));
  EXPECT_EQ(seen.autoStartLimit, 8);
  EXPECT_EQ(seen.listColumns, 3);
  EXPECT_EQ(seen.listRows, kNodeInfoBaseRows);
  EXPECT_TRUE(seen.step1Enabled);
  EXPECT_FALSE(seen.step2Enabled);
  EXPECT_FALSE(seen.step3Enabled);
  EXPECT_FALSE(seen.cancelVisible);
  EXPECT_EQ(seen.lastSystemMenuItem, L"&About DuplexSetupAssistant...");
  EXPECT_TRUE(seen.clippedLabels.empty())
      << "first clipped label: " << (seen.clippedLabels.empty() ? "" : Utf8FromWide(seen.clippedLabels[0]));
}
