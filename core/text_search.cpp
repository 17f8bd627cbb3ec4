// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text_search.hpp"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LANGXING_X86_SIMD 1
#endif

namespace langxing {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool MiddleMatches(const char16_t* at, std::u16string_view needle) {
  // First and last code units are already known to match.
  return needle.size() <= 2 ||
         std::memcmp(at + 1, needle.data() + 1, (needle.size() - 2) * sizeof(char16_t)) == 0;
}

// Candidates are the starts where both the first and the last code unit of the needle match;
// only those are compared in full. Each routine returns the match index or npos, and scans
// starts i..lastStart.
std::size_t FindScalar(const char16_t* data, std::size_t i, std::size_t lastStart,
                       std::u16string_view needle) {
  const std::size_t n = needle.size();
  for (; i <= lastStart; ++i) {
    if (data[i] == needle.front() && data[i + n - 1] == needle.back() &&
        MiddleMatches(data + i, needle))
      return i;
  }
  return npos;
}

#if LANGXING_X86_SIMD
std::size_t FindSse2(const char16_t* data, std::size_t i, std::size_t lastStart,
                     std::u16string_view needle) {
  const std::size_t n = needle.size();
  const __m128i first = _mm_set1_epi16(static_cast<short>(needle.front()));
  const __m128i last = _mm_set1_epi16(static_cast<short>(needle.back()));
  for (; i + 7 <= lastStart; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, last))));
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (MiddleMatches(data + i + bit / 2, needle)) return i + bit / 2;
      mask &= ~(3u << bit);
    }
  }
  return FindScalar(data, i, lastStart, needle);
}

__attribute__((target("avx2"))) inline unsigned CandidatesAvx2(const char16_t* at, std::size_t n,
                                                               __m256i first, __m256i last) {
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + n - 1));
  return static_cast<unsigned>(_mm256_movemask_epi8(
      _mm256_and_si256(_mm256_cmpeq_epi16(a, first), _mm256_cmpeq_epi16(b, last))));
}

__attribute__((target("avx2"))) std::size_t FindAvx2(const char16_t* data, std::size_t i,
                                                     std::size_t lastStart,
                                                     std::u16string_view needle) {
  const std::size_t n = needle.size();
  const __m256i first = _mm256_set1_epi16(static_cast<short>(needle.front()));
  const __m256i last = _mm256_set1_epi16(static_cast<short>(needle.back()));
  // 64 candidate starts per round; the four masks are only looked at one by one when their
  // union is not empty, which on ordinary pages is rare.
  for (; i + 63 <= lastStart; i += 64) {
    const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
    const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 16));
    const __m256i a2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
    const __m256i a3 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 48));
    const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n - 1));
    const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n + 15));
    const __m256i b2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n + 31));
    const __m256i b3 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + n + 47));
    const __m256i m0 =
        _mm256_and_si256(_mm256_cmpeq_epi16(a0, first), _mm256_cmpeq_epi16(b0, last));
    const __m256i m1 =
        _mm256_and_si256(_mm256_cmpeq_epi16(a1, first), _mm256_cmpeq_epi16(b1, last));
    const __m256i m2 =
        _mm256_and_si256(_mm256_cmpeq_epi16(a2, first), _mm256_cmpeq_epi16(b2, last));
    const __m256i m3 =
        _mm256_and_si256(_mm256_cmpeq_epi16(a3, first), _mm256_cmpeq_epi16(b3, last));
    const __m256i any = _mm256_or_si256(_mm256_or_si256(m0, m1), _mm256_or_si256(m2, m3));
    if (_mm256_testz_si256(any, any)) continue;
    for (std::size_t block = 0; block < 64; block += 16) {
      unsigned mask = CandidatesAvx2(data + i + block, n, first, last);
      while (mask != 0) {
        const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
        if (MiddleMatches(data + i + block + bit / 2, needle)) return i + block + bit / 2;
        mask &= ~(3u << bit);
      }
    }
  }
  for (; i + 15 <= lastStart; i += 16) {
    unsigned mask = CandidatesAvx2(data + i, n, first, last);
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (MiddleMatches(data + i + bit / 2, needle)) return i + bit / 2;
      mask &= ~(3u << bit);
    }
  }
  return FindSse2(data, i, lastStart, needle);
}

bool HasAvx2() {
  // Static initialisers may run before the compiler's own CPU probe: ask it explicitly.
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

}  // namespace

std::size_t FindTextUsing(SearchPath path, std::u16string_view text, std::u16string_view needle,
                          std::size_t from) {
  const std::size_t n = needle.size();
  if (from > text.size()) return npos;
  if (n == 0) return from;
  if (n > text.size() - from) return npos;
  const std::size_t lastStart = text.size() - n;
  switch (path) {
#if LANGXING_X86_SIMD
    case SearchPath::Avx2:
      if (HasAvx2()) return FindAvx2(text.data(), from, lastStart, needle);
      [[fallthrough]];
    case SearchPath::Sse2:
      return FindSse2(text.data(), from, lastStart, needle);
#else
    case SearchPath::Avx2:
    case SearchPath::Sse2:
#endif
    case SearchPath::Scalar:
      break;
  }
  return FindScalar(text.data(), from, lastStart, needle);
}

std::size_t FindText(std::u16string_view text, std::u16string_view needle, std::size_t from) {
  return FindTextUsing(SearchPath::Avx2, text, needle, from);
}

}  // namespace langxing
