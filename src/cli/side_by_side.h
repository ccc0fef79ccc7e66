// Runs a few jobs at the same time, each on a thread of its own, and returns once all have ended.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// The last job runs on the calling thread; the others each on a new one.
inline void RunSideBySide(const std::vector<std::function<void()>>& jobs) {
  if (jobs.empty()) return;
  std::vector<std::thread> threads;
  threads.reserve(jobs.size() - 1);
  for (std::size_t i = 0; i + 1 < jobs.size(); ++i) threads.emplace_back(jobs[i]);
  jobs.back()();
  for (std::thread& thread : threads) thread.join();
}

// Runs the jobs on at most `threads` threads at a time (the calling thread among them), each
// thread taking the next job not yet taken, and returns once all have ended: a long list never
// starts a thread per job.
inline void RunOnThreads(const std::vector<std::function<void()>>& jobs, std::size_t threads) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t job = next++; job < jobs.size(); job = next++) jobs[job]();
  };
  std::vector<std::thread> helpers;
  const std::size_t helperCount = std::min(threads, jobs.size()) > 1 ? std::min(threads, jobs.size()) - 1 : 0;
  helpers.reserve(helperCount);
  for (std::size_t i = 0; i < helperCount; ++i) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
}
