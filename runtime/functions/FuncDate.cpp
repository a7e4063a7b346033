// FuncDate: day numbers and their texts (Date, Dte, Day), the year rules of
// date input and output, Second and Time. The calendar is computed in closed
// form in 64 bits (DateCalc.h).
// Choices: the date reader is a bounded hand scanner with the meaning of
// "%d%c%d%c%d" (numbers saturate instead of wrapping); Second's missing parts
// count 0; an iDateOut other than 1 or 2 writes years as 0 does.
#include <velbra/FuncDate.h>
#include <velbra/NumClasses.h>
#include <velbra/RealMath.h>
#include <morka/Settings.h>
#include "DateCalc.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace morka {

int const b_aiDays[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

char const _short_monthnames[12][4] = {
    "Jan", "F\xC9v", "Mar", "Avr", "Mai", "Jun", "Jul", "Ao\xD5", "Sep", "Oct", "Nov", "D\xC9" "c",
};

namespace {

constexpr long long DAY_1970_01_01 = 25568;

// Days from 1970-01-01 of a civil date with m in 1..12 and d in 1..31.
long long s_DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool s_IsLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int s_Saturate(long long n) { return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n); }

bool s_IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads an int as %d does (leading white space, a sign, at least one digit);
// the value saturates. Advances *pp past it; false when there is no number.
bool s_ScanInt(char const** pp, long long* pn) {
    char const* p = *pp;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool bNegative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    if (!s_IsDigit(*p)) return false;
    long long n = 0;
    for (; s_IsDigit(*p); ++p)
        if (n < 100000000000LL) n = n * 10 + (*p - '0');
    *pn = bNegative ? -n : n;
    *pp = p;
    return true;
}

long long s_Digits(char const* p, int nCount) {
    long long n = 0;
    for (int i = 0; i < nCount; ++i) n = n * 10 + (p[i] - '0');
    return n;
}

// The three numbers of a date text in the order of cDateForm (a, b, c).
bool s_ReadNumbers(char const* pszText, long long* pa, long long* pb, long long* pc) {
    std::size_t nLen = std::strlen(pszText);
    bool bAllDigits = true;
    for (std::size_t i = 0; i < nLen && bAllDigits; ++i) bAllDigits = s_IsDigit(pszText[i]);
    if (!bAllDigits) {
        char const* p = pszText;
        if (!s_ScanInt(&p, pa) || !*p++) return false;
        if (!s_ScanInt(&p, pb) || !*p++) return false;
        return s_ScanInt(&p, pc);
    }
    if (nLen != 6 && nLen != 8) return false;
    int nYear = static_cast<int>(nLen) - 4;
    if (Morka.cDateForm == 'A' || Morka.cDateForm == 'E') {
        *pa = s_Digits(pszText, 2);
        *pb = s_Digits(pszText + 2, 2);
        *pc = s_Digits(pszText + 4, nYear);
    } else {
        *pa = s_Digits(pszText, nYear);
        *pb = s_Digits(pszText + nYear, 2);
        *pc = s_Digits(pszText + nYear + 2, 2);
    }
    return true;
}

// Reads a date text; true and the date when it is a valid date of 1900..2099.
bool s_ReadDate(char const* pszText, CYmd* pDate) {
    if (!pszText) return false;
    long long a, b, c;
    if (!s_ReadNumbers(pszText, &a, &b, &c)) return false;
    long long y, m, d;
    switch (Morka.cDateForm) {
    case 'A': m = a; d = b; y = c; break;
    case 'E': d = a; m = b; y = c; break;
    default: y = a; m = b; d = c; break;
    }
    if (y >= INT_MIN && y <= INT_MAX) y = b_YearDatein(static_cast<int>(y));
    if (y < 1900 || y > 2099 || m < 1 || m > 12) return false;
    if (d < 1 || d > b_aiDays[s_IsLeap(y)][m]) return false;
    pDate->y = y;
    pDate->m = static_cast<int>(m);
    pDate->d = d;
    return true;
}

CBString s_WriteDate(CYmd const& date) {
    bool bFour = Morka.iDateOut == 1 || (Morka.iDateOut != 2 && date.y >= 2000);
    int nWidth = bFour ? 4 : 2;
    long long y = bFour ? (date.y > 9999 ? 9999 : date.y) : date.y - (date.y >= 2000 ? 2000 : 1900);
    int iYear = static_cast<int>(y), iMonth = date.m, iDay = static_cast<int>(date.d);
    char aBuf[48];
    int n;
    switch (Morka.cDateForm) {
    case 'A': n = std::snprintf(aBuf, sizeof aBuf, "%02d/%02d/%0*d", iMonth, iDay, nWidth, iYear); break;
    case 'E': n = std::snprintf(aBuf, sizeof aBuf, "%02d-%02d-%0*d", iDay, iMonth, nWidth, iYear); break;
    default: n = std::snprintf(aBuf, sizeof aBuf, "%0*d.%02d.%02d", nWidth, iYear, iMonth, iDay); break;
    }
    return CBString(aBuf, n);
}

CBString s_DateOfLow16(unsigned uDay) { return s_WriteDate(b_DateOfDay(uDay & 0xFFFFu)); }

long long s_Today() {
    std::tm tm{};
    return b_LocalTime(std::time(nullptr), &tm) ? b_DayNumberOf(tm) : 0;
}

}  // namespace

