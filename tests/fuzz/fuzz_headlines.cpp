// Headline parsing of arbitrary body markup.
#include "core/text.hpp"
#include "headlines/headlines.hpp"
#include "tests/fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  const bool ownMarker = in.Byte() & 1;
  const std::u16string marker = ownMarker ? Utf8ToUtf16(in.Piece(64))
                                          : std::u16string(DefaultTitleStartMarker);
  const auto entries = ParseHeadlines(Utf8ToUtf16(in.Rest()), marker);
  for (const auto& entry : entries) {
    if (entry == u";") __builtin_trap();
  }
  return 0;
}
