// SPDX-License-Identifier: GPL-3.0-or-later
// Memory over a long run of reading: the window opens `opens` articles one after the other and
// reports the proportional set size of its process tree (the program and the web engine's
// helper processes) at checkpoints; a bare web view then loads the same reader pages and reports
// the same. Each side runs in a process of its own, started by this one, which serves the pages.
#pragma once

#include <string>

namespace windowbench {

// The driver: serves the pages, runs both sides in turn, prints their figures.
int MemoryRow(const std::string& self, int opens);
// The two sides, started by MemoryRow with the portal's port.
int MemoryWindowSide(int argc, char** argv, int port, int opens);
int MemoryFloorSide(int argc, char** argv, int port, int opens, int width, int height);

}  // namespace windowbench
