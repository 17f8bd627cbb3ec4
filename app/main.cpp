// SPDX-License-Identifier: GPL-3.0-or-later
// The program: one window, started with its load handler, then the event loop.
#include "app/program.hpp"

int main(int argc, char** argv) { return RunProgram(argc, argv); }
