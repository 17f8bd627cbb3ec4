// SPDX-License-Identifier: GPL-3.0-or-later
// Headline parsing of arbitrary body markup, and of whole pages through the hidden view's
// serialiser as the window scrapes them.
#include "core/html_document.hpp"
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "tests/fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  const std::uint8_t choice = in.Byte();
  const bool ownMarker = choice & 1;
  const bool wholePage = choice & 2;
  const std::u16string marker =
      ownMarker ? Utf8ToUtf16(in.Piece(64)) : std::u16string(DefaultTitleStartMarker);
  const std::string_view rest = in.Rest();
  const std::u16string body =
      wholePage ? BodyTextsOfPage(rest, "text/html").innerHtml : Utf8ToUtf16(rest);
  const auto entries = ParseHeadlines(body, marker);
  for (const auto& entry : entries) {
    if (entry == u";") __builtin_trap();
  }
  return 0;
}
