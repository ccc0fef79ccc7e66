// summarize: every readiness report under some folders in one table, worst first, as HTML and CSV.
#include "cli/summarize_command.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "common/text_case.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "platform/lab/lab_new_file.h"
#include "platform/platform.h"
#include "report/fleet_summary.h"

namespace fs = std::filesystem;

namespace {
// Far above any report (a few kilobytes): a file this large is something else, and is not read whole.
constexpr std::uintmax_t kLargestReport = 16u << 20;
// Summaries written in one second, each under its own name, before the folder is taken for unwritable.
constexpr int kMostSummariesASecond = 1000;

// A path as the person reads it. On POSIX the name's bytes are read as UTF-8 leniently (the
// library's own conversion would throw on a name that is no UTF-8); on Windows it is wide already.
template <class Native>
std::wstring WideName(const Native& native) {
  if constexpr (std::is_same_v<Native, std::wstring>) {
    return native;
  } else {
    return WideFromUtf8(native);
  }
}
std::wstring Shown(const fs::path& path) { return WideName(path.native()); }

std::wstring Why(const std::error_code& error) { return WideFromUtf8(error.message()); }

bool IsReportName(const fs::path& path) { return ToLowerAscii(Shown(path.extension())) == L".json"; }

// The name the person knows a folder by: its last component, even when written "." or "reports/".
std::wstring FolderName(const fs::path& folder) {
  std::error_code error;
  fs::path absolute = fs::absolute(folder, error).lexically_normal();
  if (absolute.filename().empty()) absolute = absolute.parent_path();
  const std::wstring name = Shown(absolute.filename());
  return name.empty() ? Shown(folder) : name;
}

// The file's bytes, or why there are none.
bool ReadWhole(const fs::path& file, std::uintmax_t size, std::string* bytes, std::wstring* why) {
  if (size > kLargestReport) {
    *why = L"larger than 16 MB, which no readiness report is";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    *why = L"the file could not be opened";
    return false;
  }
  bytes->resize(static_cast<std::size_t>(size));
  in.read(bytes->data(), static_cast<std::streamsize>(size));
  if (in.gcount() != static_cast<std::streamsize>(size)) {
    *why = L"the file could not be read";
    return false;
  }
  return true;
}

// Every report under `root`, each folder read once; a link is listed, never followed, so that a
// loop of links or a link out of the folders can't make the summary read what it was not given.
void ReadReportsUnder(const fs::path& root, const FleetReportReader& reader, std::vector<FleetRow>* rows) {
  struct Folder {
    fs::path path;
    std::wstring relative;  // empty for the root
  };
  const std::wstring rootName = FolderName(root);
  std::vector<Folder> pending = {{root, L""}};
  while (!pending.empty()) {
    const Folder folder = pending.back();
    pending.pop_back();
    const std::wstring site = folder.relative.empty() ? rootName : folder.relative;
    std::error_code error;
    for (fs::directory_iterator it(folder.path, error); !error && it != fs::directory_iterator(); it.increment(error)) {
      const fs::path& path = it->path();
      std::error_code entryError;
      const fs::file_status status = it->symlink_status(entryError);
      if (fs::is_symlink(status)) {
        if (IsReportName(path) || fs::is_directory(it->status(entryError))) {
          rows->push_back(NotReadRow(site, Shown(path), L"a symbolic link, not followed"));
        }
      } else if (fs::is_directory(status)) {
        const std::wstring name = Shown(path.filename());
        pending.push_back({path, folder.relative.empty() ? name : folder.relative + L"/" + name});
      } else if (!IsReportName(path)) {
        continue;
      } else if (!fs::is_regular_file(status)) {
        rows->push_back(NotReadRow(site, Shown(path), L"not a regular file"));
      } else {
        std::string bytes;
        std::wstring why;
        const std::uintmax_t size = it->file_size(entryError);
        if (entryError || !ReadWhole(path, size, &bytes, &why)) {
          rows->push_back(NotReadRow(site, Shown(path), entryError ? Why(entryError) : why));
        } else {
          rows->push_back(reader.Read(site, Shown(path), bytes));
        }
      }
    }
    // Reports of a folder that can't be listed may be missing: that is said, as a report not read is.
    if (error) rows->push_back(NotReadRow(site, Shown(folder.path), L"the folder could not be read: " + Why(error)));
  }
}

// The HTML and CSV files as new files of `folder` under the next free name; that name, or empty.
std::wstring WriteSummary(const fs::path& folder, const std::wstring& name, const std::string& html,
                          const std::string& csv) {
  for (int copy = 1; copy <= kMostSummariesASecond; ++copy) {
    const std::wstring base = copy == 1 ? name : name + L"-" + std::to_wstring(copy);
    const fs::path htmlFile = folder / fs::path(base + L".html");
    const fs::path csvFile = folder / fs::path(base + L".csv");
    const NewFileWrite htmlWrite = WriteNewFile(htmlFile, html);
    if (htmlWrite == NewFileWrite::NameTaken) continue;
    const NewFileWrite csvWrite = htmlWrite == NewFileWrite::Done ? WriteNewFile(csvFile, csv) : htmlWrite;
    if (csvWrite == NewFileWrite::Done) return Shown(folder / fs::path(base));
    // Never half a pair: the page goes when its table could not be written beside it.
    std::error_code error;
    if (htmlWrite == NewFileWrite::Done) fs::remove(htmlFile, error);
    if (csvWrite == NewFileWrite::NotWritten) fs::remove(csvFile, error);
    if (csvWrite != NewFileWrite::NameTaken) return {};
  }
  return {};
}

int ExitCodeOf(FleetStatus worst) {
  switch (worst) {
    case FleetStatus::NotRead:
    case FleetStatus::Invalid: return exitcode::NotGathered;
    case FleetStatus::Fail: return exitcode::Fail;
    case FleetStatus::Warn: return exitcode::Warn;
    case FleetStatus::Clean: return exitcode::Clean;
  }
  return exitcode::NotGathered;
}

}  // namespace

