// SPDX-License-Identifier: GPL-3.0-or-later
// Page bytes through decoding, parsing and serialising of the body.
#include "core/html_document.hpp"
#include "tests/fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  static const char* const kContentTypes[] = {"", "text/html", "text/html; charset=utf-8",
                                              "text/html; charset=gb2312", "text/html; charset=x"};
  const char* contentType = kContentTypes[in.Byte() % 5];
  const auto texts = BodyTextsOfPage(in.Rest(), contentType);
  (void)texts;
  return 0;
}
