// SPDX-License-Identifier: GPL-3.0-or-later
// Where the channel file chan.dll is looked for: the working directory, the program's own
// folder, then the user's and the system's data folders (the XDG base directories).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

// The value of an environment variable; none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The folders to look in, in order: `workingDirectory`, `programDirectory`,
// $XDG_DATA_HOME/langxing (unset or empty: $HOME/.local/share/langxing), then each folder of
// $XDG_DATA_DIRS (unset or empty: /usr/local/share:/usr/share) + /langxing. Empty and relative
// entries are skipped, as is a folder already listed.
std::vector<std::filesystem::path> ChannelFileFolders(const std::filesystem::path& workingDirectory,
                                                      const std::filesystem::path& programDirectory,
                                                      const EnvironmentLookup& environment);

// The same for this process: its current directory, the folder of its executable and its
// environment.
std::vector<std::filesystem::path> ChannelFileFoldersOfProcess();

// The first of `folders` that holds chan.dll as a plain file; none when no folder does.
std::optional<std::filesystem::path> FindChannelFolder(
    const std::vector<std::filesystem::path>& folders);

// The folders joined by ", ", for messages that say where the file was looked for.
std::string FolderListText(const std::vector<std::filesystem::path>& folders);

}  // namespace langxing
