// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the channel file chan.dll into the channel list.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

inline constexpr std::string_view ChannelFileName = "chan.dll";
// The channel list's indexes are 16-bit signed: it holds at most this many lines.
inline constexpr std::size_t MaxChannelLines = 32767;

// True when `dir`/chan.dll exists and is a plain file (a directory of that name is missing).
bool ChannelFileExists(const std::filesystem::path& dir);

// Splits file bytes into lines: CR LF, CR alone and LF alone end a line; a last line without
// a line end is read; no extra empty line after a final line end. The bytes are UTF-8 when they
// start with a UTF-8 BOM or are valid UTF-8 as a whole, else GBK. At most MaxChannelLines lines.
std::vector<std::u16string> ChannelLinesOfBytes(std::string_view bytes);

// Reads `dir`/chan.dll. A file that cannot be opened gives no lines; a read error keeps the
// lines read before it.
std::vector<std::u16string> LoadChannelFile(const std::filesystem::path& dir);

}  // namespace langxing
