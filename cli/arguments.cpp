// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.hpp"

#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/text.hpp"

namespace langxing::cli {
namespace {

struct CommandInfo {
  std::string_view name;
  Command command;
  std::string_view usage;
};

constexpr CommandInfo kCommands[] = {
    {"catalog", Command::Catalog,
     "Usage: langxing-cli catalog [DIR]\n"
     "Prints the catalog read from DIR/chan.dll, or from the first chan.dll found in the\n"
     "working directory, beside the program, in $XDG_DATA_HOME/langxing\n"
     "(~/.local/share/langxing) or in each folder of $XDG_DATA_DIRS + /langxing:\n"
     "the root, each category indented two spaces, each channel four.\n"
     "Exit status: 0, or 1 when chan.dll is missing.\n"},
    {"headlines", Command::Headlines,
     "Usage: langxing-cli headlines [--verbose] CHANNEL\n"
     "       langxing-cli headlines [--verbose] --url URL\n"
     "Loads the headline page of CHANNEL (the first line of chan.dll that contains it;\n"
     "chan.dll is found as by catalog) or of URL and prints one headline entry (title;link)\n"
     "a line. A roll page of today's portal (https://news.sina.com.cn/roll/#pageid=P&lid=L)\n"
     "or the roll feed's own address lists the feed's items (title;url=ADDRESS).\n"
     "Exit status: 0, 1 when chan.dll is missing or no line of it holds CHANNEL,\n"
     "3 when the page could not be loaded.\n"},
    {"inner-html", Command::InnerHtml,
     "Usage: langxing-cli inner-html URL\n"
     "Prints the page body's innerHTML exactly as the hidden views serialise it.\n"
     "Exit status: 0, or 3 when the page could not be loaded.\n"},
    {"inner-text", Command::InnerText,
     "Usage: langxing-cli inner-text URL\n"
     "Prints the page body's innerText exactly as the hidden views serialise it.\n"
     "Exit status: 0, or 3 when the page could not be loaded.\n"},
    {"article", Command::Article,
     "Usage: langxing-cli article [--verbose] URL [--images N] [--video N] [--colour TEXT] [--size "
     "N]\n"
     "Prints the reader page of the article at URL, byte for byte (no newline added).\n"
     "  --images N    0 hides images (default 1)\n"
     "  --video N     0 hides video players (default 0)\n"
     "  --colour TEXT background colour text, used verbatim (default 0)\n"
     "  --size N      font size in pixels (default 14)\n"
     "Exit status: 0 for a reader page, 2 for the failure page, 3 when the page could not\n"
     "be loaded.\n"},
    {"check-update", Command::CheckUpdate,
     "Usage: langxing-cli check-update [--verbose] [--url URL]\n"
     "Reads the update announcement and prints \"current\", \"outdated\" followed by the\n"
     "announcement's message and download address on the next two lines, or \"none\"\n"
     "when the page holds no announcement. Opens nothing.\n"
     "Exit status: 0, or 3 when the page could not be loaded.\n"},
};

constexpr std::string_view kGeneralUsage =
    "Usage: langxing-cli COMMAND [OPTIONS]\n"
    "       langxing-cli --version | --help\n"
    "Commands:\n"
    "  catalog [DIR]               print the channel catalog\n"
    "  headlines CHANNEL           print the headlines of a channel\n"
    "  headlines --url URL         print the headlines of a listing page\n"
    "  inner-html URL              print the page body's innerHTML\n"
    "  inner-text URL              print the page body's innerText\n"
    "  article URL [OPTIONS]       print the reader page of an article\n"
    "  check-update [--url URL]    check the update announcement\n"
    "Commands that load pages take --verbose to print status texts on stderr.\n"
    "Run 'langxing-cli COMMAND --help' for a command's options and exit statuses.\n"
    "Every command exits with 64 for wrong arguments and 74 when its output cannot be written.\n";

const CommandInfo* FindCommand(std::string_view name) {
  for (const auto& info : kCommands) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

template <typename Int>
std::optional<Int> ParseInteger(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(value);
}

// Walks the words after the command name: options (with "--name VALUE" or "--name=VALUE")
// and positional words; "--" makes every later word positional.
class WordReader {
 public:
  WordReader(const std::vector<std::string>& args, std::size_t first) : args_(args), next_(first) {}

  bool Done() const { return next_ >= args_.size(); }

  // The next word; sets `isOption` and splits "--name=value".
  std::string Take(bool& isOption, std::optional<std::string>& inlineValue) {
    std::string word = args_[next_++];
    inlineValue.reset();
    isOption = false;
    if (!positionalOnly_ && word == "--") {
      positionalOnly_ = true;
      return Done() ? std::string{} : Take(isOption, inlineValue);
    }
    if (!positionalOnly_ && word.size() > 1 && word[0] == '-') {
      isOption = true;
      const auto eq = word.find('=');
      if (word.starts_with("--") && eq != std::string::npos) {
        inlineValue = word.substr(eq + 1);
        word.resize(eq);
      }
    }
    return word;
  }

  std::optional<std::string> Value(std::optional<std::string>& inlineValue) {
    if (inlineValue) return std::exchange(inlineValue, std::nullopt);
    if (Done()) return std::nullopt;
    return args_[next_++];
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_;
  bool positionalOnly_ = false;
};

ParseOutcome Fail(std::string command, std::string error) {
  return ParseOutcome{std::nullopt, std::move(error), std::move(command)};
}

}  // namespace

std::string UsageText(std::string_view command) {
  if (const auto* info = FindCommand(command)) return std::string(info->usage);
  return std::string(kGeneralUsage);
}

ParseOutcome ParseArguments(const std::vector<std::string>& given) {
  // "--verbose" may also stand before the command name; it is judged as if given after it.
  std::vector<std::string> args = given;
  std::size_t leadingVerbose = 0;
  while (leadingVerbose < args.size() && args[leadingVerbose] == "--verbose") ++leadingVerbose;
  args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(leadingVerbose));
  if (leadingVerbose > 0 && !args.empty()) args.insert(args.begin() + 1, "--verbose");
  if (args.empty()) return Fail("", "no command given");
  const std::string& first = args[0];
  if (first == "--help" || first == "-h" || first == "help") {
    Request request;
    request.command = Command::Help;
    if (args.size() > 1 && FindCommand(args[1])) request.helpTopic = args[1];
    return ParseOutcome{request, {}, {}};
  }
  if (first == "--version") {
    if (args.size() > 1) return Fail("", "--version takes no arguments");
    Request request;
    request.command = Command::Version;
    return ParseOutcome{request, {}, {}};
  }
  const CommandInfo* info = FindCommand(first);
  if (!info) {
    if (first.starts_with("-")) return Fail("", "unknown option '" + first + "'");
    return Fail("", "unknown command '" + first + "'");
  }

  Request request;
  const std::string name(info->name);
  // Asking for help wins over whatever else is wrong on the line.
  for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      request.command = Command::Help;
      request.helpTopic = name;
      return ParseOutcome{request, {}, {}};
    }
  }
  request.command = info->command;
  std::vector<std::string> positional;
  WordReader reader(args, 1);
  while (!reader.Done()) {
    bool isOption = false;
    std::optional<std::string> inlineValue;
    std::string word = reader.Take(isOption, inlineValue);
    if (!isOption) {
      positional.push_back(std::move(word));
      continue;
    }
    const bool loadsPages = info->command != Command::Catalog;
    if (word == "--verbose" && loadsPages && !inlineValue) {
      request.verbose = true;
      continue;
    }
    const bool takesUrl =
        info->command == Command::Headlines || info->command == Command::CheckUpdate;
    const bool isArticleOption =
        info->command == Command::Article &&
        (word == "--images" || word == "--video" || word == "--colour" || word == "--size");
    if (!(takesUrl && word == "--url") && !isArticleOption) {
      return Fail(name, "unknown option '" + word + "'");
    }
    std::optional<std::string> value = reader.Value(inlineValue);
    if (!value) return Fail(name, "option '" + word + "' needs a value");
    if (word == "--url") {
      if (request.url) return Fail(name, "--url given twice");
      request.url = std::move(*value);
    } else if (word == "--colour") {
      request.reader.backgroundColour = Utf8ToUtf16(*value);
    } else if (word == "--size") {
      auto size = ParseInteger<std::int16_t>(*value);
      if (!size) return Fail(name, "--size needs a whole number from -32768 to 32767");
      request.reader.fontSize = *size;
    } else {
      auto flag = ParseInteger<std::uint8_t>(*value);
      if (!flag) return Fail(name, word + " needs a whole number from 0 to 255");
      (word == "--images" ? request.reader.showImages : request.reader.showVideo) = *flag;
    }
  }

  switch (info->command) {
    case Command::Catalog:
      if (positional.size() > 1) return Fail(name, "too many arguments");
      if (!positional.empty()) request.directory = positional[0];
      break;
    case Command::Headlines:
      if (request.url && !positional.empty()) {
        return Fail(name, "give either CHANNEL or --url URL, not both");
      }
      if (!request.url && positional.size() != 1) {
        return Fail(name,
                    positional.empty() ? "CHANNEL or --url URL is missing" : "too many arguments");
      }
      if (!request.url) request.channel = positional[0];
      break;
    case Command::CheckUpdate:
      if (!positional.empty()) return Fail(name, "too many arguments");
      break;
    default:  // inner-html, inner-text, article: exactly one URL
      if (positional.size() != 1) {
        return Fail(name, positional.empty() ? "URL is missing" : "too many arguments");
      }
      request.url = positional[0];
      break;
  }
  return ParseOutcome{request, {}, {}};
}

}  // namespace langxing::cli
