// Date and time functions. Day numbers are checked against std::chrono's
// calendar (an independent computation) for every day of 1900..2099 in the
// three date forms; the seconds scales are checked in fixed time zones where
// the offset is known without asking the C library.
#include "FuncTestUtil.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace morka;
namespace chr = std::chrono;

namespace {

chr::sys_days const s_Day0 = chr::sys_days(chr::year(1899) / chr::December / 31);

chr::year_month_day s_Oracle(long n) { return chr::year_month_day(s_Day0 + chr::days(n)); }

// The date in form cForm with a four-digit year, with its separators or as
// eight digits in the order of the form.
std::string s_Text(chr::year_month_day const& ymd, char cForm, bool bDigits = false) {
    int y = static_cast<int>(ymd.year());
    unsigned m = static_cast<unsigned>(ymd.month()), d = static_cast<unsigned>(ymd.day());
    char aBuf[32];
    if (cForm == 'A') std::snprintf(aBuf, sizeof aBuf, bDigits ? "%02u%02u%04d" : "%02u/%02u/%04d", m, d, y);
    else if (cForm == 'E') std::snprintf(aBuf, sizeof aBuf, bDigits ? "%02u%02u%04d" : "%02u-%02u-%04d", d, m, y);
    else std::snprintf(aBuf, sizeof aBuf, bDigits ? "%04d%02u%02u" : "%04d.%02u.%02u", y, m, d);
    return aBuf;
}

// Sets an environment value for one test and restores the previous one (TZ
// is read again at once).
class CEnvValue {
public:
    CEnvValue(char const* pszName, char const* pszValue) : m_sName(pszName) {
        char const* pszOld = std::getenv(pszName);
        m_bHadOld = pszOld != nullptr;
        if (pszOld) m_sOld = pszOld;
        setenv(pszName, pszValue, 1);
        tzset();
    }
    ~CEnvValue() {
        if (m_bHadOld) setenv(m_sName.c_str(), m_sOld.c_str(), 1);
        else unsetenv(m_sName.c_str());
        tzset();
    }

private:
    std::string m_sName;
    bool m_bHadOld = false;
    std::string m_sOld;
};

int s_CurrentYear() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm.tm_year + 1900;
}

}  // namespace

TEST(FuncDate, EveryDayOf1900To2099RoundTrips) {
    CSettingsGuard guard;
    Morka.iDateOut = 1;
    Morka.iDateIn = 0;
    long const nLast = (chr::sys_days(chr::year(2099) / chr::December / 31) - s_Day0).count();
    for (char cForm : {'A', 'E', 'I'}) {
        SCOPED_TRACE(cForm);
        Morka.cDateForm = cForm;
        int nFailures = 0;
        for (long n = 1; n <= nLast && nFailures < 5; ++n) {
            chr::year_month_day ymd = s_Oracle(n);
            std::string sText = s_Text(ymd, cForm);
            bool bOk = Day(sText.c_str()) == static_cast<dfp_t>(n) && Day(s_Text(ymd, cForm, true).c_str()) == static_cast<dfp_t>(n) &&
                       Dte(sText.c_str()) == CBString(sText) &&
                       (n > 65535 || Date(static_cast<int>(n)) == CBString(sText)) &&
                       b_DaysSince1899(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                                       static_cast<int>(static_cast<unsigned>(ymd.day()))) == n;
            if (!bOk) {
                ++nFailures;
                ADD_FAILURE() << "day " << n << " " << sText << ": Day " << Txt(Day(sText.c_str())) << ", Date "
                              << Date(static_cast<int>(n)).c_str() << ", Dte " << Dte(sText.c_str()).c_str();
            }
        }
    }
}

// Beyond the 16-bit range of Date: Strtime takes the whole day number, and
// the day counts agree with the oracle over four centuries either side.
TEST(FuncDate, WholeDayNumbersAgreeWithTheOracle) {
    for (long n = -146097; n <= 3 * 146097; n += 997) {
        chr::year_month_day ymd = s_Oracle(n);
        int y = static_cast<int>(ymd.year());
        int m = static_cast<int>(static_cast<unsigned>(ymd.month())), d = static_cast<int>(static_cast<unsigned>(ymd.day()));
        ASSERT_EQ(b_DaysSince1899(y, m, d), n) << y << "-" << m << "-" << d;
        ASSERT_EQ(b_DaysSince1969_12_31(y, m, d), n - 25567);
        if (n >= 1) {
            char aBuf[32];
            std::snprintf(aBuf, sizeof aBuf, "%04d-%02d-%02d", y, m, d);
            ASSERT_EQ(Strtime("%Y-%m-%d", static_cast<int>(n), 0), CBString(aBuf)) << n;
        }
    }
    // A month outside 1..12 carries into the year.
    EXPECT_EQ(b_DaysSince1899(1999, 13, 1), b_DaysSince1899(2000, 1, 1));
    EXPECT_EQ(b_DaysSince1899(2000, 0, 31), b_DaysSince1899(1999, 12, 31));
    EXPECT_EQ(b_DaysSince1899(1900, 1, 0), 0);
}

