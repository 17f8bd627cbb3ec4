// SPDX-License-Identifier: GPL-3.0-or-later
// ExtractBetween and the other text primitives on arbitrary code units.
#include <cstdlib>

#include "core/text.hpp"
#include "tests/fuzz/fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  const std::u16string start = fuzz::CodeUnits(in.Piece(16));
  const std::u16string end = fuzz::CodeUnits(in.Piece(16));
  const std::u16string text = fuzz::CodeUnits(in.Rest());

  const std::u16string between = ExtractBetween(text, start, end);
  // The result is always a piece of the text before the first end marker.
  if (between.size() > text.size()) std::abort();
  if (!between.empty() && text.find(between) == std::u16string::npos) std::abort();

  const auto pieces = SplitAll(text, end);
  std::size_t total = 0;
  for (const auto& p : pieces) total += p.size();
  if (!end.empty() && !pieces.empty() && total + (pieces.size() - 1) * end.size() != text.size())
    std::abort();

  const std::u16string replaced = ReplaceAll(text, start, end);
  if (start.empty() && replaced != text) std::abort();
  const std::u16string trimmed = TrimSpaces(text);
  if (trimmed.size() > text.size()) std::abort();
  (void)Utf16ToUtf8(text);
  return 0;
}
