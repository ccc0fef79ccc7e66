#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_registry.h"
#include "platform/lab/lab_services.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kKey[] = L"Software\\Zandor\\Vestamail\\ConfigWizard";

std::wstring Chars(std::size_t count) { return std::wstring(count, L'x'); }

std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

TEST(LabRegistry, ConnectsByNameIgnoringCaseAndFailsUnknownHostsWith53) {
  TempLab temp;
  temp.SetHighAvailMode(L"node-b", 1);
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  RegHandle handle = 0;
  EXPECT_EQ(registry.ConnectRegistry(L"\\\\NODE-B", &handle), 0u);
  EXPECT_EQ(registry.CloseKey(handle), 0u);
  EXPECT_EQ(registry.ConnectRegistry(L"\\\\node-a", &handle), 0u) << "the local computer is a server too";
  EXPECT_EQ(registry.CloseKey(handle), 0u);
  EXPECT_EQ(registry.ConnectRegistry(L"\\\\node-c", &handle), 53u);
  EXPECT_EQ(registry.ConnectRegistry(L"\\\\", &handle), 53u);
  EXPECT_EQ(registry.CloseKey(handle), 6u) << "a handle is closed once";
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(LabRegistry, ReadsValuesWithTheLimitsOfTheRealCalls) {
  TempLab temp;
  temp.AddRegFile(L"NODE-A", "values.reg",
                  L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n"
                  L"\"Short\"=\"" +
                      Chars(126) +
                      L"\"\n"
                      L"\"Long\"=\"" +
                      Chars(127) +
                      L"\"\n"
                      L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard\\" +
                      Chars(254) +
                      L"]\n"
                      L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard\\" +
                      Chars(255) + L"]\n");
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  {
    RegKey key(registry);
    ASSERT_EQ(registry.OpenKey(registry.LocalMachine(), kKey, key.Receive()), 0u);
    std::uint8_t buffer[255];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(registry.QueryValue(key.get(), L"Short", buffer, &size), 0u);
    EXPECT_EQ(size, 254u) << "126 characters and the terminator fit 255 bytes";
    size = sizeof buffer;
    EXPECT_EQ(registry.QueryValue(key.get(), L"Long", buffer, &size), 234u);
    size = sizeof buffer;
    EXPECT_EQ(registry.QueryValue(key.get(), L"Absent", buffer, &size), 2u);

    std::wstring name;
    EXPECT_EQ(registry.EnumKey(key.get(), 0, 255, &name), 0u);
    EXPECT_EQ(name.size(), 254u);
    EXPECT_EQ(registry.EnumKey(key.get(), 1, 255, &name), 234u) << "255 characters need 256 with the terminator";
    EXPECT_EQ(registry.EnumKey(key.get(), 2, 255, &name), 259u);
    RegKey missing(registry);
    EXPECT_EQ(registry.OpenKey(key.get(), L"No\\Such\\Key", missing.Receive()), 2u);
    EXPECT_EQ(registry.OpenHandleCount(), 1u);
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u) << "every key closed when its holder goes";
}

TEST(LabFiles, ResolvesDrivePathsAsWindowsDoes) {
  TempLab temp;
  temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat", "1\r\n");
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  LabFileSystem& files = lab->Files();
  std::string bytes;
  EXPECT_EQ(files.ReadWholeFile(L"d:\\ZANDOR\\ha\\toolkitinstaller2.0\\hadefaults.DAT", &bytes), 0u);
  EXPECT_EQ(bytes, "1\r\n");
  EXPECT_EQ(files.ReadWholeFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat .", &bytes), 0u)
      << "trailing blanks and dots of the name are dropped";
  EXPECT_EQ(files.ReadWholeFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\other.dat", &bytes), 2u);
  EXPECT_EQ(files.ReadWholeFile(L"D:\\Missing\\other.dat", &bytes), 3u);
  EXPECT_EQ(files.ReadWholeFile(L"Q:\\other.dat", &bytes), 3u) << "a drive the lab lacks";
  EXPECT_EQ(files.ReadWholeFile(L"D:\\Zandor", &bytes), 5u) << "a folder is not a file";
  // No name leads off the lab's drives: lab.conf lies two levels above D:.
  for (const wchar_t* outside :
       {L"D:\\..\\..\\lab.conf", L"D:\\Zandor\\..\\..\\..\\lab.conf", L"D:\\Zandor\\ .. \\..\\..\\lab.conf", L"D:\\..",
        L"D:\\Zandor\\C:\\lab.conf", L"D:\\Zandor\\HA:stream", L"..\\lab.conf", L"7:\\lab.conf"}) {
    SCOPED_TRACE(Utf8FromWide(outside));
    EXPECT_TRUE(files.HostPath(outside).empty());
    EXPECT_EQ(files.ReadWholeFile(outside, &bytes), 3u);
  }
}

// A lab is data: a link would lead its reads and writes out of it (Step 3 wrote the INI file
// through one), and anything else than files and folders may hang a read.
TEST(Lab, ALabHoldingALinkOrAnythingButFilesAndFoldersIsRefusedWithThePathNamed) {
  struct Case {
    const char* what;
    const char* entry;  // below the lab folder
    std::function<void(const fs::path& entry, const fs::path& elsewhere, std::error_code& error)> make;
  };
  const Case cases[] = {
      {"a folder linked elsewhere", "drives/E/Zandor/HA",
       [](const fs::path& entry, const fs::path& elsewhere, std::error_code& error) {
         fs::create_directory_symlink(elsewhere, entry, error);
       }},
      {"a file linked elsewhere", "servers/node-b/registry/product.reg",
       [](const fs::path& entry, const fs::path& elsewhere, std::error_code& error) {
         fs::create_symlink(elsewhere / "victim", entry, error);
       }},
      {"a link to nowhere", "drives/D/dangling",
       [](const fs::path& entry, const fs::path&, std::error_code& error) {
         fs::create_symlink("/nonexistent/target", entry, error);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    TempLab elsewhere;
    std::ofstream(elsewhere.Folder() / "victim") << "not the lab's";
    const fs::path entry = temp.Folder() / c.entry;
    fs::create_directories(entry.parent_path());
    std::error_code error;
    c.make(entry, elsewhere.Folder(), error);
    if (error) GTEST_SKIP() << "this system makes no links here: " << error.message();
    std::string loadError;
    EXPECT_EQ(temp.Load(&loadError), nullptr);
    EXPECT_NE(loadError.find(entry.string() + " is a symbolic link or a junction"), std::string::npos) << loadError;
  }
}

TEST(LabFiles, ReplacesWholeFilesAndRemovesThem) {
  TempLab temp;
  temp.WriteDriveFile(L"D:\\Data\\file.txt", "old");
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  LabFileSystem& files = lab->Files();
  EXPECT_EQ(files.ReplaceWholeFile(L"D:\\data\\FILE.txt", "new", nullptr), 0u);
  EXPECT_EQ(temp.ReadDriveFile(L"D:\\Data\\file.txt"), "new") << "the existing name is reused, not a second file";
  EXPECT_EQ(files.ReplaceWholeFile(L"D:\\Nowhere\\file.txt", "x", nullptr), 3u);
  EXPECT_EQ(files.SetNormalAttributes(L"D:\\Data\\file.txt"), 0u);
  EXPECT_EQ(files.RemoveFile(L"D:\\Data\\file.txt"), 0u);
  EXPECT_EQ(files.RemoveFile(L"D:\\Data\\file.txt"), 2u);
  EXPECT_EQ(files.SetNormalAttributes(L"D:\\Data\\file.txt"), 2u);
  EXPECT_TRUE(std::filesystem::is_empty(temp.DriveHostPath(L"D:\\Data"))) << "no temporary file left behind";
}

TEST(Lab, ReportsAMalformedExportWithItsFileAndLine) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "broken.reg", L"[HKEY_LOCAL_MACHINE\\A]\n\"V\"=dword:xyz\n");
  std::string error;
  EXPECT_EQ(temp.Load(&error), nullptr);
  EXPECT_NE(error.find("broken.reg:4:"), std::string::npos) << error;
}

TEST(Lab, BundledDemoLabLoadsWithTheFeatureEnabledLocally) {
  std::string error;
  auto lab = Lab::Load(DUPLEX_DEMO_LAB, &error);
  ASSERT_NE(lab, nullptr) << error;
  LabRegistry& registry = lab->Registry();
  RegKey key(registry);
  ASSERT_EQ(registry.OpenKey(registry.LocalMachine(), kKey, key.Receive()), 0u);
  std::uint8_t mode[4] = {};
  std::uint32_t size = sizeof mode;
  EXPECT_EQ(registry.QueryValue(key.get(), L"HighAvailMode", mode, &size), 0u);
  EXPECT_EQ(mode[0], 1);
}

TEST(LabFiles, LabConfBreaksDisksAndFiles) {
  TempLab temp;
  {
    std::ofstream conf(temp.Folder() / "lab.conf", std::ios::app);
    conf << "disk-full = d\ndeny-file = D:\\Locked\\secret.dat\n";
  }
  temp.WriteDriveFile(L"D:\\Data\\file.txt", "old");
  temp.WriteDriveFile(L"D:\\Locked\\secret.dat", "kept");
  std::string error;
  auto lab = temp.Load(&error);
  ASSERT_NE(lab, nullptr) << error;
  LabFileSystem& files = lab->Files();
  FileWriteStep step = FileWriteStep::Open;
  EXPECT_EQ(files.ReplaceWholeFile(L"D:\\Data\\file.txt", "new content", &step), 112u);
  EXPECT_EQ(step, FileWriteStep::Write);
  EXPECT_EQ(temp.ReadDriveFile(L"D:\\Data\\file.txt"), "old") << "the old file outlives a full disk";
  EXPECT_EQ(EntriesOf(temp.DriveHostPath(L"D:\\Data")), std::vector<std::string>{"file.txt"})
      << "the failed save's temporary file is gone";
  EXPECT_EQ(files.ReplaceWholeFile(L"E:\\file.txt", "fine", &step), 0u) << "other drives have room";

  std::string bytes;
  EXPECT_EQ(files.ReadWholeFile(L"d:\\locked\\SECRET.dat", &bytes), 5u);
  EXPECT_EQ(files.SetNormalAttributes(L"D:\\Locked\\secret.dat"), 5u);
  EXPECT_EQ(files.RemoveFile(L"D:\\Locked\\secret.dat"), 5u);
  lab->Files().SetDiskFull(L'D', false);
  EXPECT_EQ(files.ReplaceWholeFile(L"D:\\Locked\\secret.dat", "x", &step), 5u);
  EXPECT_EQ(step, FileWriteStep::Open);
  EXPECT_EQ(temp.ReadDriveFile(L"D:\\Locked\\secret.dat"), "kept");
}

TEST(LabFiles, MalformedLabConfLinesAreNamed) {
  for (const char* line : {"disk-full = 7", "deny-file = relative\\path", "colour = blue", "installer-hang = maybe",
                           "host = 10.2.2.250", "host = 10.2.2 ELAN", "cable = NODE-A HB1 node-b HB2",
                           "cable = NODE-A HB1 - node-b", "cable = NODE-A HB1 - node-c HB2"}) {
    SCOPED_TRACE(line);
    TempLab temp;
    {
      std::ofstream conf(temp.Folder() / "lab.conf", std::ios::app);
      conf << line << "\n";
    }
    std::string error;
    EXPECT_EQ(temp.Load(&error), nullptr);
    EXPECT_NE(error.find("lab.conf:3:"), std::string::npos) << error;
  }
}

// A host name is read as Windows reads it, by the registry and the service manager alike: with or
// without one leading "\\", never with a second one, which the wizard makes of a node typed as "\\vm".
TEST(LabRegistry, MachineNamesReachTheServerTheyNameAsOnWindows) {
  TempLab temp;
  temp.SetHighAvailMode(L"node-b", 1);
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  struct Case {
    const wchar_t* name;
    Status registry;
    Status serviceManager;
  };
  const Case cases[] = {
      {L"\\\\node-b", 0, 0},
      {L"\\\\NODE-B", 0, 0},
      {L"node-b", 0, 0},
      {L"\\\\\\\\node-b", 53, 1722},
      {L"\\\\\\node-b", 53, 1722},
      {L"\\node-b", 53, 1722},
      {L"\\\\node-b\\share", 53, 1722},
      {L"\\\\", 53, 1722},
      {L"\\\\node-c", 53, 1722},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.name));
    RegKey connection(lab->Registry());
    EXPECT_EQ(lab->Registry().ConnectRegistry(c.name, connection.Receive()), c.registry);
    ScopedScHandle manager(lab->Services());
    EXPECT_EQ(lab->Services().OpenServiceManager(c.name, manager.Receive()), c.serviceManager);
  }
  EXPECT_EQ(lab->OpenHandleCount(), 0u);
}

TEST(LabRegistry, SubkeysFromSeveralExportsEnumerateSortedIgnoringCase) {
  constexpr wchar_t kClass[] = L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
  TempLab temp;
  temp.AddRegFile(L"node-b", "1-adapters.reg",
                  std::wstring(L"[HKEY_LOCAL_MACHINE\\") + kClass + L"\\{B0000000-0000-0000-0000-000000000002}]\n" +
                      L"[HKEY_LOCAL_MACHINE\\" + kClass + L"\\{d0000000-0000-0000-0000-000000000004}]\n");
  temp.AddRegFile(L"node-b", "2-second-mirror.reg",
                  std::wstring(L"[HKEY_LOCAL_MACHINE\\") + kClass + L"\\{a0000000-0000-0000-0000-000000000001}]\n" +
                      L"[HKEY_LOCAL_MACHINE\\" + kClass + L"\\{C0000000-0000-0000-0000-000000000003}]\n",
                  RegEncoding::Regedit4);
  auto lab = temp.Load();
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  RegKey connection(registry);
  RegKey key(registry);
  ASSERT_EQ(registry.ConnectRegistry(L"\\\\node-b", connection.Receive()), 0u);
  ASSERT_EQ(registry.OpenKey(connection.get(), kClass, key.Receive()), 0u);
  std::vector<std::wstring> names;
  std::wstring name;
  for (std::uint32_t index = 0; registry.EnumKey(key.get(), index, 256, &name) == 0; ++index) names.push_back(name);
  const std::vector<std::wstring> expected = {
      L"{a0000000-0000-0000-0000-000000000001}", L"{B0000000-0000-0000-0000-000000000002}",
      L"{C0000000-0000-0000-0000-000000000003}", L"{d0000000-0000-0000-0000-000000000004}"};
  EXPECT_EQ(names, expected);
}
