// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of langxing-cli, each over the same logic the window uses. Every command
// writes its result to `out`, errors and (with --verbose) status texts to `err`, and returns
// the process exit status. Every error text starts with "langxing-cli: ".
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "core/http.hpp"

namespace langxing::cli {

// Exit statuses beyond 0.
inline constexpr int ExitNotFound = 1;       // chan.dll is missing, or no line holds the channel
inline constexpr int ExitArticleFailed = 2;  // article: the result is the failure page
inline constexpr int ExitLoadFailed = 3;     // the page could not be loaded at all
inline constexpr int ExitUsage = 64;         // the arguments make no sense
inline constexpr int ExitOutputFailed = 74;  // the output could not be written

struct Context {
  // Where chan.dll is looked for, in order (catalog/channel_file_places.hpp).
  std::vector<std::filesystem::path> channelFolders;
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

// Parses `args` (the words after the program name) and runs the command they name; a failed
// write to `out` ends it with ExitOutputFailed.
int RunCli(const std::vector<std::string>& args, Context& context);

}  // namespace langxing::cli
