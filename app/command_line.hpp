// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own command line: --version and --help answer on stdout and end the
// program before any display is opened; an option that neither this program nor Qt knows is a
// usage error. Qt's own options (-platform, -style, ...) and everything after --webEngineArgs
// are left for QApplication and the web engine.
#pragma once

#include <iosfwd>
#include <optional>

// The usage error's exit status (sysexits' EX_USAGE), as the companion uses.
inline constexpr int UsageErrorExit = 64;

// Answers the command line when it asks for something that needs no window: writes the
// version or the usage to `out` (status 0), or a usage error to `err` (UsageErrorExit).
// Nothing when the window should start.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err);
