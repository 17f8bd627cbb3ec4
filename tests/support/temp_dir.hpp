// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder under the temporary directory for one test or benchmark run, removed with
// everything in it when it goes away.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace langxing::testsupport {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace langxing::testsupport
