// Fuzz target of the date reader. The first byte picks the date form and
// the year rule, the rest is the date text. A date the reader accepts must
// be a real date of 1900..2099 that survives the trip through its day number.
// Build with -DVELBRA_FUZZ=ON, then run for example
//   build/fuzz/fuzz_date -max_total_time=300 corpus/
#include "runtime/functions/DateCalc.h"
#include <morka/Settings.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace morka;

namespace {

void s_Check(bool b) {
    if (!b) __builtin_trap();
}

bool s_IsLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* pData, std::size_t nSize) {
    if (nSize == 0) return 0;
    Morka.cDateForm = "AEIX"[pData[0] & 3];
    Morka.iDateIn = (pData[0] >> 2) & 3;
    std::string sText(reinterpret_cast<char const*>(pData + 1), nSize - 1);
    CYmd date;
    if (!b_ReadDate(sText.c_str(), &date)) return 0;
    s_Check(date.y >= 1900 && date.y <= 2099 && date.m >= 1 && date.m <= 12);
    s_Check(date.d >= 1 && date.d <= b_aiDays[s_IsLeap(date.y)][date.m]);
    long long n = b_DayNumber(date.y, date.m, date.d);
    s_Check(n >= 1 && n <= 73049);
    CYmd back = b_DateOfDay(n);
    s_Check(back.y == date.y && back.m == date.m && back.d == date.d);
    return 0;
}
