// SPDX-License-Identifier: GPL-3.0-or-later
// langxing-cli: the terminal companion of the news reader.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.hpp"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::error_code ec;
  langxing::cli::Context context{std::filesystem::current_path(ec), std::cout, std::cerr};
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = langxing::cli::RunCli(args, context);
  std::cout.flush();
  return status;
}
