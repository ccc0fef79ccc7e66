// On POSIX the stop signals are blocked in every thread and taken by one thread of their own, which
// can do what a signal handler may not: remove a folder.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "scenario/interrupt_cleanup.h"
#include "scenario/scenario_runner.h"

struct InterruptCleanup::State {
  std::filesystem::path folder;
  sigset_t stops;
  sigset_t before;  // the mask the program had
  std::atomic<bool> ending{false};
  std::thread waiter;
};

InterruptCleanup::InterruptCleanup(std::filesystem::path folder) : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.folder = std::move(folder);
  sigemptyset(&state.stops);
  sigaddset(&state.stops, SIGINT);
  sigaddset(&state.stops, SIGTERM);
  // Threads started from here on inherit the mask: the stops reach the waiter only.
  pthread_sigmask(SIG_BLOCK, &state.stops, &state.before);
  state.waiter = std::thread([&state] {
    int stop = 0;
    sigwait(&state.stops, &stop);
    if (state.ending) return;
    RemoveScratchFolder(state.folder);
    // Ends the process as the signal would have: its default action, delivered to this thread.
    signal(stop, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, stop);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(stop);
  });
}

InterruptCleanup::~InterruptCleanup() {
  state_->ending = true;
  pthread_kill(state_->waiter.native_handle(), SIGTERM);
  state_->waiter.join();
  pthread_sigmask(SIG_SETMASK, &state_->before, nullptr);
}
