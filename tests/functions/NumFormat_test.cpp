// Pictures: the decoder, the formatter through Format, the overflow marker
// and the PRINT USING picture walk (into a string sink).
#include "FuncTestUtil.h"
#include "runtime/functions/UsingWalk.h"

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

using namespace morka;

TEST(NumFormat, Decode) {
    struct {
        char const* pszId;
        char const* pszPicture;
        int iResult;
        int nConsumed;
        int iWidth, iInteger, iDecimals, iExponent;
        char cFill, cSign;
        int bDollar, bBlankZero, bComma;
    } const aCases[] = {
        {"dec-1", "###.##", 1, 6, 6, 3, 2, 0, ' ', 0, 0, 0, 0},
        {"dec-2", "**#,###.##-x", 1, 11, 11, 7, 2, 0, '*', '-', 0, 0, 1},
        {"dec-3", "$$99.99", 1, 7, 7, 4, 2, 0, '0', 0, 1, 0, 0},
        {"dec-4", "ZZ##.##", 1, 7, 7, 4, 2, 0, ' ', 0, 0, 1, 0},
        {"dec-5", "###>", 1, 4, 5, 3, 0, 0, ' ', '>', 0, 0, 0},
        {"dec-6", "##cr", 1, 4, 4, 2, 0, 0, ' ', 'C', 0, 0, 0},
        {"dec-7", "##DB", 1, 4, 4, 2, 0, 0, ' ', 'D', 0, 0, 0},
        {"dec-8", "##CX", 1, 2, 2, 2, 0, 0, ' ', 0, 0, 0, 0},
        {"dec-9", "##.##^^^^^^", 1, 10, 10, 2, 2, 5, ' ', 0, 0, 0, 0},
        {"dec-10", "##^x", 1, 2, 2, 2, 0, 0, ' ', 0, 0, 0, 0},
        {"dec-11", "*x", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"dec-12", "$x", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"dec-13", "**$##", 1, 3, 2, 2, 0, 0, '*', 0, 0, 0, 0},
        {"dec-14", "Zx", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"dec-15", "$$Z#", 1, 4, 4, 4, 0, 0, ' ', 0, 1, 0, 0},
        {"dec-16", "#.#.#", 1, 3, 3, 1, 1, 0, ' ', 0, 0, 0, 0},
        {"dec-17", ",##", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"dec-18", "**9", 1, 3, 3, 3, 0, 0, '0', 0, 0, 0, 0},
        {"dec-19", "**$$##", 1, 6, 6, 6, 0, 0, '*', 0, 1, 0, 0},
        {"dec-20", ".$$", 1, 3, 3, 0, 2, 0, '$', 0, 0, 0, 0},
        {"dec-21", "#+", 1, 2, 2, 1, 0, 0, ' ', '+', 0, 0, 0},
        {"dec-22", "**ZZ#", 1, 5, 5, 5, 0, 0, '*', 0, 0, 0, 0},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        using_format f;
        char const* p = c.pszPicture;
        EXPECT_EQ(b_DecodeFormat(&p, &f), c.iResult);
        EXPECT_EQ(p - c.pszPicture, c.nConsumed);
        EXPECT_EQ(f.iWidth, c.iWidth);
        EXPECT_EQ(f.iInteger, c.iInteger);
        EXPECT_EQ(f.iDecimals, c.iDecimals);
        EXPECT_EQ(f.iExponent, c.iExponent);
        EXPECT_EQ(f.cFill, c.cFill);
        EXPECT_EQ(f.cSign, c.cSign);
        EXPECT_EQ(f.bDollar, c.bDollar);
        EXPECT_EQ(f.bBlankZero, c.bBlankZero);
        EXPECT_EQ(f.bComma, c.bComma);
    }
}

namespace {

struct CFormatCase {
    char const* pszId;
    char const* pszPicture;
    char const* pszValue;
    char const* pszExpected;
};

void s_RunFormatCases(CFormatCase const* aCases, std::size_t nCases) {
    for (std::size_t i = 0; i < nCases; ++i) {
        CFormatCase const& c = aCases[i];
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(Format(X(c.pszValue), c.pszPicture), CBString(c.pszExpected));
    }
}

}  // namespace

