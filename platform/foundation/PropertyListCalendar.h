#pragma once

#include <cstdint>

namespace platform::plist {

// The proleptic Gregorian calendar of property-list dates ("2001-01-01T00:00:00Z"),
// computed without the C library's time functions so that every year from 1 to
// 9999 converts the same on every machine. Days count from 2001-01-01.
struct CivilDate {
  int64_t year = 2001;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
};

// Days from 2001-01-01 to `date` (negative before it).
constexpr int64_t daysSince2001(CivilDate date) {
  const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  constexpr int64_t kDaysFrom0000To2001 = 730791;  // 0000-03-01 to 2001-01-01
  return era * 146097 + dayOfEra - kDaysFrom0000To2001;
}

// The date `days` after 2001-01-01.
constexpr CivilDate civilFromDays(int64_t days) {
  const int64_t z = days + 730791;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Days in `month` of `year`.
constexpr int daysInMonth(int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

static_assert(daysSince2001({2001, 1, 1}) == 0);
static_assert(daysSince2001({2000, 12, 31}) == -1);
static_assert(daysSince2001({2001, 3, 1}) == 59);
static_assert(civilFromDays(-1).year == 2000 && civilFromDays(-1).month == 12 && civilFromDays(-1).day == 31);
static_assert(civilFromDays(daysSince2001({1, 1, 1})).year == 1);

// Seconds since 2001 of the first and of one past the last second the XML format writes (years 1 to 9999).
inline constexpr double kFirstWritableSecond = static_cast<double>(daysSince2001({1, 1, 1})) * 86400.0;
inline constexpr double kEndOfWritableSeconds = static_cast<double>(daysSince2001({10000, 1, 1})) * 86400.0;

}  // namespace platform::plist
