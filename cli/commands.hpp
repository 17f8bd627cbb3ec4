// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of langxing-cli, each over the same logic the window uses. Every command
// writes its result to `out`, errors and (with --verbose) status texts to `err`, and returns
// the process exit status.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "core/http.hpp"

namespace langxing::cli {

// Exit statuses beyond 0 and 1.
inline constexpr int ExitArticleFailed = 2;  // article: the result is the failure page
inline constexpr int ExitUsage = 64;         // the arguments make no sense

struct Context {
  std::filesystem::path workingDirectory;  // where `headlines CHANNEL` looks for chan.dll
  std::ostream& out;
  std::ostream& err;
  NetworkLimits limits{};
};

int RunCatalog(const Request& request, Context& context);
int RunHeadlines(const Request& request, Context& context);
int RunInnerHtml(const Request& request, Context& context);
int RunInnerText(const Request& request, Context& context);
int RunArticle(const Request& request, Context& context);
int RunCheckUpdate(const Request& request, Context& context);

// Parses `args` (the words after the program name) and runs the command they name.
int RunCli(const std::vector<std::string>& args, Context& context);

}  // namespace langxing::cli
