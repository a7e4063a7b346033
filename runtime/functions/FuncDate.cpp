// FuncDate: day numbers and their texts (Date, Dte, Day), the year rule of
// date output, Second and Time. The calendar and the date reader are
// DateCalc.cpp.
// Choices: Second's missing parts count 0 and its sum saturates; an iDateOut
// other than 1 or 2 writes years as 0 does.
#include <velbra/FuncDate.h>
#include <velbra/NumClasses.h>
#include <velbra/RealMath.h>
#include <morka/Settings.h>
#include "DateCalc.h"

#include <climits>
#include <cstdio>

namespace morka {

char const _short_monthnames[12][4] = {
    "Jan", "F\xC9v", "Mar", "Avr", "Mai", "Jun", "Jul", "Ao\xD5", "Sep", "Oct", "Nov", "D\xC9" "c",
};

namespace {

constexpr long long DAY_1970_01_01 = 25568;

int s_Saturate(long long n) { return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n); }

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

int b_DaysSince1899(int y, int m, int d) { return s_Saturate(b_DayNumber(y, m, d)); }
int b_DaysSince1969_12_31(int y, int m, int d) { return s_Saturate(b_DayNumber(y, m, d) - (DAY_1970_01_01 - 1)); }

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
    if (!b_ReadDate(text, &date)) return CBString();
    return s_WriteDate(date);
}

dfp_t Day(char const* text) {
    CYmd date;
    if (!b_ReadDate(text, &date)) return -1;
    return static_cast<dfp_t>(b_DayNumber(date.y, date.m, date.d));
}

int Second(char const* text) {
    long long aParts[3] = {0, 0, 0};
    char const* p = text ? text : "";
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && *p++ != ':') break;
        if (!b_ScanInt(&p, &aParts[i])) break;
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
