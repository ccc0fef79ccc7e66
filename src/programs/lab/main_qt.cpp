// The lab edition's entry point: the lab and the log made once, then the wizard window, or, given a command, the
// command without a window.
#include <QApplication>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "programs/lab/lab_edition.h"

int main(int argc, char* argv[]) {
  LabEdition edition;
  // A command runs on servers in the lab, not on a display: a script may start it without one.
  if (argc > 1) {
    std::vector<std::wstring> words;
    for (int i = 1; i < argc; ++i) words.push_back(WideFromUtf8(argv[i]));
    return edition.RunCommandLine(words);
  }
  QApplication application(argc, argv);
  return edition.RunWindow();
}
