// The story a scenario run tells, one line at a time, and the doubles that write the wizard's side of it.
#pragma once

#include <string>
#include <vector>

#include "log/install_log.h"
#include "nodes/ownerless_message_box.h"

class Transcript {
 public:
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// UTF-8 with CR, LF and tab written as \r, \n and \t, so that one message is one line whose
// line ends can be read.
std::string VisibleText(const std::wstring& text);

// A transcript file's lines: split at LF, a CR before it dropped (a checkout may add one),
// and no empty line after the final LF.
std::vector<std::string> SplitTranscript(const std::string& text);

// Where `actual` first departs from `expected`, said for a person in three lines; empty when
// they are the same.
std::string FirstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

// Every log line as "log info: ..." or "log error: ...".
class TranscriptLog : public InstallLog {
 public:
  explicit TranscriptLog(Transcript& transcript) : transcript_(transcript) {}
  void Write(const std::wstring& message, LogClass messageClass) override;

 private:
  Transcript& transcript_;
};

// The boxes node gathering shows without an owner, under the title Windows gives them.
class TranscriptOwnerlessBox : public OwnerlessMessageBox {
 public:
  explicit TranscriptOwnerlessBox(Transcript& transcript) : transcript_(transcript) {}
  void Show(const std::wstring& text) override;

 private:
  Transcript& transcript_;
};
