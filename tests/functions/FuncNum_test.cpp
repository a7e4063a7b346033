// Numeric functions: readers and writers of number text, arithmetic, 16-bit
// logic, counters and the trigonometric family, in the flavour of the binary.
#include "FuncTestUtil.h"

#include <climits>
#include <cmath>

using namespace morka;

TEST(FuncNum, ReadNumbers) {
    struct {
        char const* pszId;
        char const* pszText;
        char const* pszValue;
        int iClass;
    } const aCases[] = {
        {"val-1", " 12 ", "12", 1},     {"val-2", "12x", "0", 0},      {"val-3", "1.5E3", "1500", 2},
        {"val-4", "1E5", "100000", 2},  {"val-5", "-.5", "0", 0},      {"val-6", "+7", "7", 1},
        {"val-7", "", "0", 0},          {"val-8", "1.", "1", 2},       {"val-9", "  -3.25  ", "-3.25", 2},
        {"val-10", "1 2", "0", 0},      {"val-11", "\t5", "0", 0},     {"val-12", "E5", "0", 0},
        {"val-13", "5E", "0", 0},       {"val-14", "5e-2", "0.05", 2}, {"val-15", "-", "0", 0},
        {"val-16", "1.5.2", "0", 0},    {"val-17", "123456789012", "123456789012", 1},
        {"val-18", "5E+", "0", 0},      {"val-19", "   ", "0", 0},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(b_NumberClass(c.pszText), c.iClass);
        EXPECT_EQ(Nbr(c.pszText), c.iClass ? -1 : 0);
        EXPECT_TRUE(Val(c.pszText) == X(c.pszValue)) << Txt(Val(c.pszText));
    }
    EXPECT_TRUE(Val(nullptr) == 0);
    CBString s("2.5");
    EXPECT_TRUE(Val(s) == X("2.5"));
}

TEST(FuncNum, OptionCommaSwitchesThePoint) {
    CSettingsGuard guard;
    OptionComma();
    EXPECT_TRUE(Val("1,5") == X("1.5")) << Txt(Val("1,5"));
    EXPECT_TRUE(Val("1.5") == 0);
    EXPECT_EQ(Nbr("1.5"), 0);
    EXPECT_EQ(Str(X("2.5")), CBString("2,5"));
    OptionNocomma();
    EXPECT_TRUE(Val("1.5") == X("1.5"));
    EXPECT_EQ(Str(X("2.5")), CBString("2.5"));
    // The settings' byte decides, even where the locale could not follow.
    Morka.cDecimal = ',';
    EXPECT_TRUE(Val("1,5") == X("1.5"));
    EXPECT_EQ(Str(X("2.5")), CBString("2,5"));
}

TEST(FuncNum, OtherReaders) {
    struct {
        char const* pszId;
        long lResult;
        long lExpected;
    } const aCases[] = {
        {"hex-1", static_cast<long>(Hex("FF")), 255},     {"hex-2", static_cast<long>(Hex(" 0x1f")), 31},
        {"hex-3", static_cast<long>(Hex("-1")), -1},      {"hex-4", static_cast<long>(Hex("xyz")), 0},
        {"hex-5", static_cast<long>(Hex("10g")), 16},     {"hex-6", static_cast<long>(Hex("")), 0},
        {"oct-1", Oct("177777"), 4095},                   {"oct-2", Oct("178"), 15},
        {"oct-3", Oct("-7"), 0},                          {"oct-4", Oct(" 7"), 0},
        {"oct-5", Oct("0017"), 15},                       {"oct-6", Oct("x"), 0},
        {"bin-1", Bin("0010x"), 2},                       {"bin-2", Bin(" 1"), 0},
        {"bin-3", Bin("000"), 0},                         {"bin-4", Bin("11111111111111111"), 65535},
        {"bin-5", Bin("10000000000000001"), 1},           {"bin-6", Bin("0021"), 0},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.lResult, c.lExpected);
    }
    EXPECT_EQ(Oct(nullptr), 0);
    EXPECT_EQ(Bin(nullptr), 0);
    EXPECT_TRUE(Hex(nullptr) == 0);
}

