// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"
#include "core/text.hpp"

namespace {

// 32,767 channel lines spread over the 14 categories, as a full channel list would be.
std::vector<std::u16string> FullChannelList() {
  std::vector<std::u16string> lines;
  lines.reserve(32767);
  for (int i = 0; i < 32767; ++i) {
    std::u16string line(langxing::CatalogCategories[i % 14]);
    line += u"_频道" + langxing::Utf8ToUtf16(std::to_string(i)) +
            u"--http://roll.news.sina.com.cn/s/channel.php?ch=" +
            langxing::Utf8ToUtf16(std::to_string(i));
    lines.push_back(std::move(line));
  }
  return lines;
}

void BM_BuildCatalogTree_32767Lines(benchmark::State& state) {
  const std::vector<std::u16string> lines = FullChannelList();
  for (auto _ : state) {
    langxing::CatalogNode root = langxing::BuildCatalogTree(lines);
    benchmark::DoNotOptimize(root);
  }
}
BENCHMARK(BM_BuildCatalogTree_32767Lines)->Unit(benchmark::kMicrosecond);

// The floor: one memmem pass per category marker over the same bytes laid end to end.
void BM_BuildCatalogTreeFloor_14xMemmem(benchmark::State& state) {
  std::u16string all;
  for (const std::u16string& line : FullChannelList()) all += line + u"\r\n";
  std::vector<std::u16string> markers;
  for (const std::u16string_view c : langxing::CatalogCategories)
    markers.push_back(std::u16string(c) + u"_unseen");  // never found: every pass runs to the end
  for (auto _ : state) {
    for (const std::u16string& m : markers) {
      const char16_t* data = all.data();
      benchmark::DoNotOptimize(data);
      const void* hit = memmem(data, all.size() * 2, m.data(), m.size() * 2);
      benchmark::DoNotOptimize(hit);
    }
  }
}
BENCHMARK(BM_BuildCatalogTreeFloor_14xMemmem)->Unit(benchmark::kMicrosecond);

// Reading a full GBK channel file from disk: split, detect, decode line by line.
void BM_LoadChannelFile_Gbk32767Lines(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "langxing_chan_bench";
  std::filesystem::create_directories(dir);
  {
    std::ofstream out(dir / "chan.dll", std::ios::binary);
    const std::string gbkMarker = "\xCC\xE5\xD3\xFD\xD0\xC2\xCE\xC5_";  // 体育新闻_ in GBK
    for (int i = 0; i < 32767; ++i)
      out << gbkMarker << "\xC6\xB5\xB5\xC0" << i << "--http://roll.news.sina.com.cn/s/" << i
          << "\r\n";
  }
  for (auto _ : state) {
    std::vector<std::u16string> lines = langxing::LoadChannelFile(dir);
    benchmark::DoNotOptimize(lines);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadChannelFile_Gbk32767Lines)->Unit(benchmark::kMicrosecond);

}  // namespace
