// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clock.hpp"

namespace langxing {

ClockTime ClockTimeOf(const std::tm& local) {
  ClockTime t;
  t.year = static_cast<std::int16_t>(local.tm_year + 1900);
  t.month = static_cast<std::uint8_t>(local.tm_mon + 1);
  t.day = static_cast<std::uint8_t>(local.tm_mday);
  t.hour = static_cast<std::uint8_t>(local.tm_hour);
  t.minute = static_cast<std::uint8_t>(local.tm_min);
  // A leap second (tm_sec 60) would otherwise never carry; show it as the 59th.
  t.second = static_cast<std::uint8_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  return t;
}

ClockTime ClockTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ClockTimeOf(local);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

ClockTime TickClock(ClockTime t) {
  if (++t.second < 60) return t;
  t.second = 0;
  if (++t.minute < 60) return t;
  t.minute = 0;
  if (++t.hour < 24) return t;
  t.hour = 0;
  if (++t.day <= DaysInMonth(t.year, t.month)) return t;
  t.day = 1;
  if (++t.month <= 12) return t;
  t.month = 1;
  ++t.year;
  return t;
}

namespace {

void AppendNumber(std::u16string& out, int value, int minDigits) {
  std::u16string digits;
  const bool negative = value < 0;
  unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), u'0');
  if (negative) out += u'-';
  out += digits;
}

}  // namespace

std::u16string ClockText(const ClockTime& t) {
  std::u16string text;
  AppendNumber(text, t.year, 1);
  text += u'-';
  AppendNumber(text, t.month, 1);
  text += u'-';
  AppendNumber(text, t.day, 1);
  text += u' ';
  AppendNumber(text, t.hour, 1);
  text += u':';
  AppendNumber(text, t.minute, 2);
  text += u':';
  AppendNumber(text, t.second, 2);
  return text;
}

}  // namespace langxing
