// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/roll_feed_address.hpp"

#include <algorithm>

#include "core/ascii.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"

namespace langxing {
namespace {

struct AddressParts {
  std::u16string scheme;  // "http" or "https", lower case
  std::u16string host;    // lower case, without port
  std::u16string port;    // as written, with its ":"; empty when none
  std::u16string_view path;
  std::u16string_view query;     // without "?"
  std::u16string_view fragment;  // without "#"
};

std::optional<AddressParts> SplitAddress(std::u16string_view address) {
  AddressParts parts;
  const std::size_t colon = address.find(u"://");
  if (colon == std::u16string_view::npos) return std::nullopt;
  parts.scheme = ascii::LowerAscii(address.substr(0, colon));
  if (parts.scheme != u"http" && parts.scheme != u"https") return std::nullopt;
  std::u16string_view rest = address.substr(colon + 3);
  const std::size_t authorityEnd = std::min(rest.find_first_of(u"/?#"), rest.size());
  const std::u16string_view authority = rest.substr(0, authorityEnd);
  // A user name in the address is no portal page a person copies from a browser.
  if (authority.find(u'@') != std::u16string_view::npos) return std::nullopt;
  const std::size_t portColon = authority.find(u':');
  parts.host = ascii::LowerAscii(authority.substr(0, portColon));
  if (portColon != std::u16string_view::npos) parts.port = authority.substr(portColon);
  if (parts.host.empty()) return std::nullopt;
  rest = rest.substr(authorityEnd);
  const std::size_t hash = rest.find(u'#');
  if (hash != std::u16string_view::npos) {
    parts.fragment = rest.substr(hash + 1);
    rest = rest.substr(0, hash);
  }
  const std::size_t question = rest.find(u'?');
  if (question != std::u16string_view::npos) {
    parts.query = rest.substr(question + 1);
    rest = rest.substr(0, question);
  }
  parts.path = rest;
  return parts;
}

// The value of the first `name=value` among the "&"-separated pairs, if any.
std::optional<std::u16string_view> ParameterOf(std::u16string_view pairs,
                                               std::u16string_view name) {
  while (!pairs.empty()) {
    const std::size_t amp = std::min(pairs.find(u'&'), pairs.size());
    const std::u16string_view pair = pairs.substr(0, amp);
    if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
        pair[name.size()] == u'=')
      return pair.substr(name.size() + 1);
    pairs = amp < pairs.size() ? pairs.substr(amp + 1) : std::u16string_view();
  }
  return std::nullopt;
}

// A positive decimal number of at most nine digits, without leading zeros.
bool IsFeedNumber(std::u16string_view value) {
  if (value.empty() || value.size() > 9 || value.front() == u'0') return false;
  for (char16_t c : value)
    if (c < u'0' || c > u'9') return false;
  return true;
}

std::optional<std::u16string> FeedQueryOf(std::u16string_view pairs) {
  const auto pageid = ParameterOf(pairs, u"pageid");
  const auto lid = ParameterOf(pairs, u"lid");
  if (!pageid || !lid || !IsFeedNumber(*pageid) || !IsFeedNumber(*lid)) return std::nullopt;
  const auto num = ParameterOf(pairs, u"num");
  const auto page = ParameterOf(pairs, u"page");
  std::u16string query = u"pageid=";
  query += *pageid;
  query += u"&lid=";
  query += *lid;
  query += u"&k=&num=";
  query += num && IsFeedNumber(*num) ? *num : RollFeedDefaultNum;
  query += u"&page=";
  query += page && IsFeedNumber(*page) ? *page : RollFeedDefaultPage;
  return query;
}

std::u16string FeedHost() { return u"feed.mix." + std::u16string(PortalDomain); }

bool IsOnPortal(std::u16string_view host) {
  const std::u16string domain(PortalDomain);
  return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                            host[host.size() - domain.size() - 1] == u'.');
}

std::u16string FeedUrl(const AddressParts& page, std::u16string_view query) {
  return page.scheme + u"://" + FeedHost() + std::u16string(RollFeedPath) + u"?" +
         std::u16string(query);
}

}  // namespace

std::optional<RollFeedRequest> RollFeedRequestOf(std::u16string_view address) {
  const std::u16string trimmed = TrimSpaces(address);
  const auto parts = SplitAddress(trimmed);
  if (!parts || !IsOnPortal(parts->host)) return std::nullopt;

  const bool isFeed = parts->host == FeedHost() && parts->path == RollFeedPath;
  const auto query = FeedQueryOf(isFeed ? parts->query : parts->fragment);
  if (!query) return std::nullopt;

  RollFeedRequest request;
  request.feedUrl = FeedUrl(*parts, *query);
  // The feed's own address says nothing of a page: it is the news roll's feed.
  request.referer = isFeed ? u"https://news." + std::u16string(PortalDomain) + u"/"
                           : parts->scheme + u"://" + parts->host + parts->port + u"/";
  return request;
}

std::optional<RollFeedRequest> RollFeedRequestNamedByPage(std::u16string_view pageAddress,
                                                          std::u16string_view pageid,
                                                          std::u16string_view lid) {
  if (!IsFeedNumber(pageid) || !IsFeedNumber(lid)) return std::nullopt;
  const std::u16string trimmed = TrimSpaces(pageAddress);
  const auto parts = SplitAddress(trimmed);
  if (!parts || !IsOnPortal(parts->host)) return std::nullopt;
  const auto query =
      FeedQueryOf(u"pageid=" + std::u16string(pageid) + u"&lid=" + std::u16string(lid));
  if (!query) return std::nullopt;
  RollFeedRequest request;
  request.feedUrl = FeedUrl(*parts, *query);
  const std::size_t hash = trimmed.find(u'#');
  request.referer = trimmed.substr(0, hash);
  return request;
}

}  // namespace langxing