TEST(NumFormat, FixedForm) {
    CFormatCase const aCases[] = {
        {"fix-1", "###.##", "3.14159", "  3.14"},     {"fix-2", "###.##", "1234.5", "% 1234.5"},
        {"fix-3", "###.##", "-3.14159", " -3.14"},    {"fix-4", "###.##", "-123.45", "% -123.45"},
        {"fix-5", "#.##", "1.15", "1.15"},            {"fix-6", "#.##", "2.675", "2.68"},
        {"fix-7", ".##", "0.5", "% 0.5"},             {"fix-8", "##", "-0.3", "-0"},
        {"fix-9", "#,###,###", "1234567", "1,234,567"}, {"fix-10", "**#,###.##", "12.5", "*****12.50"},
        {"fix-11", "**#,###.##", "-12.5", "% -12.5"},  {"fix-12", "**#,###.##-", "-12.5", "*****12.50-"},
        {"fix-13", "$$###.##", "12.5", "  $12.50"},   {"fix-14", "$$99.99", "1.5", "$001.50"},
        {"fix-15", "ZZ##.##", "0", "       "},        {"fix-16", "ZZ##.##", "0.001", "       "},
        {"fix-17", "###.##CR", "-5", "  5.00CR"},     {"fix-18", "###.##CR", "5", "  5.00  "},
        {"fix-19", "###>", "-5", " <5>"},             {"fix-20", "###>", "5", "  5 "},
        {"fix-21", "###+", "5", "  5+"},              {"fix-22", "###+", "-5", "  5-"},
        {"fix-23", "###+", "0", "  0 "},              {"fix-24", "###-", "5", "  5 "},
        {"fix-25", "##DB", "-5", " 5DB"},             {"fix-26", "$$,###.##", "1234.5", "$1,234.50"},
        {"fix-27", "ZZZ9", "0", "    "},              {"fix-28", "ZZZ9", "5", "0005"},
        {"fix-29", "#", "1E300", "% 1e+300"},         {"fix-30", "##", "99.5", "% 99.5"},
        {"fix-31", "##", "-0.5", "-1"},           {"fix-32", "##.#", "-0.04", " 0.0"},
        {"fix-33", "$$##", "-5", "% -5"},             {"fix-34", "99", "-5", "% -5"},
        {"fix-35", "##.##", "0.995", " 1.00"},        {"fix-36", "#,###", "-123", " -123"},
        {"fix-37", "####.###", "-0.0005", "   0.000"},  {"fix-38", "################", "1E15", "1000000000000000"},
    };
    s_RunFormatCases(aCases, std::size(aCases));
}

// The mantissa of a negative value rounds as the fixed form does: halves go
// up, so -12.345 becomes -12.34.
TEST(NumFormat, ExponentForm) {
    CFormatCase const aCases[] = {
        {"exp-1", "##.##^^^^", "12345", "12.35E+03"},  {"exp-2", "##.##^^^^", "0.05", "50.00E-03"},
        {"exp-3", "##.##^^^^", "0.01", "10.00E-03"},   {"exp-4", "##.##^^", "0.05", "% 0.05"},
        {"exp-5", "99.99^^^^", "5", "% 5"},            {"exp-6", "##.##^^^", "12345", "12.35E+3"},
        {"exp-7", "##.##^^^^^", "12345", "12.35E+003"}, {"exp-8", "##.##^^", "12345", "12.35E3"},
        {"exp-9", "##.##^^^^", "0", " 0.00E+00"},      {"exp-10", "###.##^^^^", "-12345", "-12.34E+03"},
        {"exp-11", "##.##^^^^", "99999", "10.00E+04"},  {"exp-12", "#.#^^^", "1E15", "% 1e+15"},
        {"exp-13", "$$#.##^^^^", "5", "% 5"},           {"exp-14", "ZZ#.##^^^^", "0", "          "},
        {"exp-15", "#^^^^", "-5", "% -5"},              {"exp-16", "##^^^^", "0.5", "50E-02"},
    };
    s_RunFormatCases(aCases, std::size(aCases));
}

