// SPDX-License-Identifier: GPL-3.0-or-later
// Channel file bytes through line splitting and the catalog tree.
#include <cstdlib>

#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = ChannelLinesOfBytes(bytes);
  if (lines.size() > MaxChannelLines) std::abort();
  const CatalogNode root = BuildCatalogTree(lines);
  if (root.children.size() != CatalogCategories.size()) std::abort();
  for (const auto& line : lines) {
    (void)ChannelUrlOf(line);
    if (const auto index = FindChannelLine(lines, ChannelNameOf(line))) {
      if (*index >= lines.size()) std::abort();
    }
  }
  return 0;
}
