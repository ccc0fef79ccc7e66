// Runs a few jobs at the same time, each on a thread of its own, and returns once all have ended.
#pragma once

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
