// A folder of a capture test's own, removed at the end; tests run in processes of their own at the same time.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

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
