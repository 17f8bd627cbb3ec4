// SPDX-License-Identifier: GPL-3.0-or-later
// The program: --version and --help answered without a display, else one window, started with
// its load handler, then the event loop.
#include <iostream>

#include "app/command_line.hpp"
#include "app/program.hpp"

int main(int argc, char** argv) {
  if (const std::optional<int> answered = AnswerCommandLine(argc, argv, std::cout, std::cerr))
    return *answered;
  return RunProgram(argc, argv);
}
