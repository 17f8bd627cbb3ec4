// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/text.hpp"

namespace {

// 1 MiB of text with the markers near the end, as in a long portal page.
std::u16string LongPage() {
  std::u16string page(512 * 1024, u'x');
  page += u"<!-- 内容列 begin -->body<!-- publish_helper_end -->tail";
  return page;
}

void BM_ExtractBetween(benchmark::State& state) {
  const std::u16string page = LongPage();
  for (auto _ : state) {
    auto r =
        langxing::ExtractBetween(page, u"<!-- 内容列 begin -->", u"<!-- publish_helper_end -->");
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(state.iterations() * page.size() * sizeof(char16_t));
}
BENCHMARK(BM_ExtractBetween);

// The floor: one memmem pass over the same bytes for the end marker.
void BM_ExtractBetweenFloor_memmem(benchmark::State& state) {
  const std::u16string page = LongPage();
  const std::u16string end = u"<!-- publish_helper_end -->";
  for (auto _ : state) {
    const void* hit = memmem(page.data(), page.size() * 2, end.data(), end.size() * 2);
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(state.iterations() * page.size() * sizeof(char16_t));
}
BENCHMARK(BM_ExtractBetweenFloor_memmem);

}  // namespace
