// SPDX-License-Identifier: GPL-3.0-or-later
// What the programs say when no folder holds the channel file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

// The window's message box says this alone.
inline constexpr std::u16string_view MissingChannelFileMessage = u"错误！软件缺少必要文件";

// "PROGRAM: 错误！软件缺少必要文件 (no chan.dll in FOLDER, FOLDER, ...)" with a newline, for
// stderr; "any folder" when none was searched.
std::string MissingChannelFileLine(std::string_view program,
                                   const std::vector<std::filesystem::path>& folders);

}  // namespace langxing
