// The shipped binaries' VERSIONINFO, read back through the version API as Explorer and a support desk
// read it, against the version the build declares (CMakeLists.txt).
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "system_fixtures.h"

namespace {
struct VersionResource {
  std::vector<unsigned char> block;

  // Empty when the file has no VERSIONINFO.
  explicit VersionResource(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return;
    block.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) block.clear();
  }

  const VS_FIXEDFILEINFO* Fixed() {
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
      return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  // A value of the U.S. English, Unicode string block; "(missing)" when there is none.
  std::wstring String(const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (block.empty() || !VerQueryValueW(block.data(), path.c_str(), &value, &length)) return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value));
  }
};

// "1.1.0" as VERSIONINFO's two numbers: major << 16 | minor, patch << 16 | 0.
void ExpectFixedVersion(DWORD high, DWORD low, const std::wstring& version) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u", &major, &minor, &patch), 3) << "version " << version.size();
  EXPECT_EQ(high, (major << 16) | minor);
  EXPECT_EQ(low, patch << 16);
}
}  // namespace

TEST(VersionInfo, EachShippedBinaryCarriesTheBuildsVersion) {
  struct Case {
    const wchar_t* path;
    const wchar_t* originalName;
    DWORD fileType;
  };
  const Case cases[] = {
      {DUPLEX_PROGRAM_PATH, L"DuplexSetupAssistant.exe", VFT_APP},
      {DUPLEX_CONSOLE_PATH, L"DuplexSetupAssistant.com", VFT_APP},
      {DUPLEX_SETUPLOGKIT_PATH, L"SetupLogKit.dll", VFT_DLL},
  };
  const std::wstring version = DUPLEX_EXPECTED_VERSION;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.originalName, c.originalName + wcslen(c.originalName)));
    VersionResource resource(OnDriveZ(c.path));
    ASSERT_FALSE(resource.block.empty());
    const VS_FIXEDFILEINFO* fixed = resource.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    ExpectFixedVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, version);
    ExpectFixedVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS, version);
    EXPECT_EQ(fixed->dwFileType, c.fileType);
    EXPECT_EQ(resource.String(L"FileVersion"), version);
    EXPECT_EQ(resource.String(L"ProductVersion"), version);
    EXPECT_EQ(resource.String(L"ProductName"), L"DuplexSetupAssistant");
    // The maker as the program's own paths name it (C:\ProgramData\Zandor).
    EXPECT_EQ(resource.String(L"CompanyName"), L"Zandor");
    EXPECT_EQ(resource.String(L"OriginalFilename"), c.originalName);
    const std::wstring description = resource.String(L"FileDescription");
    EXPECT_EQ(description.rfind(L"Duplex Setup Assistant", 0), 0u) << description.size();
  }
}