int RunSummarize(const CommandLine& command, CliContext& context, CliOutput& output) {
  for (const std::wstring& folder : command.folders) {
    std::error_code error;
    if (!fs::is_directory(fs::path(folder), error)) {
      output.Problem(FormatText(L"\"%s\" is not a folder.", {folder}));
      return exitcode::Usage;
    }
  }
  const FleetReportReader reader;
  if (!reader.SchemaProblem().empty()) {
    output.Problem(L"The readiness report schema built into the program cannot be used: " + reader.SchemaProblem());
    return exitcode::Usage;
  }

  std::vector<FleetRow> rows;
  for (const std::wstring& folder : command.folders) ReadReportsUnder(fs::path(folder), reader, &rows);
  const FleetSummary summary = SummarizeFleet(std::move(rows));
  for (const FleetRow& row : summary.rows) {
    if (!row.Read()) output.Problem(FormatText(L"%s %s: %s", {FleetStatusName(row.status), row.file, row.message}));
  }
  if (summary.rows.empty()) output.Problem(L"No readiness report was found.");

  const LocalDateTime now = context.platform->machine.LocalTime();
  const fs::path folder(command.outFolder.empty() ? command.folders.front() : command.outFolder);
  std::error_code error;
  fs::create_directories(folder, error);
  const std::wstring written = WriteSummary(folder, FleetSummaryBaseName(now),
                                            FleetSummaryHtml(summary, command.folders, now), FleetSummaryCsv(summary));
  if (written.empty()) {
    output.Problem(FormatText(L"The fleet summary could not be written in %s.", {Shown(folder)}));
    return exitcode::FileNotWritten;
  }
  output.Say(FormatText(L"The fleet summary was saved to %s.html and %s.csv.", {written, written}));

  const int exitCode = ExitCodeOf(summary.worst);
  output.Say(FormatText(L"Summary: %d reports; %d not read, %d invalid, %d FAIL, %d WARN, %d OK. Exit code %d.",
                        {static_cast<int>(summary.rows.size()), CountRows(summary, FleetStatus::NotRead),
                         CountRows(summary, FleetStatus::Invalid), CountRows(summary, FleetStatus::Fail),
                         CountRows(summary, FleetStatus::Warn), CountRows(summary, FleetStatus::Clean), exitCode}));
  return exitCode;
}
