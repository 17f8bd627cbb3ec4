// SPDX-License-Identifier: GPL-3.0-or-later
// langxing-cli: the terminal companion of the news reader.
#include <iostream>
#include <string>
#include <vector>

#include "catalog/channel_file_places.hpp"
#include "cli/commands.hpp"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  langxing::cli::Context context{langxing::ChannelFileFoldersOfProcess(), std::cout, std::cerr};
  const std::vector<std::string> args(argv + 1, argv + argc);
  return langxing::cli::RunCli(args, context);
}
