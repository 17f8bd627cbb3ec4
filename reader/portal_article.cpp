// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/portal_article.hpp"

#include "core/ascii.hpp"
#include "core/html_element.hpp"
#include "core/portal.hpp"
#include "reader/main_text.hpp"
#include "reader/page_utf8.hpp"
#include "reader/slide_article.hpp"
#include "reader/today_article.hpp"
#include "reader/video_article.hpp"

namespace langxing {

namespace {

struct Address {
  std::u16string host;  // lower case, without user and port
  std::u16string_view path;
};

Address AddressOf(std::u16string_view url) {
  Address address;
  const std::size_t scheme = url.find(u"://");
  if (scheme == std::u16string_view::npos) return address;
  const std::size_t start = scheme + 3;
  std::size_t end = url.find_first_of(u"/?#", start);
  if (end == std::u16string_view::npos) end = url.size();
  std::u16string_view authority = url.substr(start, end - start);
  if (const std::size_t at = authority.rfind(u'@'); at != std::u16string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  if (const std::size_t colon = authority.find(u':'); colon != std::u16string_view::npos) {
    authority = authority.substr(0, colon);
  }
  address.host = ascii::LowerAscii(authority);
  address.path = url.substr(end);
  return address;
}

bool IsUnder(std::u16string_view host, std::u16string_view domain) {
  if (domain.empty()) return false;
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == u'.';
}

// slide.<channel>.sina.com.cn
bool IsSlidePage(const Address& address) {
  return address.host.starts_with(u"slide.") && IsUnder(address.host, PortalDomain);
}

// video.sina.com.cn/p/…
bool IsVideoPage(const Address& address) {
  return IsUnder(address.host, PortalVideoHost) && address.path.starts_with(u"/p/");
}

}  // namespace

bool IsMobilePortalAddress(std::u16string_view url) {
  return IsUnder(AddressOf(url).host, PortalMobileDomain);
}

std::u16string PortalArticle(const DownloadedPage& page, std::u16string_view url, bool showVideo) {
  const HtmlPage html(PageAsUtf8(page));
  std::u16string article = TodayArticle(html);
  if (!article.empty()) return article;
  const Address address = AddressOf(url);
  if (IsSlidePage(address)) article = SlideArticle(html);
  if (IsVideoPage(address)) article = VideoArticle(html, url, showVideo);
  if (!article.empty()) return article;
  return MainTextArticle(html);
}

}  // namespace langxing