TEST(NumFormat, FormatFunction) {
    CFormatCase const aCases[] = {
        {"fmt-1", "abc", "5", "abc% 5"},           {"fmt-2", "!##", "5", "% 5"},
        {"fmt-3", "Total: ###.## EUR", "3.5", "Total:   3.50 EUR"},
        {"fmt-4", "## and ##", "7", " 7 and "},    {"fmt-5", "x'##", "1", "% 1"},
        {"fmt-6", "(##)$$", "7", "( 7)"},          {"fmt-7", "**$###.##", "5", "*5"},
        {"fmt-8", "", "2.5", "% 2.5"},             {"fmt-9", ".##", "0.25", "% 0.25"},
        {"fmt-10", "#,###", "1234", "1,234"},       {"fmt-11", "##zz", "12", "  12"},
    };
    s_RunFormatCases(aCases, std::size(aCases));
    EXPECT_EQ(Format(5, CBString("##.#")), CBString(" 5.0"));
    EXPECT_EQ(Format(X("5"), nullptr), CBString("% 5"));
}

TEST(NumFormat, NonFiniteValuesOverflow) {
    EXPECT_EQ(Format(b_RealNan(dfp_t{}), "###"), CBString(b_bDecimalFlavour ? "% 1e+385" : "% 1.79769e+308"));
    EXPECT_EQ(Format(X("inf"), std::string(400, '#').c_str()), CBString("% inf"));
    EXPECT_EQ(Format(X("-inf"), "##.##^^^^"), CBString("% -inf"));
    // A very wide picture shows every digit of a huge value.
    CBString s = Format(X("1180591620717411303424"), "########################");
    EXPECT_EQ(s, CBString(b_bDecimalFlavour ? "  1180591620717411000000" : "  1180591620717411303424"));
}

TEST(NumFormat, OptionCommaSwapsPointAndGroups) {
    CSettingsGuard guard;
    OptionComma();
    EXPECT_EQ(Format(X("1234567.5"), "#,###,###.##"), CBString("1.234.567,50"));
    EXPECT_EQ(Format(X("1234.5"), "##.#"), CBString("% 1234,5"));
    EXPECT_EQ(b_PrintDecimal("%.2f", X("2.5")), CBString("2,50"));
    Morka.cCurrency = 'E';
    EXPECT_EQ(Format(X("12.5"), "$$###.##"), CBString("  E12,50"));
}

