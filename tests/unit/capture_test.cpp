// capture: a lab read through the seam and written as a lab folder; the folder, loaded, is read as the original.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "common/path_text.h"
#include "platform/lab/lab_registry.h"
#include "common/text_encoding.h"
#include "support/capture_scratch.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"
#include "wizard/wizard_dialog.h"

namespace fs = std::filesystem;

namespace {
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

// The servers/ folders of the capture in `folder`, a space between their names.
std::string ServerFolders(const fs::path& folder) {
  std::string names;
  for (const fs::path& entry : EntriesOf(folder / "servers")) {
    if (!names.empty()) names += ' ';
    names += entry.filename().string();
  }
  return names;
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
    cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    CaptureScratch capture;

    const CliRun run = RunCli(*lab, {L"capture", capture.path.wstring()});
    ASSERT_EQ(run.exitCode, exitcode::Clean);
    EXPECT_EQ(lab->OpenHandleCount(), 0u);
    EXPECT_EQ(
        ReadWholeHostFile(capture.path / "drives" / "D" / "Zandor" / "HA" / "ToolkitInstaller2.0" / "HADefaults.dat"),
        kClusterAnswers);

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
    std::function<void(TempLab&, const fs::path& folder)> prepare;  // none: the pair as it is
    std::wstring nodes;                                             // as named after "nodes"; none: every one
    int exitCode;
    const char* serverFolders;  // the servers/ folders written, a space between them
  };
  const Case cases[] = {
      {"both servers", nullptr, L"", exitcode::Clean, "node-a node-b"},
      {"the servers named", nullptr, L"node-b", exitcode::Clean, "node-b"},
      {"node 2 unreachable",
       [](TempLab& lab, const fs::path&) { lab.WriteServerFile(L"node-b", "faults.conf", "unreachable = yes\n"); }, L"",
       exitcode::NotGathered, "node-a"},
      {"a server the lab does not have", nullptr, L"node-a,node-x", exitcode::NotGathered, "node-a"},
      {"the folder is not empty",
       [](TempLab&, const fs::path& folder) {
         fs::create_directories(folder);
         std::ofstream(folder / "notes.txt") << "mine";
       },
       L"", exitcode::Usage, ""},
      {"the folder cannot be made",
       [](TempLab&, const fs::path& folder) {
         fs::create_directories(folder.parent_path());
         std::ofstream(folder.parent_path() / "blocker") << "a file where a folder must go";
       },
       L"", exitcode::FileNotWritten, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
    CaptureScratch capture;
    fs::path target = capture.path / "site";
    if (c.exitCode == exitcode::FileNotWritten) target = capture.path / "blocker" / "site";
    if (c.prepare) c.prepare(cluster.temp, c.exitCode == exitcode::FileNotWritten ? capture.path / "blocker" : target);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    std::vector<std::wstring> words = {L"capture", target.wstring()};
    if (!c.nodes.empty()) words.insert(words.end(), {L"nodes", c.nodes});
    const CliRun run = RunCli(*lab, words);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(ServerFolders(target), c.serverFolders);
    if (c.exitCode == exitcode::Clean || c.exitCode == exitcode::NotGathered) {
      EXPECT_TRUE(fs::exists(target / "lab.conf"));
      EXPECT_NE(ReadWholeHostFile(target / "README.txt").find("2026-12-08 14:30:05"), std::string::npos);
    }
  }
}

// A capture travels from a site to a support desk: nothing in it, nor in the answers and names it
// was made from, reaches a path outside its folder, breaks its files, or ends the program.
TEST(Capture, UntrustedNamesNeverReachAPathNorAbort) {
  std::wstring tooMany = L"node-a";
  for (int i = 0; i < 64; ++i) tooMany += L",node-" + std::to_wstring(i);
  struct Case {
    const char* what;
    std::string answers;                       // the defaults file
    std::function<void(TempLab&, Lab&)> site;  // none: the pair as it is
    const wchar_t* folderName;                 // below the test's folder
    std::wstring nodes;
    int exitCode;
    std::string printed;        // a line of standard output or error
    const char* serverFolders;  // the servers/ folders written, a space between them
  };
  const Case cases[] = {
      {"an AutoStart domain that climbs out of the drives", ClusterAnswers("0", 9, "..\\..\\..\\..\\escaped"),
       [](TempLab& temp, Lab&) {
         fs::create_directories(temp.Folder() / "escaped");
         std::ofstream(temp.Folder() / "escaped" / "manifest") << "outside the drives";
       },
       L"site", L"", exitcode::Clean, "", "node-a node-b"},
      {"a node name that climbs out of servers/", kClusterAnswers, nullptr, L"site", L"node-a,../../escaped",
       exitcode::Usage, "\"../../escaped\" is not a host name a capture can keep as a folder.", ""},
      {"more servers than a site has", kClusterAnswers, nullptr, L"site", tooMany, exitcode::Usage,
       "capture reads at most 64 servers; 65 were named.", ""},
      {"a folder named beyond ASCII", kClusterAnswers, nullptr, L"Z\u00fcrich", L"", exitcode::Clean, "",
       "node-a node-b"},
      {"a server named beyond ASCII", kClusterAnswers, nullptr, L"site", L"node-a,n\u00f6de-x", exitcode::NotGathered,
       "The server n\u00f6de-x could not be read. rc = 53", "node-a"},
      {"a key name with a line break", kClusterAnswers,
       [](TempLab&, Lab& lab) {
         lab.Registry().ServerRoot(L"node-b").CreatePath(
             L"SOFTWARE\\Zandor\\Vestamail\\ConfigWizard\\Evil]\r\n"
             L"\"Switch IP Address\"=\"6.6.6.6\"\r\n[x");
       },
       L"site", L"", exitcode::NotGathered,
       "The key Software\\Zandor\\Vestamail\\ConfigWizard has a subkey whose name holds a line break", "node-a"},
      {"a value name with a line break", kClusterAnswers,
       [](TempLab&, Lab& lab) {
         lab.Registry()
             .ServerRoot(L"node-b")
             .FindPath(L"SOFTWARE\\Zandor\\Vestamail\\ConfigWizard")
             ->SetValue({L"Evil\n\"Switch IP Address\"", 1, {0, 0}});
       },
       L"site", L"", exitcode::NotGathered,
       "The key Software\\Zandor\\Vestamail\\ConfigWizard has a value whose name holds a line break", "node-a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, c.answers);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    if (c.site) c.site(cluster.temp, *lab);
    CaptureScratch capture;
    const fs::path target = capture.path / PathFromWide(c.folderName);
    std::vector<std::wstring> words = {L"capture", WideFromPath(target)};
    if (!c.nodes.empty()) words.insert(words.end(), {L"nodes", c.nodes});
    const CliRun run = RunCli(*lab, words);
    EXPECT_EQ(run.exitCode, c.exitCode);
    if (!c.printed.empty()) {
      EXPECT_TRUE(Printed(run, Utf8FromWide(WideFromUtf8(c.printed)))) << c.printed;
    }
    EXPECT_EQ(ServerFolders(target), c.serverFolders);
    // Nothing but the capture's own folder, whatever the names held.
    EXPECT_EQ(EntriesOf(capture.path),
              c.exitCode == exitcode::Usage ? std::vector<fs::path>{} : std::vector<fs::path>{target});
    for (const fs::path& entry : EntriesOf(target, true)) {
      EXPECT_EQ(entry.filename().string().find("escaped"), std::string::npos) << entry;
      if (fs::is_regular_file(entry)) {
        EXPECT_EQ(ReadWholeHostFile(entry).find("6.6.6.6"), std::string::npos) << entry;
      }
    }
  }
}

// A capture holds the drives and folders the wizard reads and writes: check saves its report in
// it, and generate reaches the end of Step 3 on it, the lab playing the product's installer.
TEST(Capture, ACaptureIsACompleteLab) {
  ClusterLab cluster;
  cluster.temp.WriteDriveFile(kDefaultsPath, ClusterAnswers("1"));
  cluster.temp.WriteDriveFile(L"D:\\Program Files\\EMC AutoStart\\ha1\\manifest", "installed\r\n");
  std::unique_ptr<Lab> site = cluster.temp.Load();
  ASSERT_NE(site, nullptr);
  CaptureScratch capture;
  const fs::path target = capture.path / "site-capture";
  ASSERT_EQ(RunCli(*site, {L"capture", WideFromPath(target)}).exitCode, exitcode::Clean);

  std::string error;
  std::unique_ptr<Lab> rehearsal = Lab::Load(target, &error);
  ASSERT_NE(rehearsal, nullptr) << error;
  EXPECT_EQ(RunCli(*rehearsal, {L"check"}).exitCode, exitcode::Clean);
  std::error_code ignored;
  EXPECT_FALSE(fs::is_empty(target / "drives/C/ProgramData/Zandor/Reports", ignored)) << "the report was saved";
  const CliRun generate = RunCli(*rehearsal, {L"generate"});
  EXPECT_EQ(generate.exitCode, exitcode::Clean);
  EXPECT_NE(std::find(generate.out.begin(), generate.out.end(), "Phase 2 Complete"), generate.out.end());
  EXPECT_TRUE(fs::exists(target / "drives/E/Zandor/HA/AutoStart_Configuration.ini"));
  EXPECT_TRUE(fs::exists(target / "drives/D/Zandor/HA/ToolkitInstaller2.0/Vestamail-Mirroring.def"));
}
