// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/publish_time.hpp"

#include <cstdio>
#include <ctime>
#include <optional>

#include "core/text.hpp"

namespace langxing {
namespace {

std::optional<std::tm> LocalTime(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  return local;
}

}  // namespace

std::u16string PublishedLabel(std::int64_t published, std::int64_t now) {
  const auto when = LocalTime(published);
  const auto today = LocalTime(now);
  if (!when || !today) return {};
  const bool sameDay = when->tm_year == today->tm_year && when->tm_yday == today->tm_yday;
  char text[32];
  if (sameDay) {
    std::snprintf(text, sizeof text, "%02d:%02d", when->tm_hour, when->tm_min);
  } else {
    std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d", when->tm_mon + 1, when->tm_mday,
                  when->tm_hour, when->tm_min);
  }
  return Utf8ToUtf16(text);
}

}  // namespace langxing
