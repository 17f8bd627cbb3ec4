// SPDX-License-Identifier: GPL-3.0-or-later
// What the window benchmarks print: medians of repeated timings, one "result" line per measure
// (the program against its floor) and "phase" lines that show where the program's time goes.
// scripts/bench reads these lines.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace windowbench {

inline double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

//   result row=article-1m bytes=1048600 reps=20 unit=ms program=812.4 floor=700.1 ratio=1.16
inline void PrintResult(const std::string& row, std::size_t bytes, std::size_t reps, double program,
                        double floor, const std::string& extra = {}, const char* unit = "ms") {
  std::printf("result row=%s bytes=%zu reps=%zu unit=%s program=%.1f floor=%.1f ratio=%.2f%s\n",
              row.c_str(), bytes, reps, unit, program, floor, program / floor, extra.c_str());
  std::fflush(stdout);
}

//   phase row=article-1m side=program name=click_to_written ms=120.3
inline void PrintPhase(const std::string& row, const char* side, const char* name, double ms) {
  std::printf("phase row=%s side=%s name=%s ms=%.2f\n", row.c_str(), side, name, ms);
  std::fflush(stdout);
}

}  // namespace windowbench
