// DateCalc: the calendar arithmetic and the date reader shared by the date
// and time modules: proleptic Gregorian day counts in 64 bits, in closed form
// (no loops over years), so any int day number converts in constant time.
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
// Month lengths [leap][month] (also declared in FuncDate.h).
extern int const b_aiDays[2][13];
// A year of a date text expanded by iDateIn (also declared in FuncDate.h).
int b_YearDatein(int year);
// Reads a date text in the form of cDateForm (or 6 or 8 digits); true and
// the date when it is a valid date of the years 1900..2099.
bool b_ReadDate(char const* pszText, CYmd* pDate);
// Reads an int as %d does (leading white space, a sign, at least one
// digit); the value saturates at 10^11. Advances *pp past it; false when
// there is no number there.
bool b_ScanInt(char const** pp, long long* pn);
// The run-time's strftime for a given language code (0: the letters
// "bhBaArp" are left to the system library too).
std::string b_StrftimeIn(char const* pszFormat, std::tm const& tm, int iLang);

}  // namespace morka
