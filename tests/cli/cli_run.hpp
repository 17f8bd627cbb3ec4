// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the companion's commands in-process with captured streams, and makes scratch folders.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.hpp"

namespace langxing::cli::test_support {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliRun RunIn(const std::filesystem::path& workingDirectory,
                    const std::vector<std::string>& args, NetworkLimits limits = {}) {
  std::ostringstream out, err;
  Context context{{workingDirectory}, out, err, limits};
  CliRun run;
  run.status = RunCli(args, context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// A fresh folder under the temp directory, removed with its contents at the end of scope.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "langxing-cli-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace langxing::cli::test_support
