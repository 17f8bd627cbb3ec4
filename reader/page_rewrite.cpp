// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/page_rewrite.hpp"

#include <cstring>
#include <vector>

#include "core/text_search.hpp"

namespace langxing {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

// Every match of `find`, left to right, not overlapping.
std::vector<std::size_t> MatchesOf(std::u16string_view text, std::u16string_view find) {
  std::vector<std::size_t> at;
  for (std::size_t p = FindText(text, find); p != npos; p = FindText(text, find, p + find.size()))
    at.push_back(p);
  return at;
}

}  // namespace

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
