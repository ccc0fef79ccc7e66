// generate on a lab: Step 3 without a window, each way it ends as its own exit code, and a FAIL finding
// that stops it unless it runs with force.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "platform/lab/lab_processes.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kDefinition[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring.def";
constexpr wchar_t kValues[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat";
constexpr wchar_t kManifest[] = L"D:\\Program Files\\EMC AutoStart\\ha1\\manifest";

// The cluster pair after stage 1, with the product installed for ha1 (its manifest: the lab plays its
// installer itself).
void InstallProduct(TempLab& lab) {
  lab.WriteDriveFile(kDefaultsPath, ClusterAnswers("1"));
  lab.WriteDriveFile(L"E:\\Zandor\\HA\\README.txt", "the INI file's folder\r\n");
  lab.WriteDriveFile(kManifest, "installed\r\n");
}

void CrossHeartbeats(TempLab& lab) {
  // node-b's HB1 and HB2 swapped: a FAIL finding (R07).
  lab.AddRegFile(L"node-b", "registry/zz-site.reg",
                 L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
                     AdapterGuid(22) + L"]\n" + MultiStringValue(L"IPAddress", {L"10.4.4.2"}) +
                     L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
                     AdapterGuid(23) + L"]\n" + MultiStringValue(L"IPAddress", {L"10.3.3.2"}));
}

}  // namespace

TEST(GenerateCommand, EachEndOfStep3HasItsExitCode) {
  struct Case {
    const char* what;
    SiteChange site;       // none: the pair as it is
    std::wstring options;  // after the command, a space between words
    int exitCode;
    std::string printed;
    bool valuesWritten;
    bool definitionWritten;
  };
  const Case cases[] = {
      {"the definition file confirmed", nullptr, L"", exitcode::Clean, "Phase 2 Complete", true, true},
      {"a FAIL finding stops it", CrossHeartbeats, L"", exitcode::Fail, "Answered No.", false, false},
      {"force goes on past the FAIL finding", CrossHeartbeats, L"--force", exitcode::Clean, "Answered Yes (force).",
       true, true},
      {"a Step 2 validation error: a service of node 2 stopped",
       [](TempLab& lab) { lab.WriteServerFile(L"node-b", "services.txt", ClusterServiceList(L"ha1", 1)); }, L"",
       exitcode::Fail, "At least one of the EMC services on server node-b is not running.", false, false},
      {"an entry rule", AnswersWith("1", 10, ""), L"", exitcode::NotGathered,
       "You must specify a CLAN test IP address.", false, false},
      {"an answers file that is not there", nullptr, L"/answers /nonexistent/answers.dat", exitcode::Usage,
       "cannot be read", false, false},
      {"an AutoStart domain longer than its entry takes", AnswersWith("1", 9, "ha123456789"), L"",
       exitcode::NotGathered, "EMC AutoStart Domain Name: Please enter no more than 8 characters.", false, false},
      {"the answers of stage 1: a file of answers whose first line is 1 does too", AnswersWith("1", 0, "0"), L"",
       exitcode::NotStage2, "or name a file of answers whose first line is 1: generate answers FILE.", false, false},
      {"the definition confirmed, the report not saved",
       [](TempLab& lab) { fs::remove_all(lab.Folder() / "drives" / "C"); }, L"", exitcode::ReportNotSaved,
       "The readiness report could not be saved: Unable to save the cluster readiness report in C:\\ProgramData.", true,
       true},
      {"the product not installed for the domain", [](TempLab& lab) { fs::remove(lab.DriveHostPath(kManifest)); }, L"",
       exitcode::ProductMissing, "Based on the AutoStart domain name ha1", false, false},
      {"a full disk E:", LabConfLine("disk-full = E"), L"", exitcode::FileNotWritten,
       // The box names the file where the lab keeps it, too.
       "Unable to write the file E:\\Zandor\\HA\\AutoStart_Configuration.ini (in the lab: ", false, false},
      {"the installer cannot be started", LabConfLine("start-error = 2"), L"", exitcode::InstallerNotRun,
       "Unable to execute cmd /c", true, false},
      {"the installer still running after five minutes", LabConfLine("process-delay-ms = 600000"), L"",
       exitcode::NotConfirmed,
       // The wizard has given up on it by the lab's clock; the lab's installer wrote its file at its start.
       "The installer is still running after 5 minutes", true, true},
      {"the installer ends without writing its definition", LabConfLine("installer-definition = no"), L"",
       exitcode::NotConfirmed,
       "Unable to open the generated definition file D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring.def (in "
       "the "
       "lab: ",
       true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    InstallProduct(cluster.temp);
    if (c.site) c.site(cluster.temp);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);

    const CliRun run = RunCli(*lab, Words(L"generate " + c.options));
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(Printed(run, c.printed)) << c.printed;
    EXPECT_EQ(cluster.temp.DriveFileExists(kValues), c.valuesWritten);
    EXPECT_EQ(cluster.temp.DriveFileExists(kDefinition), c.definitionWritten);
    if (c.exitCode != exitcode::Usage) {
      ASSERT_FALSE(run.out.empty());
      EXPECT_NE(run.out.back().find("Exit code " + std::to_string(c.exitCode) + "."), std::string::npos);
    }
  }
}
