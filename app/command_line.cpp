// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.hpp"

#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>

#include "core/portal.hpp"
#include "core/text.hpp"

namespace {

// Qt's options that take the next argument as their value (also written -name=value).
constexpr std::array<std::string_view, 15> QtOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "geometry",
    "qwindowtitle",    "title",
    "qwindowicon",     "icon",
    "display",         "name",
    "session",         "style",
    "stylesheet"};
// Qt's options that stand alone.
constexpr std::array<std::string_view, 6> QtFlags = {"reverse", "widgetcount", "nograb",
                                                     "dograb",  "sync",        "testability"};
// From here on, every argument is the web engine's.
constexpr std::string_view WebEngineArguments = "--webEngineArgs";

constexpr std::string_view UsageLine = "usage: langxing [--version] [--help] [Qt options]\n";
constexpr std::string_view Usage =
    "\n"
    "Reads the news of the Sina portal in one window.\n"
    "\n"
    "The channel file chan.dll is read from the first of: the working directory, the\n"
    "program's folder, $XDG_DATA_HOME/langxing/ (~/.local/share/langxing/), langxing/ under\n"
    "each folder of $XDG_DATA_DIRS (/usr/local/share, /usr/share).\n"
    "The window's settings are kept in $XDG_CONFIG_HOME/langxing/langxing.conf\n"
    "(~/.config/langxing/langxing.conf).\n"
    "\n"
    "Environment:\n"
    "  http_proxy, https_proxy, no_proxy   the proxies pages are fetched through\n"
    "  CURL_CA_BUNDLE                      a PEM bundle of certificates to trust for https\n"
    "  XDG_DATA_HOME, XDG_DATA_DIRS        where chan.dll is looked for\n"
    "  XDG_CONFIG_HOME                     where the settings are kept\n"
    "\n"
    "  --version   print the version and exit\n"
    "  --help      print this text and exit\n";

// The option's name without its dashes and without "=value".
std::string_view OptionName(std::string_view arg) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

template <std::size_t N>
bool Names(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--version") {
      out << "langxing " << langxing::Utf16ToUtf8(langxing::ProgramVersion) << '\n' << std::flush;
      return 0;
    }
    if (arg == "--help" || arg == "-h") {
      out << UsageLine << Usage << std::flush;
      return 0;
    }
    if (arg == WebEngineArguments) break;
    if (arg.size() > 1 && arg.starts_with('-') && arg != "--") {
      const std::string_view name = OptionName(arg);
      if (Names(QtFlags, name) || name.starts_with("qmljsdebugger")) continue;
      if (Names(QtOptionsWithValue, name)) {
        if (arg.find('=') == std::string_view::npos) ++i;  // its value
        continue;
      }
    }
    err << "langxing: unknown argument " << arg << '\n' << UsageLine << std::flush;
    return UsageErrorExit;
  }
  return std::nullopt;
}