TEST(FuncNum, Writers) {
    struct {
        char const* pszId;
        CBString sResult;
        char const* pszExpected;
    } const aCases[] = {
        {"str-1", Str(X("0.1")), "0.1"},          {"str-2", Str(X("1E20")), "1E+20"},
        {"str-3", Str(X("-2.5")), "-2.5"},        {"str-4", Str(X("1") / X("3")), "0.33333333333333"},
        {"str-5", Str(X("0.0001")), "0.0001"},    {"str-6", Str(X("0.00001")), "1E-05"},
        {"str-7", Str(X("12345678901234")), "12345678901234"},
        {"str-8", Str(X("123456789012346")), "1.2345678901235E+14"},
        {"str-9", Str(-5), "-5"},                 {"str-10", Str(X("0.1") + X("0.2")), "0.3"},
        {"hexof-1", Hexof(-1), "FFFFFFFF"},       {"hexof-2", Hexof(255), "00FF"},
        {"hexof-3", Hexof(65536), "00010000"},    {"hexof-4", Hexof(0x100000000L), "0000000100000000"},
        {"hexof-5", Hexof(-32769), "FFFF7FFF"},   {"hexof-6", Hexof(-32768), "FFFF8000"},
        {"hexof-7", Hexof(-0x100000001L), "FFFFFFFEFFFFFFFF"},
        {"octof-1", Octof(-1), "177777"},         {"octof-2", Octof(8), "000010"},
        {"binof-1", Binof(5), "0000000000000101"}, {"binof-2", Binof(0), "0000000000000000"},
        {"binof-3", Binof(65536), "00000000000000010000000000000000"},
        {"binof-4", Binof(-1), "1111111111111111"},
        {"binof-5", Binof(-65536), "11111111111111110000000000000000"},
        {"binof-6", Binof(1L << 40), "0000000000000000000000010000000000000000000000000000000000000000"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.sResult, CBString(c.pszExpected));
    }
}

TEST(FuncNum, Arithmetic) {
    dfp_t const nan = b_RealNan(dfp_t{});
    EXPECT_EQ(Abs(INT_MIN), INT_MIN);
    EXPECT_EQ(Abs(-3), 3);
    EXPECT_TRUE(Abs(X("-2.5")) == X("2.5"));
    EXPECT_EQ(Str(Abs(X("-0"))), CBString("-0")) << "-0.0 comes back unchanged";
    EXPECT_TRUE(b_IsNan(Abs(nan)));
    EXPECT_EQ(Sgn(nan), 1);
    EXPECT_EQ(Sgn(X("-0.1")), -1);
    EXPECT_EQ(Sgn(X("0")), 0);
    EXPECT_EQ(Sgn(-7), -1);
    EXPECT_TRUE(Max(nan, 1) == 1);
    EXPECT_TRUE(Min(nan, X("1")) == 1);
    EXPECT_TRUE(b_IsNan(Min(X("1"), nan)));
    EXPECT_TRUE(Max(2, X("2.5")) == X("2.5"));
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_TRUE(Mod(7, X("-2")) == 1);
    EXPECT_TRUE(Mod(X("-7"), 2) == -1);
    EXPECT_TRUE(Mod(X("5.5"), X("2")) == X("1.5"));
    EXPECT_TRUE(Fp(X("-2.75")) == X("0.75"));
    EXPECT_TRUE(Ip(X("-2.75")) == 2);
}

TEST(FuncNum, Gcd) {
    EXPECT_TRUE(Gcd(4, -6) == -2);
    EXPECT_TRUE(Gcd(-4, 6) == 2);
    EXPECT_TRUE(Gcd(0, -5) == -5);
    EXPECT_TRUE(Gcd(12, 18) == 6);
    EXPECT_TRUE(Gcd(INT_MIN, -1) == -1) << "no division trap";
    EXPECT_TRUE(Gcd(-1, INT_MIN) == -1);
    EXPECT_TRUE(Gcd(X("0"), X("-5")) == 5);
    EXPECT_TRUE(Gcd(X("12"), X("-18")) == 6);
    EXPECT_TRUE(Gcd(X("0.5"), X("0.25")) == X("0.25"));
    EXPECT_TRUE(b_IsNan(Gcd(X("inf"), X("2"))));
    EXPECT_TRUE(b_IsNan(Gcd(X("2"), b_RealNan(dfp_t{}))));
}

