// capture of Wine's real registry and service manager, then the lab edition's Step 1 on the captured folder:
// the same install-log lines and list as the Windows program's Step 1 on the live registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/run_command_line.h"
#include "common/text_case.h"
#include "installer_fixtures.h"
#include "peer_registry.h"
#include "platform/lab/lab.h"
#include "platform/win32/win32_platform.h"
#include "resource.h"
#include "support/recording_view.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"
#include "wine_pair.h"
#include "wizard/wizard_dialog.h"

namespace {
constexpr wchar_t kDomain[] = L"rt1";
constexpr wchar_t kDefaultsFile[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";

// Multi-strings (two CLAN addresses), GUIDs in mixed letter case, a 126-character CLAN domain (the longest
// the wizard's 255-byte buffer takes) and, from AddWineServer, empty values and adapters it passes over.
const std::vector<WinePairConnection> kNode1 = WinePairConnections(6, 11);
const std::vector<WinePairConnection> kNode2 = WinePairConnections(7, 12);

RegFileText SiteRegistry() {
  const std::wstring longDomain = std::wstring(113, L'd') + L".example.com";  // 126 characters
  return WinePairRegistry(kNode1, kNode2, longDomain);
}

// The site: its keys, the agent and transport services running, the backbone service stopped and the
// mirror service absent. Made once for the suite.
struct SiteState {
  ScopedRegImport registry{WinePairOwnedKeys(kNode1), SiteRegistry()};
  ScopedTestService agent{kDomain, true};
  ScopedTestService backbone{std::wstring(kDomain) + L"_BACKBONE", false};
  ScopedTestService transport{L"EMC AutoStart Transport Service", true};
};

struct StepOneSeen {
  Status status = ~0u;
  std::vector<LoggedLine> log;
  std::vector<std::vector<std::wstring>> rows;
  std::vector<std::wstring> boxes;
};

// Step 1 as the window runs it, with the entries a user types for the site.
StepOneSeen RunStepOne(Platform& platform) {
  RecordingView view;
  RecordingLog log;
  RecordingOwnerlessBox box;
  WizardDialog dialog(platform, log, view, box);
  dialog.OnInitDialog();
  log.lines.clear();
  view.entries[IDC_MANAGED_HOST_NAME] = L"ha-managed";
  view.entries[IDC_MANAGED_CLAN_IP] = L"10.1.1.5";
  view.entries[IDC_MANAGED_ELAN_IP] = L"10.2.2.5";
  view.entries[IDC_NODE1_HOST_NAME] = ToLowerAscii(ComputerName());
  view.entries[IDC_NODE2_HOST_NAME] = kPeerName;
  view.entries[IDC_USER_NAME] = L"admin";
  view.entries[IDC_WORKGROUP_DOMAIN_NAME] = L"workgroup";
  view.boardSelection = 1;
  view.entries[IDC_AUTOSTART_DOMAIN] = kDomain;
  view.entries[IDC_CLAN_TEST_IP] = L"127.0.0.1";
  StepOneSeen seen;
  seen.status = dialog.CollectNodeInformation();
  seen.log = log.lines;
  seen.rows = view.rows;
  seen.boxes = box.texts;
  for (const ShownBox& shown : view.boxes) seen.boxes.push_back(shown.text);
  return seen;
}

class CaptureRoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { site_ = std::make_unique<SiteState>(); }
  static void TearDownTestSuite() { site_.reset(); }
  void SetUp() override {
    ASSERT_EQ(site_->registry.Problem(), "");
    ASSERT_EQ(site_->agent.Problem(), "");
    ASSERT_EQ(site_->backbone.Problem(), "");
    ASSERT_EQ(site_->transport.Problem(), "");
    ASSERT_EQ(drives_.Problem(), "");
  }
  static inline std::unique_ptr<SiteState> site_;
  TestDrives drives_;
};
}  // namespace

TEST_F(CaptureRoundTrip, LabStepOneOnTheCaptureMatchesTheLiveRegistry) {
  // The answers of a finished stage 1 name the domain whose services are captured.
  const std::wstring computer = ToLowerAscii(ComputerName());
  const std::string answers = "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\n" +
                              std::string(computer.begin(), computer.end()) +
                              "\r\nduplex-peer\r\nadmin\r\nworkgroup\r\n3\r\nrt1\r\n127.0.0.1\r\n";
  ASSERT_TRUE(CreateDirectoryW(L"D:\\Zandor", nullptr));
  ASSERT_TRUE(CreateDirectoryW(L"D:\\Zandor\\HA", nullptr));
  ASSERT_TRUE(CreateDirectoryW(L"D:\\Zandor\\HA\\ToolkitInstaller2.0", nullptr));
  WriteFileBytes(kDefaultsFile, answers);

  Win32Backend backend;
  PeerRegistry registry(backend.registry);
  Platform live{registry, backend.services, backend.files, backend.machine, backend.processes, backend.network};
  const StepOneSeen onLive = RunStepOne(live);
  ASSERT_EQ(onLive.status, 0u) << (onLive.log.empty() ? std::string()
                                                      : std::string(onLive.log.back().message.begin(),
                                                                    onLive.log.back().message.end()));

  // The capture, as `DuplexSetupAssistant capture FOLDER nodes NODE1,duplex-peer` runs it.
  TempFolder folder;
  const std::wstring site = folder.File(L"site");
  std::ostringstream out;
  std::ostringstream err;
  StreamConsole console(out, err, false);
  RecordingLog captureLog;
  CliContext context;
  context.platform = &live;
  context.log = &captureLog;
  context.console = &console;
  ASSERT_EQ(RunCommandLine({L"capture", site, L"nodes", computer + L"," + kPeerName}, context), exitcode::Clean)
      << err.str();

  std::string error;
  std::unique_ptr<Lab> lab = Lab::Load(site, &error);
  ASSERT_NE(lab, nullptr) << error;
  Platform captured = lab->MakePlatform();
  const StepOneSeen onCapture = RunStepOne(captured);

  EXPECT_EQ(onCapture.status, onLive.status);
  EXPECT_EQ(onCapture.log, onLive.log);
  EXPECT_EQ(onCapture.rows, onLive.rows);
  EXPECT_EQ(onCapture.boxes, onLive.boxes);
  // What the site was chosen to show is there, on both sides alike.
  const auto logged = [&](const std::wstring& message) {
    for (const LoggedLine& line : onLive.log) {
      if (line.message == message) return true;
    }
    return false;
  };
  EXPECT_TRUE(logged(L"\trt1_BACKBONE service status = Not started"));
  EXPECT_TRUE(logged(L"\tEMC AutoStart Mirror Service service status = Not installed"));
  EXPECT_TRUE(logged(L"\tCLAN Domain = " + std::wstring(113, L'd') + L".example.com"));
}
