// FuncTime: the local seconds scale (Localtime, Days, Seconds), the UTC
// scale (Timestamp) and b_time2DaysSeconds. All arithmetic is 64-bit (time_t
// and day counts), so dates after 2038 convert like any other.
#include <velbra/FuncDate.h>
#include <velbra/NumClasses.h>
#include <velbra/RealMath.h>
#include "DateCalc.h"

#include <ctime>

namespace morka {

namespace {

constexpr long long DAY_1969_12_31 = 25567;

long long s_SecondsOfDay(std::tm const& tm) { return tm.tm_hour * 3600LL + tm.tm_min * 60LL + tm.tm_sec; }

}  // namespace

dfp_t Localtime(dfp_t t) {
    int64_t n = 0;
    std::tm tm{};
    if (!b_ToInt64(b_Trunc(t), &n) || !b_LocalTime(n, &tm)) return 0;
    return static_cast<dfp_t>((b_DayNumberOf(tm) - DAY_1969_12_31) * 86400 + s_SecondsOfDay(tm));
}

int Days(dfp_t x) { return b_L(b_Trunc(x / 86400 + static_cast<dfp_t>(DAY_1969_12_31))); }

int Seconds(dfp_t x) { return b_L(b_Fmod(b_Trunc(x), static_cast<dfp_t>(86400))); }

void b_time2DaysSeconds(long t, int& day, int& seconds) {
    std::tm tm{};
    if (!b_LocalTime(t, &tm)) {
        day = 0;
        seconds = 0;
        return;
    }
    day = b_L(static_cast<long>(b_DayNumberOf(tm)));
    seconds = static_cast<int>(s_SecondsOfDay(tm));
}

// dialect quirk: the offset is the one in force now, not on the given day, as
// stored timestamps were made that way.
dfp_t Timestamp(int day, int seconds) {
    std::time_t now = std::time(nullptr);
    std::tm local{}, utc{};
    if (!localtime_r(&now, &local) || !gmtime_r(&now, &utc)) return 0;
    long long llDay = day ? day : b_DayNumberOf(local);
    long long llSeconds = seconds ? seconds : s_SecondsOfDay(local);
    if (llDay < DAY_1969_12_31) return 0;
    long long llOffset = ((local.tm_hour - utc.tm_hour) * 60LL + (local.tm_min - utc.tm_min)) * 60 + (local.tm_sec - utc.tm_sec);
    int iDayStep = local.tm_mday - utc.tm_mday;
    if (iDayStep == 1 || iDayStep < -1) llOffset += 86400;
    else if (iDayStep == -1 || iDayStep >= 2) llOffset -= 86400;
    return static_cast<dfp_t>((llDay - DAY_1969_12_31) * 86400 + llSeconds - llOffset);
}

}  // namespace morka
