// The special-key table, the translation of key codes for the editors
// (TermConvIn) and the key names of the keyboard-stack notation.
#include <morka/morka.h>

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace morka;

namespace {

TEST(TermKeys, TableHasOneRowPerCodeAndToken) {
    std::set<int> aCodes, aTokens;
    int nRows = 0;
    for (t_KeyCode const* p = t_aKeyCodes; p->iCode >= 0; ++p, ++nRows) {
        SCOPED_TRACE(p->pszCap);
        EXPECT_TRUE(aCodes.insert(p->iCode).second);
        if (p->iToken) {
            EXPECT_TRUE(aTokens.insert(p->iToken).second);
            int iNumber = p->iToken & 0xFFF;
            EXPECT_TRUE(iNumber >= 257 && iNumber <= 280);
        }
        EXPECT_EQ(t_KeyByCode(p->iCode), p);
    }
    EXPECT_EQ(nRows, static_cast<int>(aCodes.size()));
}

TEST(TermKeys, ConvInGivesEditorCodesAndTokens) {
    constexpr int S = TERM_KEY_SPECIAL;
    struct CCase {
        char const* pszId;
        int iKey;
        int iConv;
    };
    CCase const aCases[] = {
        {"up", S + 0x103, 11},         {"down", S + 0x102, 10},      {"left", S + 0x104, 8},
        {"right", S + 0x105, 12},      {"home", S + 0x106, 20},      {"end", S + 0x168, 25},
        {"page-up", S + 0x153, 2},     {"page-down", S + 0x152, 16}, {"backspace", S + 0x107, 127},
        {"insert", S + 0x14B, 18},     {"delete", S + 0x14A, 26},    {"keypad-enter", S + 0x157, 13},
        {"f1", S + 0x109, 269},        {"f12", S + 0x114, 280},      {"shift-f12", S + 0x120, 0x1000 + 280},
        {"ctrl-up", S + 0x238, 0x2000 + 257}, {"ctrl-insert", S + 0x21E, 0x2000 + 267},
        {"ctrl-f1", S + 0x121, 0x2000 + 269}, {"alt-shift-f3", S + 0x147, 0x5000 + 271},
        {"ctrl-alt-delete", S + 0x20B, 0x6000 + 268},
        {"mouse-unknown", S + 0x199, 0}, {"character", 'a', 'a'}, {"control", 24, 24},
        {"token-stays", 0x2000 + 269, 0x2000 + 269}, {"none", -1, -1}, {"attention", 0, 0},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(TermConvIn(c.iKey), c.iConv);
    }
}

TEST(TermKeys, NamesOfTheNotation) {
    constexpr int S = TERM_KEY_SPECIAL;
    struct CCase {
        char const* pszName;
        int iKey;
    };
    CCase const aCases[] = {
        {"ENTER", 13},        {"cr", 13},           {"Return", 13},       {"ESC", 27},
        {"tab", 9},           {"BS", 127},          {"UP", S + 0x103},    {"pgdn", S + 0x152},
        {"DEL", S + 0x14A},   {"F1", S + 0x109},    {"f12", S + 0x114},   {"S-F1", S + 0x115},
        {"C-UP", S + 0x238},  {"S-C-F1", S + 0x12D}, {"C-S-F1", S + 0x12D}, {"A-DOWN", S + 0x20D},
        {"A-S-F3", S + 0x147}, {"C-A-HOME", S + 0x21B}, {"S-TAB", S + 0x161}, {"S-ESC", -1},
        {"C-A-S-UP", -1},     {"^A", 1},            {"^z", 26},           {"^1", -1},
        {"27", 27},           {"16777475", S + 0x103}, {"LT", '<'},       {"F13", -1},
        {"F0", -1},           {"X-UP", -1},         {"nope", -1},         {"", -1},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(t_KeyFromName(c.pszName, static_cast<int>(std::string(c.pszName).size())), c.iKey);
    }
}

}  // namespace
