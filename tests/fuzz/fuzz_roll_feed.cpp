// SPDX-License-Identifier: GPL-3.0-or-later
// Today's roll feed: arbitrary bytes as the feed's answer, as a channel address and as a page
// that may name its feed. Every entry must open the http(s) address it was made for, and no
// title may hold the "url=" that opening looks for; a page names only the portal's feed.
#include "core/text.hpp"
#include "headlines/roll_feed.hpp"
#include "headlines/roll_feed_address.hpp"
#include "headlines/roll_feed_page.hpp"
#include "reader/article_address.hpp"
#include "tests/fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::u16string& entry : RollFeedEntries(bytes)) {
    const std::size_t link = entry.find(u";url=");
    if (link == std::u16string::npos || entry.find(u"url=") != link + 1) __builtin_trap();
    const auto url = ArticleUrlOfItem(entry);
    if (!url || url->find(u"://") == std::u16string::npos) __builtin_trap();
  }
  if (const auto request = RollFeedRequestOf(Utf8ToUtf16(bytes))) {
    if (!request->feedUrl.starts_with(u"http") || !request->referer.ends_with(u"/"))
      __builtin_trap();
  }
  if (const auto request = RollFeedRequestOfPage(u"https://news.sina.com.cn/china/", bytes)) {
    if (!request->feedUrl.starts_with(u"https://feed.mix.sina.com.cn/api/roll/get?pageid=") ||
        request->referer != u"https://news.sina.com.cn/china/")
      __builtin_trap();
  }
  return 0;
}
