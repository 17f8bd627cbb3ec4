// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/missing_channel_file.hpp"

#include "catalog/channel_file.hpp"
#include "catalog/channel_file_places.hpp"
#include "core/text.hpp"

namespace langxing {

std::string MissingChannelFileLine(std::string_view program,
                                   const std::vector<std::filesystem::path>& folders) {
  return std::string(program) + ": " + Utf16ToUtf8(MissingChannelFileMessage) + " (no " +
         std::string(ChannelFileName) + " in " +
         (folders.empty() ? std::string("any folder") : FolderListText(folders)) + ")\n";
}

}  // namespace langxing
