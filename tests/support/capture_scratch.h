// A folder of a capture test's own, removed at the end; tests run in processes of their own at the same time.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

struct CaptureScratch {
  CaptureScratch()
      : path(std::filesystem::temp_directory_path() /
             ("duplex-capture-" + std::to_string(std::random_device()()) + "-" + std::to_string(counter++))) {
    std::filesystem::remove_all(path);
  }
  ~CaptureScratch() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  CaptureScratch(const CaptureScratch&) = delete;
  CaptureScratch& operator=(const CaptureScratch&) = delete;

  static inline int counter = 0;
  std::filesystem::path path;
};

inline std::string ReadWholeHostFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The entries of `folder`, sorted (none when it is not there); with `recursive`, those of its folders too.
inline std::vector<std::filesystem::path> EntriesOf(const std::filesystem::path& folder, bool recursive = false) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  if (recursive) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) entries.push_back(entry);
  } else {
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}
