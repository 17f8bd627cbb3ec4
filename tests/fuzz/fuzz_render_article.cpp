// SPDX-License-Identifier: GPL-3.0-or-later
// RenderArticle with the page, the address and the options taken from the input.
#include <iterator>

#include "core/text.hpp"
#include "reader/render_article.hpp"
#include "tests/fuzz/fuzz_input.hpp"

namespace {

class FixedDownloader final : public langxing::Downloader {
 public:
  explicit FixedDownloader(std::u16string page) : page_(std::move(page)) {}
  std::u16string DownloadText(std::u16string_view, std::u16string_view) override { return page_; }

 private:
  std::u16string page_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  static const char16_t* const kUrls[] = {u"http://news.sina.com.cn/c/2010-05-01/1.shtml",
                                          u"http://blog.sina.com.cn/s/blog_1.html",
                                          u"http://auto.sina.com.cn/news/2010-05-01/1.shtml",
                                          u"http://www.example.org/a.html",
                                          u"",
                                          u"https://slide.news.sina.com.cn/w/slide_1.html",
                                          u"https://video.sina.com.cn/p/1.html",
                                          u"https://news.sina.cn/gn/detail-i1.d.html"};
  constexpr std::size_t kUrlCount = std::size(kUrls);
  const std::uint8_t choice = in.Byte();
  ReaderSettings settings;
  settings.showImages = in.Byte();
  settings.showVideo = in.Byte();
  settings.fontSize = static_cast<std::int16_t>(in.Byte() | (in.Byte() << 8));
  settings.backgroundColour = Utf8ToUtf16(in.Piece(16));
  const std::u16string url = choice < kUrlCount * 25 ? std::u16string(kUrls[choice % kUrlCount])
                                                     : Utf8ToUtf16(in.Piece(64));
  FixedDownloader downloader(Utf8ToUtf16(in.Rest()));
  const auto page = RenderArticle(url, settings, downloader, [](std::u16string_view) {});
  (void)page;
  return 0;
}
