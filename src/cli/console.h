// Where a run without a window writes what a person reads: standard output and standard error.
#pragma once

#include <iosfwd>
#include <string>

class Console {
 public:
  virtual ~Console() = default;
  // One line, ended as the system ends lines on its consoles and in redirected files.
  virtual void WriteOut(const std::wstring& line) = 0;
  virtual void WriteErr(const std::wstring& line) = 0;
  // Whether standard error is a terminal someone watches: only then are progress lines written.
  virtual bool ErrIsTerminal() const = 0;
};

// A console over two C++ streams, UTF-8 with LF line ends: the lab edition's, and the tests'.
class StreamConsole : public Console {
 public:
  StreamConsole(std::ostream& out, std::ostream& err, bool errIsTerminal)
      : out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

  void WriteOut(const std::wstring& line) override;
  void WriteErr(const std::wstring& line) override;
  bool ErrIsTerminal() const override { return errIsTerminal_; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool errIsTerminal_;
};
