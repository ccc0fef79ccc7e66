// Saves on the lab's drives when something else is at work beside them: another program saving the
// same file, a link planted where a temporary file might go. POSIX only: the tests plant links.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kDefaults[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";

std::vector<std::string> EntriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadHostFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(LabFiles, ReplaceWholeFile_WritesOnlyIntoAFileOfItsOwn) {
  enum class Planted { LinkToAnotherFile, AnotherWritersOpenTemporary };
  struct Case {
    const char* what;
    Planted planted;
  };
  const Case cases[] = {
      {"a link planted under the name a save once used", Planted::LinkToAnotherFile},
      {"another program's temporary file, still being written", Planted::AnotherWritersOpenTemporary},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    temp.WriteDriveFile(kDefaults, "0\r\nsaved before\r\n");
    const fs::path target = temp.DriveHostPath(kDefaults);
    const fs::path planted = fs::path(target).concat(".new");
    const fs::path outside = temp.Folder() / "outside.txt";
    // Planted once the lab is loaded: a lab holding a link is refused when it loads.
    auto lab = temp.Load();
    ASSERT_NE(lab, nullptr);
    std::optional<std::ofstream> otherWriter;
    if (c.planted == Planted::LinkToAnotherFile) {
      std::ofstream(outside, std::ios::binary) << "not the lab's";
      fs::create_symlink(outside, planted);
    } else {
      otherWriter.emplace(planted, std::ios::binary);
      *otherWriter << "1\r\nthe other program's first half\r\n";
      otherWriter->flush();
    }

    const std::string saved = "1\r\nmanaged-host\r\n";
    FileWriteStep step = FileWriteStep::Open;
    EXPECT_EQ(lab->Files().ReplaceWholeFile(kDefaults, saved, &step), 0u);
    // The other program goes on writing into the file it opened.
    if (otherWriter) {
      *otherWriter << "the other program's second half\r\n";
      otherWriter->close();
    }

    EXPECT_EQ(ReadHostFile(target), saved) << "the published file is this save's, whole";
    EXPECT_EQ(EntriesOf(target.parent_path()), (std::vector<std::string>{"HADefaults.dat", "HADefaults.dat.new"}))
        << "what was planted stays, and no temporary file of the save is left";
    if (c.planted == Planted::LinkToAnotherFile) {
      EXPECT_TRUE(fs::is_symlink(planted));
      EXPECT_EQ(ReadHostFile(outside), "not the lab's");
    }
  }
}

// Two programs saving the same lab at once: every save says whether it published, and what is
// published is always one save's content, whole.
TEST(LabFiles, ReplaceWholeFile_TwoWritersAtOnceEachPublishAWholeFile) {
  TempLab temp;
  temp.WriteDriveFile(kDefaults, "0\r\n");
  auto labA = temp.Load();
  auto labB = temp.Load();
  ASSERT_NE(labA, nullptr);
  ASSERT_NE(labB, nullptr);
  const std::string contentA(256 * 1024, 'A');
  const std::string contentB(128 * 1024, 'B');
  constexpr int kSaves = 20;
  std::vector<Status> resultsA;
  std::vector<Status> resultsB;
  auto saveRepeatedly = [](Lab& lab, const std::string& content, std::vector<Status>* results) {
    for (int i = 0; i < kSaves; ++i) results->push_back(lab.Files().ReplaceWholeFile(kDefaults, content, nullptr));
  };
  std::thread writerA(saveRepeatedly, std::ref(*labA), std::cref(contentA), &resultsA);
  std::thread writerB(saveRepeatedly, std::ref(*labB), std::cref(contentB), &resultsB);
  writerA.join();
  writerB.join();

  EXPECT_EQ(resultsA, std::vector<Status>(kSaves, 0u));
  EXPECT_EQ(resultsB, std::vector<Status>(kSaves, 0u));
  const std::string published = temp.ReadDriveFile(kDefaults);
  EXPECT_TRUE(published == contentA || published == contentB) << "a file of " << published.size() << " bytes";
  EXPECT_EQ(EntriesOf(temp.DriveHostPath(kDefaults).parent_path()), std::vector<std::string>{"HADefaults.dat"});
}
