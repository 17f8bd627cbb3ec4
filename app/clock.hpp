// SPDX-License-Identifier: GPL-3.0-or-later
// The running clock of the status bar: six fields of the local time, read afresh at every tick.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace langxing {

struct ClockTime {
  std::int16_t year = 0;
  std::uint8_t month = 1;
  std::uint8_t day = 1;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;

  friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// The fields of a broken-down local time (as localtime_r gives it).
ClockTime ClockTimeOf(const std::tm& local);

// The current local time.
ClockTime ClockTimeNow();

// Gregorian leap year rule.
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// One second later. Seconds carry into minutes, minutes into hours, hours into the day, and the
// day carries into the month and the year by the calendar (leap years included).
ClockTime TickClock(ClockTime time);

// "2011-7-20 9:05:03": year, month, day and hour without leading zeros, minute and second with
// two digits.
std::u16string ClockText(const ClockTime& time);

}  // namespace langxing
