#pragma once

#include <cstdint>

namespace qmx {

// Calendar fields of an instant, as the Windows SYSTEMTIME holds them.
struct SYSTEMTIME {
  std::uint16_t wYear = 0;
  std::uint16_t wMonth = 0;
  std::uint16_t wDayOfWeek = 0;  // 0 = Sunday
  std::uint16_t wDay = 0;
  std::uint16_t wHour = 0;
  std::uint16_t wMinute = 0;
  std::uint16_t wSecond = 0;
  std::uint16_t wMilliseconds = 0;
};

// An instant as a count of 100-nanosecond ticks since 1 January 1601 (the
// Windows FILETIME).
using FILETIME = std::uint64_t;

constexpr std::uint64_t kTicksPorSegundo = 10'000'000;

// Calendar fields to ticks, with the Windows rules: a month outside 1..12,
// a day outside the month (29 February of a common year), hour 24, minute
// or second 60, millisecond 1000, a year before 1601 or after 30827 fail.
// The day of week is not looked at. Returns 0 or ERROR_INVALID_PARAMETER.
std::uint32_t SystemTimeToFileTime(const SYSTEMTIME& campos, FILETIME& ticks);

// Ticks to calendar fields, the day of week included. Counts with the top
// bit set (negative as signed) fail with ERROR_INVALID_PARAMETER.
std::uint32_t FileTimeToSystemTime(FILETIME ticks, SYSTEMTIME& campos);

// Days from 1 January 1601 to a date of the proleptic Gregorian calendar.
std::int64_t DiasDesde1601(std::int64_t ano, unsigned mes, unsigned dia);

}  // namespace qmx
