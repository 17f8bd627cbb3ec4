// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_document.hpp"

#include "core/ascii.hpp"
#include "core/html_charset.hpp"
#include "core/html_nesting.hpp"

namespace langxing {

namespace {

// A response the server itself marks as an image, a sound or a video is not a page.
bool IsMediaType(std::string_view contentType) {
  while (!contentType.empty() && (contentType.front() == ' ' || contentType.front() == '\t')) {
    contentType.remove_prefix(1);
  }
  return ascii::StartsWithIgnoringCase(contentType, "image/") ||
         ascii::StartsWithIgnoringCase(contentType, "audio/") ||
         ascii::StartsWithIgnoringCase(contentType, "video/");
}

}  // namespace

BodyTexts BodyTextsOfPage(std::string_view bytes, std::string_view contentType,
                          const std::atomic<bool>* cancel, BodyParts parts) {
  if (IsMediaType(contentType)) return {};
  // The parser is given at most maxBytes of UTF-8; no byte decodes to less than half a byte of
  // it (UTF-16 takes two bytes a character), so the rest need not be decoded at all.
  const std::string html =
      DecodePageToUtf8(bytes.substr(0, 2 * html::MarkupLimits{}.maxBytes), contentType);
  if (cancel != nullptr && cancel->load()) return {};
  return SerializeBodyUtf8(html, cancel, parts);
}

}  // namespace langxing
