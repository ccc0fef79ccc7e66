// Where the cluster readiness report is kept, and saving it there through the platform's files.
#include "wizard/readiness_report_file.h"

#include <utility>

#include "app/install_log.h"
#include "common/text_format.h"
#include "platform/platform.h"

namespace {
// Names tried in one folder for one second's report before the save gives up.
constexpr int kNamesPerSecond = 100;

// The folder above `folder`, or empty at the top (a drive's root, "C:", or a host's "/").
std::wstring ParentFolder(const std::wstring& folder) {
  const std::size_t separator = folder.find_last_of(L"\\/");
  if (separator == std::wstring::npos || separator == 0) return {};
  std::wstring parent = folder.substr(0, separator);
  return parent.size() == 2 && parent[1] == L':' ? std::wstring() : parent;
}

// Makes `folder` and every missing folder above it: 0, or the code of the one that failed.
Status MakeFolders(FileSystem& files, const std::wstring& folder, std::wstring* failed) {
  Status rc = files.CreateFolder(folder);
  if (rc == status::PathNotFound) {
    if (const std::wstring parent = ParentFolder(folder); !parent.empty()) {
      rc = MakeFolders(files, parent, failed);
      if (rc != status::Success) return rc;
      rc = files.CreateFolder(folder);
    }
  }
  if (rc == status::Success || rc == status::AlreadyExists) return status::Success;
  *failed = folder;
  return rc;
}

bool Taken(FileSystem& files, const std::wstring& path) {
  FileStamp stamp;
  return files.QueryFileStamp(path, &stamp) != status::FileNotFound;
}

SavedReport Failed(InstallLog& log, std::wstring problem) {
  log.Error(problem);
  return {{}, std::move(problem)};
}
}  // namespace

SavedReport SaveReadinessReportIn(FileSystem& files, const std::wstring& folder, InstallLog& log,
                                  const ReportInput& input) {
  std::wstring failedFolder;
  if (const Status rc = MakeFolders(files, folder, &failedFolder); rc != status::Success) {
    return Failed(log, FormatText(L"Unable to save the cluster readiness report in %s. rc = %ld", {failedFolder, rc}));
  }
  const std::string json = ReportJson(input);
  const std::string html = ReportHtml(input);
  // A Windows path goes on as one; a host's path named on a Linux command line takes the slash.
  const wchar_t* separator = folder.find(L'\\') != std::wstring::npos ? L"\\" : L"/";
  const std::wstring name = folder + separator + ReportFileBaseName(input.run.time);
  for (int copy = 1; copy <= kNamesPerSecond; ++copy) {
    // Two runs within a second each keep their own report; both files share the name.
    const std::wstring base = copy == 1 ? name : FormatText(L"%s-%d", {name, copy});
    if (Taken(files, base + L".json") || Taken(files, base + L".html")) continue;
    Status rc = status::Success;
    for (const auto& [path, bytes] : {std::pair{base + L".json", &json}, std::pair{base + L".html", &html}}) {
      FileWriteStep failedStep = FileWriteStep::Open;
      rc = files.CreateWholeFile(path, *bytes, &failedStep);
      if (rc == status::FileExists) break;
      if (rc != status::Success) {
        return Failed(log, FormatText(L"Unable to save the cluster readiness report %s. rc = %ld", {path, rc}));
      }
    }
    // A name taken between the look and the write: the next one (a JSON file already made stays).
    if (rc == status::FileExists) continue;
    log.Info(FormatText(L"Cluster readiness report saved to %s.html.", {base}));
    return {base + L".html", {}};
  }
  return Failed(log, FormatText(L"Unable to save the cluster readiness report in %s: the names %s to -%d are taken.",
                                {folder, ReportFileBaseName(input.run.time), kNamesPerSecond}));
}

SavedReport SaveReadinessReport(Platform& platform, InstallLog& log, const ReportInput& input) {
  std::wstring programData;
  if (const Status rc = platform.machine.QueryProgramDataFolder(&programData); rc != status::Success) {
    return Failed(log, FormatText(L"Unable to find the folder for the cluster readiness report. rc = %ld", {rc}));
  }
  return SaveReadinessReportIn(platform.files, programData + L"\\Zandor\\Reports", log, input);
}

std::wstring SavedReportLine(const SavedReport& saved, const std::wstring& shownPath) {
  return saved.htmlPath.empty() ? FormatText(L"The readiness report could not be saved: %s", {saved.problem})
                                : FormatText(L"The report was saved to %s.", {shownPath});
}
