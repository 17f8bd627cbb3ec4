// SPDX-License-Identifier: GPL-3.0-or-later
// The page the window's article view shows when no channel file was found: where the file goes.
// (The line on stderr is catalog/missing_channel_file's.)
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The page shown in the article view: the folders a channel file is read from, in order.
std::u16string MissingChannelFilePage(const std::vector<std::filesystem::path>& folders);
