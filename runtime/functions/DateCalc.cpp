// DateCalc: the calendar in closed form (day numbers to and from dates in 64
// bits, valid far beyond 1900..2099), the local-time conversion and the date
// reader with the year rule of date input. Nothing here uses reals, so the
// date fuzz target builds this file alone.
// The reader is a bounded hand scanner with the meaning of "%d%c%d%c%d":
// numbers saturate instead of wrapping and nothing is read past the NUL.
#include "DateCalc.h"
#include <morka/Settings.h>

#include <climits>
#include <cstring>

namespace morka {

int const b_aiDays[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
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

bool s_IsDigit(char c) { return c >= '0' && c <= '9'; }

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
        if (!b_ScanInt(&p, pa) || !*p++) return false;
        if (!b_ScanInt(&p, pb) || !*p++) return false;
        return b_ScanInt(&p, pc);
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

}  // namespace

bool b_ReadDate(char const* pszText, CYmd* pDate) {
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

bool b_ScanInt(char const** pp, long long* pn) {
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

}  // namespace morka
