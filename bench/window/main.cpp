// SPDX-License-Identifier: GPL-3.0-or-later
// What a reader waits for, against floors: one measure per run (scripts/bench runs them all).
//   langxing-window-bench ROW [--reps N] [--opens N]
// ROW: list-60k list-2m list-feed-50 article-100k article-1m today-article-200k swatch-100k
//      swatch-1m slow-article-8s font-steps memory
// Run offscreen or on a display, as QT_QPA_PLATFORM says; as root with
// QTWEBENGINE_DISABLE_SANDBOX=1.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/window/memory_row.hpp"
#include "bench/window/responsive_rows.hpp"
#include "bench/window/time_rows.hpp"

namespace {

// The value after `--name`, as a positive number, or `fallback`.
int Option(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) {
      const long value = std::strtol(argv[i + 1], nullptr, 10);
      if (value > 0 && value < 100'000) return static_cast<int>(value);
    }
  return fallback;
}

int Usage() {
  std::fprintf(stderr,
               "usage: langxing-window-bench list-60k|list-2m|list-feed-50|"
               "article-100k|article-1m|today-article-200k|"
               "swatch-100k|swatch-1m|slow-article-8s|font-steps|memory [--reps N] "
               "[--opens N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string row = argv[1];
  const int reps = Option(argc, argv, "--reps", 20);
  const int opens = Option(argc, argv, "--opens", 500);
  using namespace windowbench;
  constexpr std::size_t KB = 1000;
  constexpr std::size_t MiB = 1024 * 1024;
  if (row == "list-60k") return ListRow(argc, argv, row, 60 * KB, reps);
  if (row == "list-2m") return ListRow(argc, argv, row, 2 * MiB, reps);
  if (row == "list-feed-50") return FeedListRow(argc, argv, row, 50, reps);
  if (row == "article-100k") return ArticleRow(argc, argv, row, 100 * KB, reps, false);
  if (row == "article-1m") return ArticleRow(argc, argv, row, MiB, reps, false);
  if (row == "today-article-200k") {
    return ArticleRow(argc, argv, row, 200 * KB, reps, false, true);
  }
  if (row == "swatch-100k") return ArticleRow(argc, argv, row, 100 * KB, reps, true);
  if (row == "swatch-1m") return ArticleRow(argc, argv, row, MiB, reps, true);
  // Each repetition of the slow row waits out two downloads of 8 s.
  if (row == "slow-article-8s") return SlowArticleRow(argc, argv, row, 8000, std::min(reps, 3));
  if (row == "font-steps") return FontStepsRow(argc, argv, row, std::min(reps, 5));
  if (row == "memory")
    return MemoryRow(std::filesystem::read_symlink("/proc/self/exe").string(), opens);
  // The two sides of the memory row, started by it.
  const int port = Option(argc, argv, "--port", 0);
  if (row == "memory-window" && port > 0) return MemoryWindowSide(argc, argv, port, opens);
  if (row == "memory-floor" && port > 0) {
    int width = 800;
    int height = 600;
    for (int i = 1; i + 2 < argc; ++i)
      if (std::strcmp(argv[i], "--view-size") == 0) {
        width = std::atoi(argv[i + 1]);
        height = std::atoi(argv[i + 2]);
      }
    return MemoryFloorSide(argc, argv, port, opens, width, height);
  }
  return Usage();
}
