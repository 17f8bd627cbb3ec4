#include "reader/page_rewrite.hpp"

#include <cstring>
#include <vector>

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
    if (data[i] == needle.front() && data[i + n - 1] == needle.back() && MiddleMatches(data + i, needle))
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
    const __m256i m0 = _mm256_and_si256(_mm256_cmpeq_epi16(a0, first), _mm256_cmpeq_epi16(b0, last));
    const __m256i m1 = _mm256_and_si256(_mm256_cmpeq_epi16(a1, first), _mm256_cmpeq_epi16(b1, last));
    const __m256i m2 = _mm256_and_si256(_mm256_cmpeq_epi16(a2, first), _mm256_cmpeq_epi16(b2, last));
    const __m256i m3 = _mm256_and_si256(_mm256_cmpeq_epi16(a3, first), _mm256_cmpeq_epi16(b3, last));
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

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// Every match of `find`, left to right, not overlapping.
std::vector<std::size_t> MatchesOf(std::u16string_view text, std::u16string_view find) {
  std::vector<std::size_t> at;
  for (std::size_t p = FindText(text, find); p != npos; p = FindText(text, find, p + find.size()))
    at.push_back(p);
  return at;
}

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
      if (kHasAvx2) return FindAvx2(text.data(), from, lastStart, needle);
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

std::u16string_view ExtractBetweenView(std::u16string_view text, std::u16string_view startMarker,
                                       std::u16string_view endMarker) {
  if (endMarker.empty() || text.empty()) return {};
  const std::size_t e = FindText(text, endMarker);
  if (e == npos) return {};
  const std::u16string_view head = text.substr(0, e);
  // The start marker counts only when it lies wholly before the end marker. When it is missing
  // (or the head is empty), the head less its first (marker length - 1) units remains.
  std::size_t from = 0;
  if (!head.empty()) {
    const std::size_t s = FindText(head, startMarker);
    from = s == npos ? startMarker.size() - (startMarker.empty() ? 0 : 1) : s + startMarker.size();
  } else {
    from = startMarker.size() > 0 ? startMarker.size() - 1 : 0;
  }
  if (from > head.size()) return {};
  return head.substr(from);
}

void ReplaceEvery(std::u16string& text, std::u16string_view find, std::u16string_view replacement) {
  if (find.empty()) return;
  const std::vector<std::size_t> at = MatchesOf(text, find);
  if (at.empty()) return;
  const std::size_t oldSize = text.size();
  const std::size_t f = find.size();
  const std::size_t r = replacement.size();
  char16_t* data = text.data();

  if (r <= f) {
    // Shrinking or equal: compact from left to right.
    std::size_t write = at.front();
    for (std::size_t k = 0; k < at.size(); ++k) {
      std::memcpy(data + write, replacement.data(), r * sizeof(char16_t));
      write += r;
      const std::size_t read = at[k] + f;
      const std::size_t next = k + 1 < at.size() ? at[k + 1] : oldSize;
      std::memmove(data + write, data + read, (next - read) * sizeof(char16_t));
      write += next - read;
    }
    text.resize(write);
    return;
  }

  const std::size_t newSize = oldSize + at.size() * (r - f);
  if (newSize > text.capacity()) {
    // No room: build the result in a fresh buffer with some spare room for later passes.
    std::u16string out;
    out.reserve(newSize + newSize / 8);
    std::size_t read = 0;
    for (const std::size_t p : at) {
      out.append(text, read, p - read);
      out.append(replacement);
      read = p + f;
    }
    out.append(text, read, npos);
    text.swap(out);
    return;
  }
  // Growing within capacity: fill from right to left so nothing unread is overwritten.
  text.resize(newSize);
  data = text.data();
  std::size_t readEnd = oldSize;
  std::size_t writeEnd = newSize;
  for (std::size_t k = at.size(); k-- > 0;) {
    const std::size_t tail = readEnd - (at[k] + f);
    writeEnd -= tail;
    std::memmove(data + writeEnd, data + at[k] + f, tail * sizeof(char16_t));
    writeEnd -= r;
    std::memcpy(data + writeEnd, replacement.data(), r * sizeof(char16_t));
    readEnd = at[k];
  }
}

}  // namespace langxing
