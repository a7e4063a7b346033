// Dynamic fields: Ext, Del, Ins, Rep and ExtDelims. In the case tables 'F'
// stands for the field separator and 'S' for the sub-field separator, so the
// rows read like the texts they test.
#include <velbra.h>

#include <gtest/gtest.h>
#include <string>

using namespace morka;

namespace {

// The text with F and S replaced by the current separators.
CBString s_Sep(char const* psz) {
    std::string s(psz);
    for (char& c : s) {
        if (c == 'F') c = static_cast<char>(b_cField);
        else if (c == 'S') c = static_cast<char>(b_cSub);
    }
    return CBString(s);
}

struct CFieldCase {
    char const* pszId;
    char const* pszText;
    int iField;
    int iSub;
    char const* pszExpected;
};

using t_FieldFn = CBString (*)(CBString const&, int, int);
using t_FieldFnZ = CBString (*)(char const*, int, int);

// Runs the table through both forms of the function.
template <std::size_t N>
void s_RunFieldCases(CFieldCase const (&aCases)[N], t_FieldFn pfn, t_FieldFnZ pfnZ) {
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBString s = s_Sep(c.pszText);
        EXPECT_EQ(pfn(s, c.iField, c.iSub), s_Sep(c.pszExpected));
        EXPECT_EQ(pfnZ(s.c_str(), c.iField, c.iSub), s_Sep(c.pszExpected));
    }
}

}  // namespace

TEST(FuncField, Ext) {
    CFieldCase const aCases[] = {
        {"ext-1", "aFbSc", 2, 0, "bSc"},     {"ext-2", "aFbScd", 2, 2, "cd"},
        {"ext-3", "aFbSc", 2, 3, ""},        {"ext-4", "aFbSc", 3, 0, ""},
        {"ext-5", "aF", 2, 0, ""},           {"ext-6", "abc", 0, 0, ""},
        {"ext-7", "abc", 1, 0, "abc"},       {"ext-8", "abc", 1, 1, "abc"},
        {"ext-9", "abc", 1, 2, ""},          {"ext-10", "", 1, 0, ""},
        {"ext-11", "aSbFc", 1, 2, "b"},      {"ext-12", "aSbFcSd", 2, 2, "d"},
        {"ext-13", "aFFc", 2, 0, ""},        {"ext-14", "aFFc", 3, 0, "c"},
        {"ext-15", "aSbFc", 1, -1, "aSb"},   {"ext-16", "aSSbFc", 1, 3, "b"},
        {"ext-17", "aFbSc", -3, 1, ""},      {"ext-18", "aFbFc", 3, 1, "c"},
    };
    s_RunFieldCases(aCases, static_cast<t_FieldFn>(Ext), static_cast<t_FieldFnZ>(Ext));
}

TEST(FuncField, Del) {
    CFieldCase const aCases[] = {
        {"del-1", "aFbFc", 2, 0, "aFc"},      {"del-2", "aFbFc", 1, 0, "bFc"},
        {"del-3", "aFbSc", 2, 1, "aFc"},      {"del-4", "aFbScSd", 2, 2, "aFbSd"},
        {"del-5", "aFbFF", 2, 0, "a"},        {"del-6", "abc", 0, 0, ""},
        {"del-7", "", 1, 0, ""},              {"del-8", "aFb", 5, 0, "aFb"},
        {"del-9", "aFbSSFF", 9, 0, "aFb"},    {"del-10", "aFbFc", 3, 0, "aFb"},
        {"del-11", "abc", 1, 0, ""},          {"del-12", "aFb", 2, 1, "a"},
        {"del-13", "aFbSc", 2, 3, "aFbSc"},   {"del-14", "aSbSc", 1, 3, "aSb"},
        {"del-15", "aSbFc", 1, 1, "bFc"},     {"del-16", "aFbSc", 2, 2, "aFb"},
    };
    s_RunFieldCases(aCases, static_cast<t_FieldFn>(Del), static_cast<t_FieldFnZ>(Del));
}

