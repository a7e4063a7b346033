// The legacy BCD number: byte layout, 14-digit rounding, exponent range, and
// exact round trips through double and decimal64 over a large random sample.
#include <morka/Bcd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace morka;

namespace {

std::string s_Hex(unsigned char const* p) {
    std::string s;
    char sz[4];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(sz, sizeof sz, i ? " %02X" : "%02X", p[i]);
        s += sz;
    }
    return s;
}

std::string s_Encode(double x, bool* pbOk = nullptr) {
    unsigned char ab[8];
    std::memcpy(ab, &x, 8);
    bool bOk = ieee2bcd(ab);
    if (pbOk) *pbOk = bOk;
    return bOk ? s_Hex(ab) : "refused";
}

void s_FromHex(char const* psz, unsigned char* p) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(std::strtoul(psz + 3 * i, nullptr, 16));
}

}  // namespace

TEST(Bcd, ByteLayout) {
    struct {
        char const* pszId;
        double x;
        char const* pszHex;
    } const aCases[] = {
        {"bcd-1 zero", 0.0, "00 00 00 00 00 00 00 00"},
        {"bcd-2 negative zero", -0.0, "00 00 00 00 00 00 00 00"},
        {"bcd-3 one", 1.0, "41 10 00 00 00 00 00 00"},
        {"bcd-4 minus one and a half", -1.5, "C1 15 00 00 00 00 00 00"},
        {"bcd-5 fourteen digits", 12345678901234.0, "4E 12 34 56 78 90 12 34"},
        {"bcd-6 a tenth", 0.1, "40 10 00 00 00 00 00 00"},
        {"bcd-7 money", 1234.56, "44 12 34 56 00 00 00 00"},
        {"bcd-8 smallest", 1e-65, "00 10 00 00 00 00 00 00"},
        {"bcd-9 largest", 9.9999999999999e62, "7F 99 99 99 99 99 99 99"},
        {"bcd-10 rounded to 14 digits", 0.1 + 0.2, "40 30 00 00 00 00 00 00"},
        {"bcd-11 a third", 1.0 / 3.0, "40 33 33 33 33 33 33 33"},
        {"bcd-12 round up carries", 99999999999999.5, "4F 10 00 00 00 00 00 00"},
        {"bcd-13 whole number above 1E14", 123456789012345678.0, "52 12 34 56 78 90 12 35"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(s_Encode(c.x), c.pszHex);
    }
}

TEST(Bcd, RefusesWhatItCannotHold) {
    for (double x : {1e63, -1e63, 9.99999999999996e62, 1e-66, 9.9e-67, double(NAN), double(INFINITY), -double(INFINITY), 1e300}) {
        SCOPED_TRACE(x);
        unsigned char ab[8];
        std::memcpy(ab, &x, 8);
        unsigned char abBefore[8];
        std::memcpy(abBefore, ab, 8);
        EXPECT_FALSE(ieee2bcd(ab));
        EXPECT_EQ(std::memcmp(ab, abBefore, 8), 0) << "bytes changed";
    }
    decimal64 xBig = strtod64("1E63", nullptr), x15 = strtod64("1.23456789012345", nullptr);
    unsigned char ab[8] = {};
    EXPECT_FALSE(dfp2bcd(xBig, ab));
    EXPECT_FALSE(dfp2bcd(x15, ab)) << "15 digits cannot be stored exactly";
}

// Every value of 1 to 14 significant digits across the whole exponent range
// survives double -> BCD -> double and decimal64 -> BCD -> decimal64 exactly,
// and the stored digits are the written ones.
TEST(Bcd, RandomValuesRoundTripExactlyInBothFlavours) {
    std::mt19937_64 rng(20260115);
    for (int k = 0; k < 200000; ++k) {
        int nDigits = 1 + static_cast<int>(rng() % 14);
        std::string sDigits(1, static_cast<char>('1' + rng() % 9));
        for (int i = 1; i < nDigits; ++i) sDigits += static_cast<char>('0' + rng() % 10);
        int iExp = -65 + static_cast<int>(rng() % 128);  // scientific exponent -65..62
        bool bNeg = rng() & 1;
        std::string sText = std::string(bNeg ? "-" : "") + sDigits.substr(0, 1) + "." + sDigits.substr(1) + "e" + std::to_string(iExp);
        SCOPED_TRACE(sText);

        char szHex[32];
        std::string sPadded = sDigits + std::string(static_cast<std::size_t>(14 - nDigits), '0');
        std::snprintf(szHex, sizeof szHex, "%02X", (bNeg ? 0x80 : 0) | (iExp + 1 + 64));
        std::string sExpect = szHex;
        for (int i = 0; i < 14; i += 2) sExpect += " " + sPadded.substr(static_cast<std::size_t>(i), 2);

        double x = std::strtod(sText.c_str(), nullptr);
        unsigned char ab[8];
        std::memcpy(ab, &x, 8);
        ASSERT_TRUE(ieee2bcd(ab));
        ASSERT_EQ(s_Hex(ab), sExpect);
        ASSERT_EQ(bcd2ieee(ab), x);

        decimal64 d = strtod64(sText.c_str(), nullptr);
        unsigned char abD[8];
        ASSERT_TRUE(dfp2bcd(d, abD));
        ASSERT_EQ(s_Hex(abD), sExpect);
        decimal64 dBack = bcd2dfp(ab);
        ASSERT_TRUE(dBack == d);
        ASSERT_EQ(static_cast<double>(dBack), static_cast<double>(d));
    }
}

TEST(Bcd, DamagedBytesStillGiveFiniteNumbers) {
    unsigned char ab[8];
    s_FromHex("FF FF FF FF FF FF FF FF", ab);
    EXPECT_TRUE(std::isfinite(bcd2ieee(ab)));
    EXPECT_LT(bcd2ieee(ab), 0);
    s_FromHex("41 A0 00 00 00 00 00 00", ab);  // nibble 10 reads as its value
    EXPECT_EQ(bcd2ieee(ab), 10.0);
    s_FromHex("00 00 00 00 00 00 00 00", ab);
    EXPECT_EQ(bcd2ieee(ab), 0.0);
    EXPECT_TRUE(bcd2dfp(ab) == strtod64("0", nullptr));
}
