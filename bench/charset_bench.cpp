// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/charset.hpp"

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Page-like text: markup in ASCII around Chinese words ("新浪网新闻" in GBK and in UTF-8).
std::string Repeat(std::string_view unit) {
  std::string out;
  while (out.size() < kMiB) out += unit;
  out.resize(kMiB - kMiB % unit.size());
  return out;
}

const std::string& GbkText() {
  static const std::string text =
      Repeat("<td><b>\xD0\xC2\xC0\xCB\xCD\xF8\xD0\xC2\xCE\xC5</b></td>\r\n");
  return text;
}

const std::string& Utf8Text() {
  static const std::string text =
      Repeat("<td><b>\xE6\x96\xB0\xE6\xB5\xAA\xE7\xBD\x91\xE6\x96\xB0\xE9\x97\xBB</b></td>\r\n");
  return text;
}

void DecodeBench(benchmark::State& state, const std::string& text, std::u16string_view label) {
  for (auto _ : state) {
    auto decoded = langxing::DecodeBytes(text, label);
    benchmark::DoNotOptimize(decoded);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}

// The floor: one memchr pass over the same bytes for a byte they do not hold.
void MemchrFloor(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    const void* found = std::memchr(text.data(), '\0', text.size());
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_DecodeBytesGbk(benchmark::State& state) { DecodeBench(state, GbkText(), u"gb2312"); }
BENCHMARK(BM_DecodeBytesGbk);
void BM_DecodeBytesGbkFloor_memchr(benchmark::State& state) { MemchrFloor(state, GbkText()); }
BENCHMARK(BM_DecodeBytesGbkFloor_memchr);

void BM_DecodeBytesUtf8(benchmark::State& state) { DecodeBench(state, Utf8Text(), u"utf-8"); }
BENCHMARK(BM_DecodeBytesUtf8);
void BM_DecodeBytesUtf8Floor_memchr(benchmark::State& state) { MemchrFloor(state, Utf8Text()); }
BENCHMARK(BM_DecodeBytesUtf8Floor_memchr);

}  // namespace
