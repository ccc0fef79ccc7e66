// capture: a lab read through the seam and written as a lab folder; the folder, loaded, is read as the original.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "common/text_encoding.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"
#include "wizard/wizard_dialog.h"

namespace fs = std::filesystem;

namespace {
constexpr char kStage1Answers[] =
    "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

// Step 1 as the window runs it on a lab folder: what it logged, listed and showed.
struct StepOneSeen {
  std::vector<LoggedLine> log;
  std::vector<std::vector<std::wstring>> rows;
  std::vector<std::wstring> boxes;
  Status status = 0;
};

StepOneSeen RunStepOne(const fs::path& folder) {
  std::string error;
  std::unique_ptr<Lab> lab = Lab::Load(folder, &error);
  EXPECT_NE(lab, nullptr) << error;
  StepOneSeen seen;
  if (lab == nullptr) return seen;
  Platform platform = lab->MakePlatform();
  RecordingView view;
  RecordingLog log;
  RecordingOwnerlessBox box;
  WizardDialog dialog(platform, log, view, box);
  dialog.OnInitDialog();
  TypeClusterEntries(view);
  seen.status = dialog.CollectNodeInformation();
  seen.log = log.lines;
  seen.rows = view.rows;
  seen.boxes = box.texts;
  for (const ShownBox& shown : view.boxes) seen.boxes.push_back(shown.text);
  return seen;
}

// A folder of the test's own, removed at the end; tests run in processes of their own at the same time.
struct CaptureFolder {
  CaptureFolder()
      : path(fs::temp_directory_path() /
             ("duplex-capture-" + std::to_string(std::random_device()()) + "-" + std::to_string(counter++))) {
    fs::remove_all(path);
  }
  ~CaptureFolder() {
    std::error_code error;
    fs::remove_all(path, error);
  }
  static inline int counter = 0;
  fs::path path;
};

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(Capture, CapturedLabGathersAsTheOriginal) {
  struct Case {
    const char* what;
    std::function<void(TempLab&)> site;
  };
  const Case cases[] = {
      {"a healthy pair with the quirks of a real site",
       [](TempLab& lab) {
         lab.AddRegFile(L"node-b", "registry/zz-site.reg",
                        // An extra adapter with a lower-case GUID, one whose name is empty, one without a
                        // Connection key; a 126-character CLAN domain and an empty gateway list.
                        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\"
                        L"{4D36E972-E325-11CE-BFC1-08002BE10318}\\{a1b2c3d4-0000-4000-8000-00000000000a}\\Connection]\n"
                        L"\"Name\"=\"Local Area Connection 9\"\n"
                        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\"
                        L"{4D36E972-E325-11CE-BFC1-08002BE10318}\\{B0000000-0000-4000-8000-00000000000B}\\Connection]\n"
                        L"\"Name\"=\"\"\n"
                        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\"
                        L"{4D36E972-E325-11CE-BFC1-08002BE10318}\\Descriptions]\n"
                        L"\"Intel\"=\"1\"\n"
                        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
                            AdapterGuid(20) + L"]\n\"Domain\"=\"" + std::wstring(126, L'd') + L"\"\n" +
                            L"\"DefaultGateway\"=hex(7):00,00\n");
         // The mirror service stopped, the transport service absent, the backbone service hung.
         lab.WriteServerFile(L"node-b", "services.txt",
                             "SERVICE_NAME: ha1\r\nSTATE : 4 RUNNING\r\n\r\n"
                             "SERVICE_NAME: ha1_BACKBONE\r\nSTATE : 4 RUNNING\r\n\r\n"
                             "SERVICE_NAME: EMC AutoStart Mirror Service\r\nSTATE : 1 STOPPED\r\n");
         lab.WriteServerFile(L"node-b", "faults.conf", "service-timeout = ha1_BACKBONE\n");
       }},
      {"node 2 refuses an adapter's key",
       [](TempLab& lab) {
         lab.WriteServerFile(L"node-b", "faults.conf",
                             "deny-key = SYSTEM\\CurrentControlSet\\Control\\Network\\"
                             "{4D36E972-E325-11CE-BFC1-08002BE10318}\\" +
                                 Utf8FromWide(AdapterGuid(21)) +
                                 "\\Connection\n"
                                 "service-busy = ha1\n");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    c.site(cluster.temp);
    cluster.temp.WriteDriveFile(kDefaultsPath, kStage1Answers);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    CaptureFolder capture;

    const CliRun run = RunCli(*lab, {L"capture", capture.path.wstring()});
    ASSERT_EQ(run.exitCode, exitcode::Clean);
    EXPECT_EQ(lab->OpenHandleCount(), 0u);
    EXPECT_EQ(ReadFile(capture.path / "drives" / "D" / "Zandor" / "HA" / "ToolkitInstaller2.0" / "HADefaults.dat"),
              kStage1Answers);

    const StepOneSeen original = RunStepOne(cluster.temp.Folder());
    const StepOneSeen captured = RunStepOne(capture.path);
    EXPECT_EQ(captured.status, original.status);
    EXPECT_EQ(captured.log, original.log);
    EXPECT_EQ(captured.rows, original.rows);
    EXPECT_EQ(captured.boxes, original.boxes);
    EXPECT_FALSE(original.log.empty());
  }
}

TEST(Capture, ExitCodesSayWhatWasWritten) {
  struct Case {
    const char* what;
    std::function<void(TempLab&, const fs::path&)> prepare;
    std::vector<std::wstring> nodes;
    int exitCode;
    std::vector<std::string> serverFolders;  // the servers/ folders written
  };
  const Case cases[] = {
      {"both servers", [](TempLab&, const fs::path&) {}, {}, exitcode::Clean, {"node-a", "node-b"}},
      {"the servers named", [](TempLab&, const fs::path&) {}, {L"node-b"}, exitcode::Clean, {"node-b"}},
      {"node 2 unreachable",
       [](TempLab& lab, const fs::path&) { lab.WriteServerFile(L"node-b", "faults.conf", "unreachable = yes\n"); },
       {},
       exitcode::NotGathered,
       {"node-a"}},
      {"a server the lab does not have",
       [](TempLab&, const fs::path&) {},
       {L"node-a", L"node-x"},
       exitcode::NotGathered,
       {"node-a"}},
      {"the folder is not empty",
       [](TempLab&, const fs::path& folder) {
         fs::create_directories(folder);
         std::ofstream(folder / "notes.txt") << "mine";
       },
       {},
       exitcode::Usage,
       {}},
      {"the folder cannot be made",
       [](TempLab&, const fs::path& folder) {
         fs::create_directories(folder.parent_path());
         std::ofstream(folder.parent_path() / "blocker") << "a file where a folder must go";
       },
       {},
       exitcode::FileNotWritten,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, kStage1Answers);
    CaptureFolder capture;
    fs::path target = capture.path / "site";
    if (c.exitCode == exitcode::FileNotWritten) target = capture.path / "blocker" / "site";
    c.prepare(cluster.temp, c.exitCode == exitcode::FileNotWritten ? capture.path / "blocker" : target);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    std::vector<std::wstring> words = {L"capture", target.wstring()};
    if (!c.nodes.empty()) {
      std::wstring list;
      for (const std::wstring& node : c.nodes) list += (list.empty() ? L"" : L",") + node;
      words.insert(words.end(), {L"nodes", list});
    }
    const CliRun run = RunCli(*lab, words);
    EXPECT_EQ(run.exitCode, c.exitCode);
    std::vector<std::string> written;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target / "servers", error)) {
      written.push_back(entry.path().filename().string());
    }
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, c.serverFolders);
    if (c.exitCode == exitcode::Clean || c.exitCode == exitcode::NotGathered) {
      EXPECT_TRUE(fs::exists(target / "lab.conf"));
      EXPECT_NE(ReadFile(target / "README.txt").find("2026-12-08 14:30:05"), std::string::npos);
    }
  }
}
