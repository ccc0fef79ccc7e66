// Lab programs on POSIX systems: posix_spawn, with the working folder and the standard files set
// up in the child, so that nothing is changed in this process while the window's toolkit runs.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "platform/lab/lab_spawn.h"
#include "platform/scoped_fd.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

class SpawnFileActions {
 public:
  SpawnFileActions() : ready_(posix_spawn_file_actions_init(&actions_) == 0) {}
  ~SpawnFileActions() {
    if (ready_) posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  bool ready() const { return ready_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ready_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() : ready_(posix_spawnattr_init(&attributes_) == 0) {}
  ~SpawnAttributes() {
    if (ready_) posix_spawnattr_destroy(&attributes_);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  bool ready() const { return ready_; }
  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
  bool ready_;
};

Status StatusFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG: return status::FileNotFound;
    case ENOMEM:
    case EAGAIN: return status::NotEnoughMemory;
    default: return status::AccessDenied;
  }
}

class PosixRunningProgram : public LabRunningProgram {
 public:
  explicit PosixRunningProgram(pid_t pid) : pid_(pid) {}
  ~PosixRunningProgram() override { WaitForExit(); }
  PosixRunningProgram(const PosixRunningProgram&) = delete;
  PosixRunningProgram& operator=(const PosixRunningProgram&) = delete;

  int WaitForExit() override {
    if (collected_) return exitCode_;
    int waitStatus = 0;
    pid_t rc = 0;
    do {
      rc = ::waitpid(pid_, &waitStatus, 0);
    } while (rc < 0 && errno == EINTR);
    collected_ = true;
    if (rc < 0) {
      exitCode_ = 1;
    } else if (WIFEXITED(waitStatus)) {
      exitCode_ = WEXITSTATUS(waitStatus);
    } else if (WIFSIGNALED(waitStatus)) {
      exitCode_ = 128 + WTERMSIG(waitStatus);  // as a POSIX shell reports a killed program
    }
    return exitCode_;
  }

 private:
  pid_t pid_;
  bool collected_ = false;
  int exitCode_ = 0;
};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The words that run `program`: the file itself when it may be executed. A copy that lost its
// exec bits (an archive, a checkout without them) still runs when it is a "#!" script, through
// the interpreter its first line names, as the kernel would have run it.
Status CommandFor(const fs::path& program, std::vector<std::string>* head) {
  struct stat info {};
  if (::stat(program.c_str(), &info) != 0) return StatusFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return status::AccessDenied;
  if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) {
    *head = {program.string()};
    return status::Success;
  }
  // The kernel reads no more of the first line than this, either.
  std::string firstLine(256, '\0');
  std::ifstream in(program, std::ios::binary);
  in.read(firstLine.data(), static_cast<std::streamsize>(firstLine.size()));
  firstLine.resize(static_cast<std::size_t>(in.gcount()));
  firstLine = firstLine.substr(0, firstLine.find('\n'));
  if (firstLine.rfind("#!", 0) != 0) return status::AccessDenied;
  const std::string rest = Trimmed(firstLine.substr(2));
  const std::size_t blank = rest.find_first_of(" \t");
  if (rest.empty()) return status::AccessDenied;
  *head = {rest.substr(0, blank)};
  // Like the kernel, everything after the interpreter is its one argument.
  if (blank != std::string::npos) head->push_back(Trimmed(rest.substr(blank)));
  head->push_back(program.string());
  return status::Success;
}

}  // namespace

Status StartLabProgram(const LabProgramRun& run, std::unique_ptr<LabRunningProgram>* running) {
  // The child changes folder before it runs anything, so every path it is given is absolute.
  std::error_code error;
  const fs::path program = fs::absolute(run.program, error);
  if (error) return status::FileNotFound;
  std::vector<std::string> words;
  if (const Status rc = CommandFor(program, &words); rc != status::Success) return rc;
  words.insert(words.end(), run.arguments.begin(), run.arguments.end());

  const char* inputPath = run.standardInput.empty() ? "/dev/null" : run.standardInput.c_str();
  const ScopedFd input(::open(inputPath, O_RDONLY | O_CLOEXEC));
  if (!input.IsOpen()) return StatusFromErrno(errno);
  const ScopedFd console(::open(run.consoleLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!console.IsOpen()) return StatusFromErrno(errno);
  const fs::path workingFolder = fs::absolute(run.workingFolder, error);
  if (error) return status::PathNotFound;

  SpawnFileActions actions;
  SpawnAttributes attributes;
  if (!actions.ready() || !attributes.ready()) return status::NotEnoughMemory;
  // A new process, as CreateProcessW makes one: no handle of this program's but its three standard
  // ones, no signal blocked or ignored because this program (or its toolkit) chose so.
  int rc = posix_spawn_file_actions_adddup2(actions.get(), input.get(), STDIN_FILENO);
  if (rc == 0) rc = posix_spawn_file_actions_adddup2(actions.get(), console.get(), STDOUT_FILENO);
  if (rc == 0) rc = posix_spawn_file_actions_adddup2(actions.get(), console.get(), STDERR_FILENO);
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
  if (rc == 0) rc = posix_spawn_file_actions_addchdir_np(actions.get(), workingFolder.c_str());
  sigset_t noSignals;
  sigset_t allSignals;
  sigemptyset(&noSignals);
  sigfillset(&allSignals);
  if (rc == 0) rc = posix_spawnattr_setsigmask(attributes.get(), &noSignals);
  if (rc == 0) rc = posix_spawnattr_setsigdefault(attributes.get(), &allSignals);
  if (rc == 0) rc = posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  if (rc != 0) return StatusFromErrno(rc);

  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  rc = posix_spawn(&pid, argv[0], actions.get(), attributes.get(), argv.data(), environ);
  if (rc != 0) return StatusFromErrno(rc);
  *running = std::make_unique<PosixRunningProgram>(pid);
  return status::Success;
}
