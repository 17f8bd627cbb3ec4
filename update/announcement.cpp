// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/announcement.hpp"

#include "core/ascii.hpp"
#include "core/portal.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

std::u16string ElementOf(std::u16string_view block, std::u16string_view tag,
                         std::u16string_view endTag) {
  return TrimSpaces(ExtractBetween(block, tag, endTag));
}

}  // namespace

std::optional<UpdateAnnouncement> ParseAnnouncement(std::u16string_view innerText) {
  if (!Contains(innerText, u"<new>")) return std::nullopt;
  const std::u16string block = TrimSpaces(ExtractBetween(innerText, u"<new>", u"</new>"));
  return UpdateAnnouncement{
      ElementOf(block, u"<newMsg>", u"</newMsg>"),
      ElementOf(block, u"<beta>", u"</beta>"),
      ElementOf(block, u"<newdown>", u"</newdown>"),
  };
}

UpdateVerdict VerdictOf(const UpdateAnnouncement& announcement) {
  return announcement.beta == ProgramVersion ? UpdateVerdict::UpToDate : UpdateVerdict::Outdated;
}

bool IsOpenableDownloadAddress(std::u16string_view address) {
  if (address.size() > kMaxOpenableAddressLength) return false;
  // No blanks, control characters or characters an address never holds unescaped, so the
  // text cannot be read as more than one address or argument.
  for (const char16_t c : address) {
    if (c <= 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) return false;
    if (Contains(u"\"<>\\`", std::u16string_view(&c, 1))) return false;
  }
  std::u16string_view rest;
  if (ascii::StartsWithIgnoringCase(address, u"http://")) {
    rest = address.substr(7);
  } else if (ascii::StartsWithIgnoringCase(address, u"https://")) {
    rest = address.substr(8);
  } else {
    return false;
  }
  // The authority runs to the first "/", "?" or "#"; its host part (before any port) must not
  // be empty. User information is refused: "http://news.sina.com.cn@evil.test/" names the host
  // after the "@", and only passes for the portal's address at a glance.
  const std::size_t authorityEnd = rest.find_first_of(u"/?#");
  const std::u16string_view authority = rest.substr(0, authorityEnd);
  if (authority.find(u'@') != std::u16string_view::npos) return false;
  std::u16string_view host = authority;
  if (host.starts_with(u'[')) {
    const std::size_t close = host.find(u']');
    if (close == std::u16string_view::npos || close == 1) return false;
    host = host.substr(0, close + 1);
  } else if (const std::size_t colon = host.find(u':'); colon != std::u16string_view::npos) {
    host = host.substr(0, colon);
  }
  if (host.empty()) return false;
  // A host name must hold at least one letter or digit; "http://./" or "http://-" is no address.
  for (const char16_t c : host)
    if (ascii::IsAlpha(c) || (c >= u'0' && c <= u'9') || c >= 0x80) return true;
  return false;
}

}  // namespace langxing
