// SPDX-License-Identifier: GPL-3.0-or-later
// What the window says when no channel file was found: a line on stderr naming the file and
// every folder searched, and a short page for the article view saying where the file goes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// "langxing: 错误！软件缺少必要文件 (no chan.dll in FOLDER, FOLDER, ...)", with a newline.
std::string MissingChannelFileLine(const std::vector<std::filesystem::path>& folders);

// The page shown in the article view: the folders a channel file is read from, in order.
std::u16string MissingChannelFilePage(const std::vector<std::filesystem::path>& folders);