// The formatter rounds in the flavour's arithmetic: money amounts whose
// binary value falls just short of a half round down in the IEEE flavour.
TEST(NumFormat, MoneyRounding) {
    struct {
        char const* pszId;
        char const* pszValue;
        char const* pszBinary;
        char const* pszDecimal;
    } const aCases[] = {
        {"money-1", "1.005", "1.00", "1.01"}, {"money-2", "0.285", "0.28", "0.29"},
        {"money-3", "2.675", "2.68", "2.68"}, {"money-4", "1.015", "1.01", "1.02"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(Format(X(c.pszValue), "#.##"), CBString(b_bDecimalFlavour ? c.pszDecimal : c.pszBinary));
    }
    dfp_t xSum = 0;
    for (int i = 0; i < 10; ++i) xSum += X("0.1");
    EXPECT_EQ(Format(xSum - X("1"), "#.##################"), CBString(b_bDecimalFlavour ? "0.000000000000000000" : "% -1.11022e-16"));
}

namespace {

class CStringSink : public CUsingSink {
public:
    void Text(std::string_view sPiece) override { sOut += sPiece; }
    void LineEnd() override { sOut += '\n'; }
    std::string sOut;
};

CUsingValue s_Num(char const* psz) {
    CUsingValue v;
    v.cType = 'd';
    v.x = X(psz);
    return v;
}

CUsingValue s_Int(long n) {
    CUsingValue v;
    v.cType = 'i';
    v.n = n;
    return v;
}

CUsingValue s_Text(char const* psz) {
    CUsingValue v;
    v.cType = 's';
    v.sText = psz;
    return v;
}

std::string s_Walk(char const* pszPicture, std::vector<CUsingValue> const& aValues) {
    CStringSink sink;
    b_UsingWalk(pszPicture, aValues.data(), aValues.size(), sink);
    return sink.sOut;
}

}  // namespace

TEST(PrintUsing, PictureWalk) {
    struct {
        char const* pszId;
        char const* pszPicture;
        std::vector<CUsingValue> aValues;
        char const* pszExpected;
    } const aCases[] = {
        {"walk-1", "'LLLL|", {s_Text("abcdefgh")}, "abcde|"},
        {"walk-2", "'RRR", {s_Text("ab")}, "  ab"},
        {"walk-3", "'CCCC", {s_Text("ab")}, " ab  "},
        {"walk-4", "\\  \\", {s_Text("abcdef")}, "abcd"},
        {"walk-5", "## ", {s_Num("1"), s_Num("2"), s_Num("3")}, " 1 \n 2 \n 3 "},
        {"walk-6", "!", {s_Num("5")}, "%  5 "},
        {"walk-7", "'E", {s_Text("abcdef")}, "abcdef"},
        {"walk-8", "'x", {s_Text("hello")}, "hx"},
        {"walk-9", "## and ##", {s_Num("1")}, " 1 and "},
        {"walk-10", "abc", {s_Num("1"), s_Num("2")}, "abc"},
        {"walk-11", "[##]", {s_Text("s"), s_Int(4)}, "[]\n[ 4]"},
        {"walk-12", "$x##", {s_Int(5)}, "$x 5"},
        {"walk-13", "!|!", {s_Text("xyz"), s_Text("")}, "x| "},
        {"walk-14", "'llL", {s_Text("a")}, "a   "},
        {"walk-15", "'LL", {s_Num("-2.5")}, "% -2.5 "},
        {"walk-16", "\\ab", {s_Text("123456")}, "123"},
        {"walk-17", "##.#", {s_Num("1234")}, "% 1234"},
        {"walk-18", "#: 'RR", {s_Int(1), s_Text("x"), s_Int(2)}, "1:   x\n2: "},
        {"walk-19", "", {s_Num("1")}, ""},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(s_Walk(c.pszPicture, c.aValues), c.pszExpected);
    }
}

namespace {

std::vector<CUsingValue> s_Collect(int* piEnd, char const* pszTypes, ...) {
    va_list ap;
    va_start(ap, pszTypes);
    std::vector<CUsingValue> a;
    b_CollectUsing(pszTypes, &ap, &a, piEnd);
    va_end(ap);
    return a;
}

}  // namespace

TEST(PrintUsing, OperandsFromTheTypeCodes) {
    CBString s("abc");
    CDfp xList(b_RealMax(dfp_t{}));
    CDfp xOther(X("1.5"));
    CInt16 iList(-3);
    IoList list;
    Iolist(&list, "did", &xList, &iList, &xOther);
    int iEnd = -1;
    std::vector<CUsingValue> a = s_Collect(&iEnd, "dsrzlp", X("2.5"), &s, &list, "lit", 70000, 2);
    ASSERT_EQ(a.size(), 7u);
    EXPECT_TRUE(a[0].cType == 'd' && a[0].x == X("2.5"));
    EXPECT_TRUE(a[1].cType == 's' && a[1].sText == "abc");
    EXPECT_TRUE(a[2].cType == 'd' && a[2].x == 0) << "the list's largest real counts as 0";
    EXPECT_TRUE(a[3].cType == 'i' && a[3].n == -3);
    EXPECT_TRUE(a[4].cType == 'd' && a[4].x == X("1.5"));
    EXPECT_TRUE(a[5].cType == 'z' && a[5].sText == "lit");
    EXPECT_TRUE(a[6].cType == 'l' && a[6].n == 70000);
    EXPECT_EQ(iEnd, 2);
    // Outside a list the largest real is a value like any other.
    a = s_Collect(&iEnd, "d", b_RealMax(dfp_t{}));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_TRUE(a[0].x == b_RealMax(dfp_t{}));
    EXPECT_EQ(iEnd, -1) << "no print end";
    try {
        s_Collect(&iEnd, "dc", X("1"), nullptr);
        FAIL() << "a record map was accepted";
    } catch (int n) {
        EXPECT_EQ(n, 1030);
    }
}
