// DateCalc: the calendar arithmetic shared by the date and time modules:
// proleptic Gregorian day counts in 64 bits, in closed form (no loops over
// years), so any int day number converts in constant time.
#pragma once

#include <ctime>
#include <string>

namespace morka {

struct CYmd {
    long long y = 1900;
    int m = 1;
    long long d = 0;
};

// Day number (1900-01-01 is 1) of y-m-d; d may lie outside the month and m
// outside 1..12 (both carry).
long long b_DayNumber(long long y, long long m, long long d);
// The date of a day number: the civil date for n >= 1; day n of January 1900
// for n <= 0 (day 0 is "1900-01-00").
CYmd b_DateOfDay(long long n);
// Local broken-down time of t; false when the system cannot convert it.
bool b_LocalTime(long long t, std::tm* pTm);
// Day number of a broken-down time's date.
long long b_DayNumberOf(std::tm const& tm);
// The run-time's strftime for a given language code (0: the letters
// "bhBaArp" are left to the system library too).
std::string b_StrftimeIn(char const* pszFormat, std::tm const& tm, int iLang);

}  // namespace morka