long long b_DayNumber(long long y, long long m, long long d) {
    long long mm = m - 1;
    long long yCarry = mm >= 0 ? mm / 12 : (mm - 11) / 12;
    y += yCarry;
    mm -= yCarry * 12;
    return s_DaysFromCivil(y, static_cast<int>(mm) + 1, 1) + DAY_1970_01_01 + (d - 1);
}

CYmd b_DateOfDay(long long n) {
    CYmd r;
    if (n <= 0) {
        r.d = n;
        return r;
    }
    long long z = n - DAY_1970_01_01 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    r.d = doy - (153 * mp + 2) / 5 + 1;
    r.m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    r.y = yoe + era * 400 + (r.m <= 2);
    return r;
}

bool b_LocalTime(long long t, std::tm* pTm) {
    std::time_t tt = static_cast<std::time_t>(t);
    return localtime_r(&tt, pTm) != nullptr;
}

long long b_DayNumberOf(std::tm const& tm) { return b_DayNumber(tm.tm_year + 1900LL, tm.tm_mon + 1LL, tm.tm_mday); }

int b_DaysSince1899(int y, int m, int d) { return s_Saturate(b_DayNumber(y, m, d)); }
int b_DaysSince1969_12_31(int y, int m, int d) { return s_Saturate(b_DayNumber(y, m, d) - (DAY_1970_01_01 - 1)); }

int b_YearDatein(int year) {
    if (year > 99) return year;
    std::tm tm{};
    int iNow = b_LocalTime(std::time(nullptr), &tm) ? tm.tm_year + 1900 : 2000;
    switch (Morka.iDateIn) {
    case 0: return year + 1900;
    case 1: return year + (iNow < 2001 ? 1900 : 2000);
    case 2: return year + 2000 - iNow > 50 ? year + 1900 : year + 2000;
    default: return year;
    }
}

CBString Date(int day) {
    if (day == 0) return s_WriteDate(b_DateOfDay(s_Today()));
    return s_DateOfLow16(static_cast<unsigned>(day));
}

CBString Date(dfp_t day) {
    int64_t n = 0;
    if (!b_ToInt64(b_Trunc(day), &n)) return s_DateOfLow16(0);
    if (n == 0) return Date(0);
    return s_DateOfLow16(static_cast<unsigned>(n));
}

CBString Dte(char const* text) {
    CYmd date;
    if (!s_ReadDate(text, &date)) return CBString();
    return s_WriteDate(date);
}

dfp_t Day(char const* text) {
    CYmd date;
    if (!s_ReadDate(text, &date)) return -1;
    return static_cast<dfp_t>(b_DayNumber(date.y, date.m, date.d));
}

int Second(char const* text) {
    long long aParts[3] = {0, 0, 0};
    char const* p = text ? text : "";
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && *p++ != ':') break;
        if (!s_ScanInt(&p, &aParts[i])) break;
    }
    return s_Saturate(aParts[0] * 3600 + aParts[1] * 60 + aParts[2]);
}

CBString Time(int seconds) {
    if (seconds == 0) {
        std::tm tm{};
        if (b_LocalTime(std::time(nullptr), &tm)) seconds = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    }
    if (seconds < 1 || seconds > 86399) return CBString("00:00:00");
    char aBuf[16];
    int n = std::snprintf(aBuf, sizeof aBuf, "%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    return CBString(aBuf, n);
}

}  // namespace morka
