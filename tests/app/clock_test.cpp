// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clock.hpp"

#include <gtest/gtest.h>

#include "core/text.hpp"

namespace langxing {
namespace {

ClockTime At(int y, int mo, int d, int h, int mi, int s) {
  return {static_cast<std::int16_t>(y),  static_cast<std::uint8_t>(mo),
          static_cast<std::uint8_t>(d),  static_cast<std::uint8_t>(h),
          static_cast<std::uint8_t>(mi), static_cast<std::uint8_t>(s)};
}

TEST(ClockText, PadsOnlyMinutesAndSeconds) {
  EXPECT_EQ(ClockText(At(2009, 3, 1, 0, 0, 0)), u"2009-3-1 0:00:00");
  EXPECT_EQ(ClockText(At(2011, 7, 20, 9, 5, 3)), u"2011-7-20 9:05:03");
  EXPECT_EQ(ClockText(At(2009, 3, 7, 8, 5, 9)), u"2009-3-7 8:05:09");
  EXPECT_EQ(ClockText(At(2024, 12, 31, 23, 59, 59)), u"2024-12-31 23:59:59");
}

struct TickCase {
  ClockTime before, after;
};

TEST(TickClock, CarriesThroughEveryLevelByTheCalendar) {
  const TickCase cases[] = {
      {At(2011, 7, 20, 9, 5, 3), At(2011, 7, 20, 9, 5, 4)},
      {At(2011, 7, 20, 9, 5, 59), At(2011, 7, 20, 9, 6, 0)},
      {At(2011, 7, 20, 9, 59, 59), At(2011, 7, 20, 10, 0, 0)},
      {At(2011, 7, 20, 23, 59, 59), At(2011, 7, 21, 0, 0, 0)},
      {At(2011, 7, 31, 23, 59, 59), At(2011, 8, 1, 0, 0, 0)},
      {At(2011, 4, 30, 23, 59, 59), At(2011, 5, 1, 0, 0, 0)},
      {At(2011, 2, 28, 23, 59, 59), At(2011, 3, 1, 0, 0, 0)},
      {At(2012, 2, 28, 23, 59, 59), At(2012, 2, 29, 0, 0, 0)},
      {At(2012, 2, 29, 23, 59, 59), At(2012, 3, 1, 0, 0, 0)},
      {At(1900, 2, 28, 23, 59, 59), At(1900, 3, 1, 0, 0, 0)},
      {At(2000, 2, 28, 23, 59, 59), At(2000, 2, 29, 0, 0, 0)},
      {At(2011, 12, 31, 23, 59, 59), At(2012, 1, 1, 0, 0, 0)},
  };
  for (const TickCase& c : cases)
    EXPECT_EQ(TickClock(c.before), c.after) << Utf16ToUtf8(ClockText(c.before));
}

TEST(TickClock, ADayOfTicksAdvancesExactlyOneDay) {
  ClockTime t = At(2011, 12, 31, 0, 0, 0);
  for (int i = 0; i < 24 * 3600; ++i) t = TickClock(t);
  EXPECT_EQ(t, At(2012, 1, 1, 0, 0, 0));
}

TEST(ClockTimeOf, TakesTheSixFieldsOfTheLocalTime) {
  std::tm tm{};
  tm.tm_year = 111;
  tm.tm_mon = 6;
  tm.tm_mday = 20;
  tm.tm_hour = 9;
  tm.tm_min = 5;
  tm.tm_sec = 3;
  EXPECT_EQ(ClockTimeOf(tm), At(2011, 7, 20, 9, 5, 3));
  tm.tm_sec = 60;  // a leap second shows as the 59th
  EXPECT_EQ(ClockTimeOf(tm).second, 59);
}

}  // namespace
}  // namespace langxing
