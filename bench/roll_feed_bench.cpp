// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "headlines/roll_feed.hpp"
#include "tests/portal/sample_feeds.hpp"

namespace {

// A roll feed of 10,000 items in today's JSON, every field filled, the text in \uXXXX escapes:
// 6.9 MB, over three times the 2 MiB a feed of that many short items takes.
const std::string& LargeFeed() {
  static const std::string feed = langxing::testportal::SampleFeed(
      {"新闻中心", "滚动", "https://news.sina.com.cn/roll/#pageid=153&lid=2509"}, 0, 10'000);
  return feed;
}

void BM_RollFeedEntries_10000Items(benchmark::State& state) {
  const std::string& feed = LargeFeed();
  std::size_t entries = 0;
  for (auto _ : state) {
    const auto result = langxing::RollFeedEntries(feed);
    entries = result.size();
    benchmark::DoNotOptimize(result);
  }
  state.counters["entries"] = static_cast<double>(entries);
  state.SetBytesProcessed(state.iterations() * feed.size());
}
BENCHMARK(BM_RollFeedEntries_10000Items)->Unit(benchmark::kMillisecond);

// The floor: the same JSON parsed into a tree, and the tree freed.
void BM_RollFeedFloor_jsonParse(benchmark::State& state) {
  const std::string& feed = LargeFeed();
  for (auto _ : state) {
    nlohmann::json tree = nlohmann::json::parse(feed);
    benchmark::DoNotOptimize(tree);
  }
  state.SetBytesProcessed(state.iterations() * feed.size());
}
BENCHMARK(BM_RollFeedFloor_jsonParse)->Unit(benchmark::kMillisecond);

}  // namespace
