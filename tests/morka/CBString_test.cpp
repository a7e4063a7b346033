// CBString: binary safety, clamped positions, the index exception, searches,
// editing and formatting.
#include <morka/CBString.h>

#include <gtest/gtest.h>

using morka::CBString;
using morka::CBStringException;

TEST(CBString, KeepsEmbeddedNulBytes) {
    CBString s("a\0b\0c", 5);
    EXPECT_EQ(s.length(), 5);
    EXPECT_EQ(s.midstr(1, 3), CBString("\0b\0", 3));
    EXPECT_EQ(s.find(CBString("\0c", 2)), 3);
    CBString t = s + CBString("\0", 1);
    EXPECT_EQ(t.length(), 6);
    EXPECT_NE(s, CBString("a"));   // C-text view would stop at the first NUL
}

TEST(CBString, ByteAccessThrowsOutsideTheString) {
    CBString s("abc");
    EXPECT_EQ(s.character(2), 'c');
    EXPECT_THROW(s.character(3), CBStringException);
    EXPECT_THROW(s.character(-1), CBStringException);
    EXPECT_THROW(s[3] = 'x', CBStringException);
    s[0] = 'X';
    EXPECT_EQ(s, "Xbc");
}

TEST(CBString, SubStringsClampTheirPositions) {
    struct { char const* id; int iLeft, nLen; char const* pszExpected; } const aCases[] = {
        {"mid-1", 1, 2, "bc"}, {"mid-past-end", 4, 10, "ef"}, {"mid-after-end", 9, 2, ""},
        {"mid-negative-start", -2, 4, "ab"}, {"mid-zero-len", 0, 0, ""}, {"mid-negative-len", 0, -3, ""},
    };
    CBString s("abcdef");
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(s.midstr(c.iLeft, c.nLen), c.pszExpected);
    }
    EXPECT_EQ(s.left(2), "ab");
    EXPECT_EQ(s.right(2), "ef");
    EXPECT_EQ(s.right(20), "abcdef");
}

TEST(CBString, Searches) {
    CBString s("banana");
    EXPECT_EQ(s.find("an"), 1);
    EXPECT_EQ(s.find("an", 2), 3);
    EXPECT_EQ(s.find("x"), -1);
    EXPECT_EQ(s.find("a", 99), -1);
    EXPECT_EQ(s.reversefind("an", 5), 3);
    EXPECT_EQ(s.findchr("nx"), 2);
    EXPECT_EQ(s.nfindchr("ba"), 2);
    EXPECT_EQ(s.caselessfind("NAN"), 2);
    EXPECT_EQ(s.caselessfind("xyz"), -1);
}

TEST(CBString, Editing) {
    CBString s("hello");
    EXPECT_EQ(CBString(s).replace(1, 3, "ipp"), "hippo");
    EXPECT_EQ(CBString(s).replace(7, 0, "!", '.'), "hello..!");
    EXPECT_EQ(CBString(s).insert(0, ">"), ">hello");
    EXPECT_EQ(CBString(s).insert(7, "<", '-'), "hello--<");
    EXPECT_EQ(CBString(s).remove(1, 3), "ho");
    EXPECT_EQ(CBString(s).remove(9, 3), "hello");
    EXPECT_EQ(CBString("a.b.c").findreplace(".", "::"), "a::b::c");
    EXPECT_EQ(CBString("aaa").findreplace("a", "aa"), "aaaaaa");   // no endless loop
    EXPECT_EQ(CBString().fill(3, '*'), "***");
    EXPECT_EQ(CBString('-', 4), "----");
    EXPECT_EQ(CBString("ab").repeat(3), "ababab");
    EXPECT_EQ(CBString(" \t x y \r\n").trim(), "x y");
    EXPECT_EQ(CBString("  x ").ltrim(), "x ");
    EXPECT_EQ(CBString("MiXeD 1\xE9").toupper(), "MIXED 1\xE9");
    EXPECT_EQ(CBString("MiXeD").tolower(), "mixed");
}

TEST(CBString, FormattingGrowsPastAnyFixedBuffer) {
    CBString s;
    s.format("%d-%s", 42, "x");
    EXPECT_EQ(s, "42-x");
    std::string sLong(1000, 'q');
    s.formata("%s", sLong.c_str());
    EXPECT_EQ(s.length(), 4 + 1000);
}

TEST(CBString, ComparisonIsByUnsignedBytes) {
    EXPECT_LT(CBString("a"), CBString("b"));
    EXPECT_LT(CBString("ab"), CBString("abc"));
    EXPECT_LT(CBString("z"), CBString("\xE9"));   // 0xE9 sorts after ASCII
    EXPECT_TRUE(CBString("Hello").caselessEqual("hELLO"));
    EXPECT_GT(CBString("b").caselessCmp("A"), 0);
}
