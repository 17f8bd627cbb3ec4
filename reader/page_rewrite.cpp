#include "reader/page_rewrite.hpp"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace langxing {

namespace {

bool MiddleMatches(const char16_t* at, std::u16string_view needle) {
  // First and last code units are already known to match.
  return needle.size() <= 2 ||
         std::memcmp(at + 1, needle.data() + 1, (needle.size() - 2) * sizeof(char16_t)) == 0;
}

}  // namespace

std::size_t FindText(std::u16string_view text, std::u16string_view needle, std::size_t from) {
  const std::size_t n = needle.size();
  if (from > text.size()) return std::u16string_view::npos;
  if (n == 0) return from;
  if (n > text.size() - from) return std::u16string_view::npos;
  const char16_t* const data = text.data();
  const std::size_t lastStart = text.size() - n;  // the last index a match can start at
  const char16_t first = needle.front();
  const char16_t last = needle.back();
  std::size_t i = from;
#if defined(__SSE2__)
  // Eight candidate starts at a time: both the first and the last code unit must match.
  const __m128i firstV = _mm_set1_epi16(static_cast<short>(first));
  const __m128i lastV = _mm_set1_epi16(static_cast<short>(last));
  for (; i + 7 <= lastStart; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, firstV), _mm_cmpeq_epi16(b, lastV))));
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      const std::size_t at = i + bit / 2;
      if (MiddleMatches(data + at, needle)) return at;
      mask &= ~(3u << bit);
    }
  }
#endif
  for (; i <= lastStart; ++i) {
    if (data[i] == first && data[i + n - 1] == last && MiddleMatches(data + i, needle)) return i;
  }
  return std::u16string_view::npos;
}

void ReplaceEvery(std::u16string& text, std::u16string_view find, std::u16string_view replacement) {
  if (find.empty()) return;
  std::size_t at = FindText(text, find);
  if (at == std::u16string::npos) return;
  if (replacement.size() <= find.size()) {
    // Shrinking or equal: compact in place.
    std::size_t write = at;
    std::size_t read = at;
    while (at != std::u16string::npos) {
      if (write != read) std::memmove(&text[write], &text[read], (at - read) * sizeof(char16_t));
      write += at - read;
      std::memcpy(&text[write], replacement.data(), replacement.size() * sizeof(char16_t));
      write += replacement.size();
      read = at + find.size();
      at = FindText(text, find, read);
    }
    std::memmove(&text[write], &text[read], (text.size() - read) * sizeof(char16_t));
    text.resize(write + text.size() - read);
    return;
  }
  std::u16string out;
  out.reserve(text.size() + (replacement.size() - find.size()) * 16);
  std::size_t read = 0;
  while (at != std::u16string::npos) {
    out.append(text, read, at - read);
    out.append(replacement);
    read = at + find.size();
    at = FindText(text, find, read);
  }
  out.append(text, read, std::u16string::npos);
  text.swap(out);
}

}  // namespace langxing