TEST(FuncField, InsAndRep) {
    struct {
        char const* pszId;
        bool bIns;
        char const* pszText;
        int iField;
        int iSub;
        char const* pszWith;
        char const* pszExpected;
    } const aCases[] = {
        {"ins-1", true, "aFb", 1, 0, "x", "aFxFb"},   {"ins-2", true, "aFb", 0, 0, "x", "xFaFb"},
        {"ins-3", true, "a", 3, 0, "x", "aFFFx"},     {"ins-4", true, "aSb", 1, 1, "x", "aSxSb"},
        {"ins-5", true, "aFc", 1, 1, "x", "aSxFc"},   {"ins-6", true, "a", 2, 1, "x", "aFSx"},
        {"ins-7", true, "", 0, 0, "x", "x"},          {"ins-8", true, "aFb", 2, 0, "x", "aFbFx"},
        {"ins-9", true, "aFb", -1, 2, "x", "aSSxFb"}, {"ins-10", true, "a", 1, 0, "", "a"},
        {"ins-11", true, "aSbSc", 1, 1, "x", "aSxSbSc"},
        {"rep-1", false, "aFbSc", 2, 0, "x", "aFxSc"}, {"rep-2", false, "a", 3, 2, "x", "aFFSx"},
        {"rep-3", false, "aFFc", 2, 1, "x", "aFxFc"},  {"rep-4", false, "aFb", 0, 0, "x", "xFb"},
        {"rep-5", false, "aFbSc", 2, 2, "", "aFb"},    {"rep-6", false, "aSbSc", 1, 2, "xSy", "aSxSySc"},
        {"rep-7", false, "", 1, 1, "x", "x"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBString s = s_Sep(c.pszText);
        CBString sWith = s_Sep(c.pszWith);
        CBString sExpected = s_Sep(c.pszExpected);
        if (c.bIns) {
            EXPECT_EQ(Ins(s, c.iField, c.iSub, sWith), sExpected);
            EXPECT_EQ(Ins(s.c_str(), c.iField, c.iSub, sWith.c_str()), sExpected);
        } else {
            EXPECT_EQ(Rep(s, c.iField, c.iSub, sWith), sExpected);
            EXPECT_EQ(Rep(s.c_str(), c.iField, c.iSub, sWith), sExpected);
        }
    }
}

// Ins with a field number below 1 and a sub-field keeps every byte of s.
TEST(FuncField, InsKeepsEveryByte) {
    CBString s = s_Sep("aSbFcSdFe");
    for (int iSub = 1; iSub <= 4; ++iSub) {
        SCOPED_TRACE(iSub);
        CBString r = Ins(s, 0, iSub, "x");
        EXPECT_EQ(r.length(), s.length() + 1 + (iSub >= 2 ? iSub - 1 : 1));
        EXPECT_EQ(Ext(r, 1, iSub + 1), CBString("x"));
        EXPECT_EQ(Ext(r, 2, 0), s_Sep("cSd"));
    }
}

TEST(FuncField, ExtDelimsChangesEverySeparatorUse) {
    EXPECT_EQ(ExtDelims(',', ';'), ',');
    EXPECT_EQ(Ext("a,b;c,d", 2, 2), CBString("c"));
    EXPECT_EQ(Del("a,b,,", 2, 0), CBString("a"));
    EXPECT_EQ(Ins("a", 2, 0, "x"), CBString("a,,x"));
    EXPECT_EQ(ExtDelims(0x1FE, 0), 0xFE) << "cut to a byte";
    EXPECT_EQ(b_cSub, 221);
    EXPECT_EQ(ExtDelims(0, 0), 222);
    EXPECT_EQ(b_cField, 222);
    EXPECT_EQ(b_cSub, 221);
}

// Fields hold any byte: a NUL inside a field is data.
TEST(FuncField, BinarySafe) {
    CBString s(std::string("a\0b", 3) + static_cast<char>(b_cField) + "c");
    EXPECT_EQ(Ext(s, 1, 0), CBString(std::string("a\0b", 3)));
    EXPECT_EQ(Rep(s, 2, 0, "x").length(), 5);
}