TEST(FuncDate, WrittenForms) {
    CSettingsGuard guard;
    struct {
        char const* pszId;
        char cForm;
        int iDateOut;
        int iDay;
        char const* pszExpected;
    } const aCases[] = {
        {"date-1", 'A', 0, 1, "01/01/00"},        {"date-2", 'A', 0, 25568, "01/01/70"},
        {"date-3", 'A', 0, 36525, "01/01/2000"},  {"date-4", 'A', 2, 36525, "01/01/00"},
        {"date-5", 'I', 1, 36525, "2000.01.01"},  {"date-6", 'A', 0, 65536, "01/00/00"},
        {"date-7", 'E', 0, 36524, "31-12-99"},    {"date-8", 'E', 1, 36524, "31-12-1999"},
        {"date-9", 'I', 2, 65535, "79.06.05"},    {"date-10", 'A', 0, -65536, "01/00/00"},
        {"date-11", 'A', 0, 65536 + 25568, "01/01/70"}, {"date-12", 'A', 7, 36525, "01/01/2000"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        Morka.cDateForm = c.cForm;
        Morka.iDateOut = c.iDateOut;
        EXPECT_EQ(Date(c.iDay), CBString(c.pszExpected));
    }
    Morka.cDateForm = 'A';
    Morka.iDateOut = 0;
    EXPECT_EQ(Date(X("36525.9")), CBString("01/01/2000"));
    EXPECT_EQ(Date(X("-0.5")), Date(0)) << "truncated to 0: today";
    EXPECT_EQ(Date(b_RealNan(dfp_t{})), CBString("01/00/00"));
    EXPECT_EQ(Date(X("1E30")), CBString("01/00/00"));
}

TEST(FuncDate, ReadForms) {
    CSettingsGuard guard;
    struct {
        char const* pszId;
        char cForm;
        int iDateIn;
        char const* pszText;
        long lExpected;
    } const aCases[] = {
        {"day-1", 'E', 0, "31-12-1999", 36524}, {"day-2", 'E', 0, "311299", 36524},
        {"day-3", 'E', 0, "31-02-2000", -1},    {"day-4", 'I', 0, "2000.02.29", 36584},
        {"day-5", 'I', 0, "1900.02.29", -1},    {"day-6", 'E', 0, "12345", -1},
        {"day-7", 'E', 0, "", -1},              {"day-8", 'A', 0, "1/2", -1},
        {"day-9", 'I', 0, "2100-01-01", -1},    {"day-10", 'I', 0, "1899.12.31", -1},
        {"day-11", 'A', 0, "12/31/99", 36525 - 1}, {"day-12", 'A', 3, "12/31/99", -1},
        {"day-13", 'A', 3, "12/31/1999", 36524}, {"day-14", 'I', 0, "991231", 36524},
        {"day-15", 'I', 0, " 1999 . 12 . 31", -1}, {"day-16", 'I', 0, " 1999. 12. 31", 36524},
        {"day-17", 'A', 0, "1x2x1900", 2},     {"day-18", 'A', 0, "00/10/1999", -1},
        {"day-19", 'A', 0, "13/10/1999", -1},   {"day-20", 'E', 0, "29-02-1900", -1},
        {"day-21", 'E', 0, "99999999999999999999-1-1", -1}, {"day-22", 'A', 0, "01/01/-5", -1},
        {"day-23", 'A', 1, "01/01/05", 38352},  {"day-24", 'E', 0, "1-1-1900extra", 1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        Morka.cDateForm = c.cForm;
        Morka.iDateIn = c.iDateIn;
        EXPECT_TRUE(Day(c.pszText) == static_cast<dfp_t>(c.lExpected)) << Txt(Day(c.pszText));
        EXPECT_EQ(Dte(c.pszText).empty(), c.lExpected < 0);
    }
    EXPECT_TRUE(Day(nullptr) == -1);
    EXPECT_EQ(Dte(nullptr), CBString());
    Morka.cDateForm = 'E';
    Morka.iDateIn = 0;
    Morka.iDateOut = 1;
    EXPECT_EQ(Dte("1-2-99"), CBString("01-02-1999"));
}

TEST(FuncDate, SlidingYearWindow) {
    CSettingsGuard guard;
    Morka.iDateIn = 2;
    int iNow = s_CurrentYear();
    // A two-digit year reads as 20xx up to 50 years ahead, else as 19xx.
    EXPECT_EQ(b_YearDatein((iNow + 50) % 100), iNow + 50);
    EXPECT_EQ(b_YearDatein((iNow + 51) % 100), iNow + 51 - 100);
    EXPECT_EQ(b_YearDatein(iNow % 100), iNow);
    EXPECT_EQ(b_YearDatein(150), 150);
    Morka.iDateIn = 1;
    EXPECT_EQ(b_YearDatein(5), iNow < 2001 ? 1905 : 2005);
    Morka.iDateIn = 0;
    EXPECT_EQ(b_YearDatein(5), 1905);
    Morka.iDateIn = 9;
    EXPECT_EQ(b_YearDatein(5), 5);
}

TEST(FuncDate, Times) {
    struct {
        char const* pszId;
        char const* pszText;
        int iExpected;
    } const aCases[] = {
        {"sec-1", "01:01:01", 3661},    {"sec-2", "1:2", 3720},        {"sec-3", "", 0},
        {"sec-4", "x", 0},              {"sec-5", " 1: 2: 3", 3723},   {"sec-6", "1 :2", 3600},
        {"sec-7", "-1:0:0", -3600},     {"sec-8", "99999999999:0:0", 2147483647},
        {"sec-9", "24:00:00", 86400},   {"sec-10", "1:2:3:4", 3723},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(Second(c.pszText), c.iExpected);
    }
    EXPECT_EQ(Second(nullptr), 0);
    EXPECT_EQ(Time(3661), CBString("01:01:01"));
    EXPECT_EQ(Time(86399), CBString("23:59:59"));
    EXPECT_EQ(Time(86400), CBString("00:00:00"));
    EXPECT_EQ(Time(-5), CBString("00:00:00"));
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    int iNow = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    int iTime0 = Second(Time(0).c_str());
    EXPECT_TRUE(iTime0 - iNow >= 0 && iTime0 - iNow <= 2) << Time(0).c_str();
}

TEST(FuncTime, LocalScaleInFixedZones) {
    long long const aTimes[] = {0, 1, -1, 86399, 951782400, 2147483647, 2147483648LL, 4102444800LL, 32503680000LL, -2208988800LL};
    struct {
        char const* pszZone;
        long long llOffset;
    } const aZones[] = {{"UTC0", 0}, {"EST5", -18000}, {"JST-9", 32400}};
    for (auto const& zone : aZones) {
        CEnvValue tz("TZ", zone.pszZone);
        for (long long t : aTimes) {
            SCOPED_TRACE(std::string(zone.pszZone) + " " + std::to_string(t));
            long long llLocal = t + zone.llOffset + 86400;
            dfp_t x = Localtime(static_cast<dfp_t>(t));
            EXPECT_TRUE(x == static_cast<dfp_t>(llLocal)) << Txt(x);
            long long llDay = (llLocal >= 0 ? llLocal / 86400 : -((-llLocal + 86399) / 86400)) + 25567;
            long long llSeconds = llLocal - (llDay - 25567) * 86400;
            int iDay = 0, iSeconds = 0;
            b_time2DaysSeconds(static_cast<long>(t), iDay, iSeconds);
            EXPECT_EQ(iDay, llDay);
            EXPECT_EQ(iSeconds, llSeconds);
            if (llLocal >= 0) {
                EXPECT_EQ(Days(x), llDay);
                EXPECT_EQ(Seconds(x), llSeconds);
                // Back to the UTC scale: the local day and time less the offset.
                // (0 seconds would mean "now", so midnight is passed as 1.)
                dfp_t xStamp = Timestamp(iDay, iSeconds ? iSeconds : 1);
                EXPECT_TRUE(xStamp == static_cast<dfp_t>(t + 86400 + (iSeconds ? 0 : 1))) << Txt(xStamp);
            }
        }
    }
}

TEST(FuncTime, ScaleEdges) {
    EXPECT_EQ(Days(X("86400")), 25568);
    EXPECT_EQ(Days(X("0")), 25567);
    EXPECT_EQ(Days(X("-1")), 25566);
    EXPECT_EQ(Days(X("1E300")), -2147483647 - 1);
    EXPECT_EQ(Seconds(X("90061.9")), 3661);
    EXPECT_EQ(Seconds(X("-1")), -1);
    EXPECT_EQ(Seconds(X("-86401")), -1);
    EXPECT_TRUE(Localtime(X("1E300")) == 0);
    EXPECT_TRUE(Localtime(b_RealNan(dfp_t{})) == 0);
    CEnvValue tz("TZ", "EST5");
    EXPECT_TRUE(Timestamp(25566, 100) == 0);
    EXPECT_TRUE(Timestamp(25567, 100) == 100 + 18000);
    EXPECT_TRUE(Timestamp(73049, 3600) == (73049LL - 25567) * 86400 + 3600 + 18000);
    // 0 means now for either part.
    double dNow = static_cast<double>(std::time(nullptr)) + 86400;
    double dStamp = static_cast<double>(Timestamp(0, 0));
    EXPECT_NEAR(dStamp, dNow, 2.0);
}

TEST(FuncDate, Strtime) {
    CSettingsGuard guard;
    CEnvValue tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    CEnvValue lang("b_lang", "1");
    Morka.bGlibcTime = false;
    std::string const sLong = std::string(300, 'x') + "%Y";
    struct {
        char const* pszId;
        char const* pszFormat;
        int iDay;
        int iSeconds;
        std::string sExpected;
    } const aCases[] = {
        {"st-1", "%d/%m/%Y %b", 36525, 3600, "01/01/2000 Jan"},
        {"st-2", "%J.%m", 36525, 0, "1.01"},
        {"st-3", "%P %p", 36525, 3600, "a AM"},
        {"st-4", "%P %p", 36525, 13 * 3600, "p PM"},
        {"st-5", "%b %h", 36556, 0, "F\xC9v F\xC9v"},
        {"st-6", "%b", 36738, 0, "Ao\xD5"},
        {"st-7", "[%q]", 36525, 0, "[]"},
        {"st-8", "100%%", 36525, 0, "100%"},
        {"st-9", "50%", 36525, 0, "50%"},
        {"st-10", "%H:%M:%S", 36525, 3661, "01:01:01"},
        {"st-11", "%A %a %B", 36525, 0, "Saturday Sat January"},
        {"st-12", "%c", 36525, 3600, "Sat Jan  1 01:00:00 2000"},
        {"st-13", "%r", 36525, 3600, "01:00:00 AM"},
        {"st-14", "%Z", 36525, 0, "RST"},
        {"st-15", "%Z", 36700, 0, "RST"},
        {"st-16", sLong.c_str(), 36525, 0, std::string(300, 'x') + "2000"},
        {"st-17", "%Y-%m-%d", 0, 0, "1899-12-31"},
        {"st-18", "%j", 36525 + 365, 0, "366"},
        {"st-19", "no conversion", 36525, 0, "no conversion"},
        {"st-20", "%-d|%e", 36525, 0, "1| 1"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(Strtime(c.pszFormat, c.iDay, c.iSeconds).str(), c.sExpected);
    }
    EXPECT_EQ(Strtime(CBString("%Y"), 36525, 0), CBString("2000"));
    Morka.bGlibcTime = true;
    EXPECT_EQ(Strtime("%d %b %J", 36556, 0), CBString("01 Feb %J"));
}

// Language 0 leaves the names to the system library; French and English
// use the run-time's own abbreviations.
TEST(FuncDate, StrftimeLanguages) {
    std::tm tm{};
    tm.tm_year = 100;
    tm.tm_mon = 1;
    tm.tm_mday = 1;
    tm.tm_hour = 13;
    tm.tm_isdst = -1;
    std::mktime(&tm);
    struct {
        char const* pszLang;
        char const* pszExpected;
    } const aCases[] = {{"0", "Feb PM 1"}, {"2", "F\xC9v PM 1"}, {"english", "F\xC9v PM 1"}};
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszLang);
        CEnvValue lang("b_lang", c.pszLang);
        EXPECT_EQ(b_strftime("%b %p %J", tm), CBString(c.pszExpected));
    }
}
