// SPDX-License-Identifier: GPL-3.0-or-later
// Announcement parsing and the download-address check on arbitrary text.
#include "core/text.hpp"
#include "update/announcement.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  const std::u16string text =
      Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  if (const auto announcement = ParseAnnouncement(text)) {
    (void)VerdictOf(*announcement);
    if (IsOpenableDownloadAddress(announcement->downloadUrl) &&
        announcement->downloadUrl.find(u' ') != std::u16string::npos)
      __builtin_trap();  // an address with a space is never handed on
  }
  (void)IsOpenableDownloadAddress(text);
  return 0;
}
