// SPDX-License-Identifier: GPL-3.0-or-later
// Command-line parsing for langxing-cli: turns argv into one request, or into a usage error.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/render_article.hpp"

namespace langxing::cli {

enum class Command {
  Help,  // general help or the help of one command (helpTopic)
  Version,
  Catalog,
  Headlines,
  InnerHtml,
  InnerText,
  Article,
  CheckUpdate,
};

struct Request {
  Command command = Command::Help;
  std::string helpTopic;                 // for Help: "" for the general text, else a command name
  bool verbose = false;                  // status texts on stderr
  std::optional<std::string> directory;  // catalog: where chan.dll lies
  std::optional<std::string> channel;    // headlines: the channel text (UTF-8 as given)
  std::optional<std::string> url;        // headlines --url, inner-*, article, check-update --url
  ReaderSettings reader;                 // article options
};

struct ParseOutcome {
  std::optional<Request> request;  // set when the arguments make sense
  std::string error;               // otherwise: what is wrong
  std::string command;             // the command the error belongs to ("" when none was named)
};

// `args` are the arguments after the program name, in UTF-8.
ParseOutcome ParseArguments(const std::vector<std::string>& given);

// The help text of one command, or the general one for "" or an unknown name.
std::string UsageText(std::string_view command);

}  // namespace langxing::cli
