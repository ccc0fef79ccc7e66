// What a run without a window tells the person who started it: each line on the console, and in the install log.
#pragma once

#include <mutex>
#include <string>

class Console;
class InstallLog;

class CliOutput {
 public:
  CliOutput(Console& console, InstallLog& log) : console_(console), log_(log) {}

  // A line of the run's outcome: standard output, and the log as information.
  void Say(const std::wstring& text);
  // What went wrong: standard error, and the log as an error.
  void Problem(const std::wstring& text);
  // Text the wizard's own steps have logged already in their own words: the console only.
  void Show(const std::wstring& text);
  void ShowProblem(const std::wstring& text);
  // Where the reading of a server has got to: standard error when it is a terminal, never logged
  // (the log keeps each server's lines together, and a progress line is no part of them).
  void Progress(const std::wstring& text);

 private:
  // A text of several lines (a validation report) is written a line at a time.
  void Write(const std::wstring& text, bool error);

  Console& console_;
  InstallLog& log_;
  // Servers are read on threads of their own, and report their progress from there.
  std::mutex mutex_;
};
