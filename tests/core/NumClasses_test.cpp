// Numeric conversions, truth values, the FOR/NEXT overflow test and SWAP, in
// the flavour this binary is built for; the decimal overloads are checked in
// both flavours.
#include <velbra.h>

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

using namespace morka;

TEST(NumClasses, SixteenBitConversion) {
    struct { char const* id; double x; int iExpected; } const aCases[] = {
        {"i-max", 32767, 32767},      {"i-over", 32768, -32768},      {"i-under", -32769, -32768},
        {"i-trunc-neg", -7.9, -7},    {"i-trunc-pos", 7.9, 7},        {"i-max-real", 32767.0, 32767},
        {"i-above-max", 32767.9, -32768}, {"i-min", -32768.0, -32768}, {"i-nan", NAN, -32768},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(b_I(c.x), c.iExpected);
        EXPECT_EQ(b_I(static_cast<decimal64>(c.x)), std::isnan(c.x) ? -32768 : c.iExpected);
        EXPECT_EQ(static_cast<int>(CInt16(CDfp(c.x))), c.iExpected);
    }
    EXPECT_EQ(b_I(32767), 32767);
    EXPECT_EQ(b_I(32768), -32768);
    EXPECT_EQ(b_I(-32769L), -32768);
    EXPECT_EQ(static_cast<int>(CInt16(CInt32(40000))), -32768);
}

TEST(NumClasses, ThirtyTwoBitConversion) {
    struct { char const* id; double x; int iExpected; } const aCases[] = {
        {"l-max", 2147483647.0, 2147483647},  {"l-above", 2147483647.5, -2147483647 - 1},
        {"l-min", -2147483648.0, -2147483647 - 1}, {"l-below", -2147483648.5, -2147483647 - 1},
        {"l-trunc", -1234567.99, -1234567},   {"l-nan", NAN, -2147483647 - 1},
        {"l-huge", 1e300, -2147483647 - 1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(b_L(c.x), c.iExpected);
        EXPECT_EQ(static_cast<int>(CInt32(CDfp(c.x))), c.iExpected);
    }
    EXPECT_EQ(b_L(2147483648L), -2147483647 - 1);
    EXPECT_EQ(b_L(-5L), -5);
    // The decimal form truncates the decimal value itself.
    EXPECT_EQ(b_L(strtod64("2147483646.99", nullptr)), 2147483646);
    EXPECT_EQ(b_L(strtod64("2147483647.5", nullptr)), -2147483647 - 1);
    EXPECT_EQ(b_I(strtod64("-7.9", nullptr)), -7);
}

TEST(NumClasses, TruthValues) {
    EXPECT_EQ(b_T(0.0), 0);
    EXPECT_EQ(b_T(-0.0), 0);
    EXPECT_EQ(b_T(1e-300), -1);
    EXPECT_EQ(b_T(NAN), -1);
    EXPECT_EQ(b_T(5), -1);
    EXPECT_EQ(b_T(0), 0);
    EXPECT_EQ(b_T(static_cast<decimal64>(0)), 0);
    EXPECT_EQ(b_T(strtod64("0.001", nullptr)), -1);
}

TEST(NumClasses, RealArithmeticOfTheFlavour) {
    CDfp x = CDfp(0.1) + CDfp(0.2);
    if constexpr (b_bDecimalFlavour)
        EXPECT_TRUE(x == CDfp(strtod64("0.3", nullptr))) << "decimal flavour adds exactly";
    else
        EXPECT_FALSE(x == CDfp(0.3)) << "IEEE flavour keeps binary rounding";
    EXPECT_EQ(b_L((CDfp(7) / CDfp(2)).Value()), 3);
}

TEST(ForNext, SixteenBitBoundaries) {
    for (int counter = 32760; counter <= 32767; ++counter) {
        SCOPED_TRACE(counter);
        EXPECT_EQ(__exit_for_next__(CInt16(1), CInt16(counter), CInt32(1)), counter == 32767);
    }
    for (int counter = -32768; counter <= -32760; ++counter) {
        SCOPED_TRACE(counter);
        EXPECT_EQ(__exit_for_next__(CInt16(-1), CInt16(counter), CInt32(-1)), counter == -32768);
    }
    EXPECT_FALSE(__exit_for_next__(CInt16(1), CInt16(32767), CInt32(0)));
    EXPECT_FALSE(__exit_for_next__(CInt16(1), CInt16(32767), CInt32(2)));
    EXPECT_TRUE(__exit_for_next__(CInt16(10), CInt16(32758), CInt32(1)));
    EXPECT_FALSE(__exit_for_next__(CInt16(10), CInt16(32757), CInt32(1)));
}

TEST(ForNext, ThirtyTwoBitAndRealBoundaries) {
    EXPECT_TRUE(__exit_for_next__(CInt32(1), CInt32(2147483647), CInt32(1)));
    EXPECT_FALSE(__exit_for_next__(CInt32(1), CInt32(2147483646), CInt32(1)));
    EXPECT_TRUE(__exit_for_next__(CInt32(-2), CInt32(-2147483647), CInt32(-1)));
    EXPECT_FALSE(__exit_for_next__(CInt32(-2), CInt32(-2147483646), CInt32(-1)));
    // A real loop from 10 down to -5 never trips the test.
    for (int i = 10; i >= -5; --i) EXPECT_FALSE(__exit_for_next__(CDfp(-1), CDfp(i), CInt32(-1)));
    EXPECT_TRUE(__exit_for_next__(CDfp(1e308), CDfp(1.5e308), CInt32(1)));
}

TEST(Swap, ExchangesEveryKind) {
    CInt16 a(1), b(2);
    Swap(a, b);
    EXPECT_EQ(int(a), 2);
    EXPECT_EQ(int(b), 1);
    CDfp x(1.5), y(-2);
    Swap(x, y);
    EXPECT_TRUE(x == CDfp(-2) && y == CDfp(1.5));
    CBString s("left"), t(CBString("ri\0ght", 6));
    Swap(s, t);
    EXPECT_EQ(s, CBString("ri\0ght", 6));
    EXPECT_EQ(t, "left");
}
