#pragma once

#include <chrono>
#include <cstdint>

namespace platform::plist {

// The proleptic Gregorian calendar of property-list dates ("2001-01-01T00:00:00Z"),
// on the standard library's civil calendar rather than the C library's time
// functions, so that every year from 1 to 9999 converts the same on every
// machine. Days count from 2001-01-01. Years must lie within what
// std::chrono::year holds (-32767 to 32767); property lists use 1 to 9999.
struct CivilDate {
  int64_t year = 2001;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
};

inline constexpr std::chrono::sys_days kReferenceDay = std::chrono::year{2001} / 1 / 1;

// Days from 2001-01-01 to `date` (negative before it). A day past the month's end counts on into the next.
constexpr int64_t daysSince2001(CivilDate date) {
  const std::chrono::sys_days day = std::chrono::year{static_cast<int>(date.year)} /
                                    std::chrono::month{static_cast<unsigned>(date.month)} /
                                    std::chrono::day{static_cast<unsigned>(date.day)};
  return (day - kReferenceDay).count();
}

// The date `days` after 2001-01-01.
constexpr CivilDate civilFromDays(int64_t days) {
  const std::chrono::year_month_day date{kReferenceDay + std::chrono::days{days}};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

// Days in `month` of `year`.
constexpr int daysInMonth(int64_t year, int month) {
  const auto last =
      std::chrono::year{static_cast<int>(year)} / std::chrono::month{static_cast<unsigned>(month)} / std::chrono::last;
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

static_assert(daysSince2001({2001, 1, 1}) == 0);
static_assert(daysSince2001({2000, 12, 31}) == -1);
static_assert(daysSince2001({2001, 3, 1}) == 59);
static_assert(civilFromDays(-1).year == 2000 && civilFromDays(-1).month == 12 && civilFromDays(-1).day == 31);
static_assert(civilFromDays(daysSince2001({1, 1, 1})).year == 1);
static_assert(daysInMonth(2000, 2) == 29 && daysInMonth(1900, 2) == 28 && daysInMonth(2001, 12) == 31);

// Seconds since 2001 of the first and of one past the last second the XML format writes (years 1 to 9999).
inline constexpr double kFirstWritableSecond = static_cast<double>(daysSince2001({1, 1, 1})) * 86400.0;
inline constexpr double kEndOfWritableSeconds = static_cast<double>(daysSince2001({10000, 1, 1})) * 86400.0;

}  // namespace platform::plist