TEST(FuncNum, Round) {
    struct {
        char const* pszId;
        char const* pszX;
        char const* pszPlaces;
        char const* pszBinary;
        char const* pszDecimal;
    } const aCases[] = {
        {"round-1", "2.5", "0", "3", "3"},           {"round-2", "-2.5", "0", "-2", "-2"},
        {"round-3", "1.005", "2", "1", "1.01"},      {"round-4", "2.675", "2", "2.68", "2.68"},
        {"round-5", "1234.5678", "-2", "1200", "1200"}, {"round-6", "1234.5678", "1", "1234.6", "1234.6"},
        {"round-7", "0.285", "2", "0.28", "0.29"},   {"round-8", "-0.125", "2", "-0.12", "-0.12"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        dfp_t r = Round(X(c.pszX), X(c.pszPlaces));
        EXPECT_TRUE(r == X(b_bDecimalFlavour ? c.pszDecimal : c.pszBinary)) << Txt(r);
    }
    EXPECT_TRUE(Round(X("inf"), 2) == 0);
    EXPECT_TRUE(Round(X("-inf"), 2) == 0);
    EXPECT_TRUE(b_IsNan(Round(b_RealNan(dfp_t{}), 2)));
}

TEST(FuncNum, SixteenBitLogic) {
    CSettingsGuard guard;
    b_bLogical = false;
    EXPECT_EQ(Not(0), -1);
    EXPECT_EQ(Not(5), -6);
    EXPECT_EQ(Not(X("40000")), Not(-32768));
    EXPECT_EQ(Not(X("-1.9")), 0);
    EXPECT_EQ(Not(b_RealNan(dfp_t{})), 32767);
    b_bLogical = true;
    EXPECT_EQ(Not(0), -1);
    EXPECT_EQ(Not(5), 0);
    EXPECT_EQ(Not(X("0.5")), -1) << "truncated to 0 first";
    struct {
        char const* pszId;
        int iResult;
        int iExpected;
    } const aCases[] = {
        {"eqv-1", Eqv(0, 0), -1},          {"eqv-2", Eqv(0x00FF, 0x0F0F), static_cast<int16_t>(0xF00F)},
        {"imp-1", Imp(1, 0), -2},          {"imp-2", Imp(0, 0), -1},
        {"lrl-1", Lrl(-32768, 1), 1},      {"lrl-2", Lrl(1, 0), 1},
        {"lrl-3", Lrl(1, -1), -32768},     {"lrl-4", Lrl(1, 17), 2},
        {"lrl-5", Lrl(0x1234, 4), 0x2341}, {"lrr-1", Lrr(1, 1), -32768},
        {"lrr-2", Lrr(-32768, 1), 16384},  {"lrr-3", Lrr(2, -1), 4},
        {"lrr-4", Lrr(0x1234, 4), 0x4123}, {"lrr-5", Lrr(-1, 5), -1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(c.iResult, c.iExpected);
    }
}

TEST(FuncNum, CountersAndLockOwner) {
    double dMsec = static_cast<double>(Msec());
    double dNsec = static_cast<double>(Nsec());
    EXPECT_GE(dMsec, 0);
    EXPECT_LT(dMsec, 86400000.0);
    EXPECT_LT(dNsec, 86400e9);
    EXPECT_EQ(std::floor(dMsec), dMsec);
    // The same clock: a millisecond count later than the first reading,
    // unless the day of the raw clock turned over in between.
    double dDiff = dNsec / 1e6 - dMsec;
    EXPECT_TRUE((dDiff >= 0 && dDiff < 1000) || dDiff < -86000000.0) << dDiff;
    CSettingsGuard guard;
    Morka.iLockedBy = 4711;
    EXPECT_EQ(LockedBy(), 4711);
}

namespace {

double s_Sgn(double x) { return x < 0 ? -1 : x == 0 ? 0 : 1; }

void s_ExpectClose(dfp_t x, double dExpected) {
    double d = static_cast<double>(x);
    EXPECT_NEAR(d, dExpected, 1e-12 * std::max(1.0, std::fabs(dExpected))) << Txt(x);
}

}  // namespace

TEST(FuncTrig, FormulasInRadians) {
    CSettingsGuard guard;
    OptionRadian();
    struct {
        char const* pszId;
        dfp_t (*pfn)(dfp_t);
        double x;
        double (*pfnExpected)(double);
    } const aCases[] = {
        {"sin", Sin, 0.5, [](double x) { return std::sin(x); }},
        {"cos", Cos, 0.5, [](double x) { return std::cos(x); }},
        {"tan", Tan, 0.5, [](double x) { return std::tan(x); }},
        {"cot", Cot, 0.5, [](double x) { return 1 / std::tan(x); }},
        {"sec", Sec, 0.5, [](double x) { return 1 / std::cos(x); }},
        {"csc", Csc, 0.5, [](double x) { return 1 / std::sin(x); }},
        {"asin", Asin, 0.5, [](double x) { return std::asin(x); }},
        {"acos", Acos, 0.5, [](double x) { return std::acos(x); }},
        {"atan", Atan, 0.5, [](double x) { return std::atan(x); }},
        {"acot", Acot, 0.5, [](double x) { return 1.570796326794 - std::atan(x); }},
        {"asec", Asec, 2.0, [](double x) { return std::atan(x / std::sqrt(x * x - 1)) + s_Sgn(x - 1) * 1.570796326794; }},
        {"asec-neg", Asec, -2.0, [](double x) { return std::atan(x / std::sqrt(x * x - 1)) + s_Sgn(x - 1) * 1.570796326794; }},
        {"acsc", Acsc, -2.0, [](double x) { return std::atan(x / std::sqrt(x * x - 1)) + (s_Sgn(x) - 1) * 1.570796326794; }},
        {"sinh", Sinh, 0.5, [](double x) { return std::sinh(x); }},
        {"cosh", Cosh, 0.5, [](double x) { return std::cosh(x); }},
        {"tanh", Tanh, 0.5, [](double x) { return std::tanh(x); }},
        {"coth", Coth, 0.5, [](double x) { return 1 / std::tanh(x); }},
        {"sech", Sech, 0.5, [](double x) { return 1 / std::cosh(x); }},
        {"csch", Csch, 0.5, [](double x) { return 1 / std::sinh(x); }},
        {"asinh", Asinh, 0.5, [](double x) { return std::asinh(x); }},
        {"acosh", Acosh, 2.0, [](double x) { return std::acosh(x); }},
        {"atanh", Atanh, 0.5, [](double x) { return std::atanh(x); }},
        {"acoth", Acoth, 2.0, [](double x) { return std::atanh(1 / x); }},
        {"asech", Asech, 0.5, [](double x) { return std::acosh(1 / x); }},
        {"acsch", Acsch, -0.5, [](double x) { return std::asinh(1 / x); }},
        {"deg", Deg, 1.0, [](double x) { return x * 180 / 3.141592653589; }},
        {"rad", Rad, 90.0, [](double x) { return x * 3.141592653589 / 180; }},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        s_ExpectClose(c.pfn(static_cast<dfp_t>(c.x)), c.pfnExpected(c.x));
    }
    EXPECT_TRUE(b_IsNan(Asin(X("2"))));
    EXPECT_TRUE(b_IsNan(Acosh(X("0.5"))));
    EXPECT_TRUE(b_IsInf(Cot(X("0"))));
    s_ExpectClose(Angle(X("1"), X("1")), std::atan(1.0));
    EXPECT_TRUE(b_IsNan(Angle(X("0"), X("0"))));
}

TEST(FuncTrig, DegreeMode) {
    CSettingsGuard guard;
    OptionDegree();
    EXPECT_EQ(b_Degree, 1);
    s_ExpectClose(Sin(X("90")), 1.0);
    s_ExpectClose(Cos(X("60")), 0.5);
    s_ExpectClose(Angle(X("1"), X("1")), 45.0);
    // The inverse functions convert their argument as well.
    s_ExpectClose(Atan(X("1")), std::atan(3.141592653589 / 180));
    s_ExpectClose(Asinh(X("1")), std::asinh(3.141592653589 / 180));
    OptionRadian();
    EXPECT_EQ(b_Degree, 0);
    s_ExpectClose(Atan(X("1")), std::atan(1.0));
}
