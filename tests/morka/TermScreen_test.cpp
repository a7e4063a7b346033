// The terminal on a pseudo-terminal: term_probe runs under CPtyTerminal in
// the full-screen modes (3 ncurses, 2 direct terminfo); the screen is read
// back through libvterm. Covers where the control codes put text, the
// line-drawing characters, attributes and colours, the key codes of special
// keys with modifiers, the attention key, time-outs, the choice of mode, and
// the tty modes after the program ends (normally and by abort).
#include <support/PtyTerminal.h>
#include <support/TempFile.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

using morka::test::CPtyTerminal;
using morka::test::CTempFile;

namespace {

std::string s_Hex(std::string const& sBytes) {
    std::string s;
    char aBuf[3];
    for (unsigned char c : sBytes) {
        std::snprintf(aBuf, sizeof aBuf, "%02x", c);
        s += aBuf;
    }
    return s;
}

// Cursor address: column and row counted from 1.
std::string s_At(int iColumn, int iRow) {
    return std::string{'\x10', static_cast<char>(iColumn + 31), static_cast<char>(iRow + 31)};
}

// Polls the screen until bDone holds; false after iMs.
bool s_Until(CPtyTerminal& t, std::function<bool()> const& bDone, int iMs = 3000) {
    for (int i = 0; i < iMs / 50; ++i) {
        if (bDone()) return true;
        t.Pump(50);
    }
    return bDone();
}

class TermScreen : public ::testing::TestWithParam<int> {
protected:
    // Starts term_probe in the mode of the test parameter.
    bool Start(CPtyTerminal& t, std::vector<std::string> asArgs, std::vector<std::string> asEnv = {}) {
        asArgs.insert(asArgs.begin(), TERM_PROBE);
        asEnv.push_back("b_tasktable=" + m_taskTable.Path());
        asEnv.push_back("b_termmode=" + std::to_string(GetParam()));
        return t.Start(asArgs, asEnv);
    }

    CTempFile m_taskTable;
};

struct CDrawCase {
    char const* pszId;
    std::string sBytes;
    std::vector<std::pair<int, std::string>> aRows;   // row, its whole text
    int iCursorRow = -1;                              // expected cursor, -1: not checked
    int iCursorCol = -1;
};

TEST_P(TermScreen, ControlCodesPlaceTextAndCursor) {
    std::string s80(80, 'x');
    std::string sScroll;
    for (int i = 0; i < 25; ++i) sScroll += "L" + std::to_string(i) + "\r";
    std::vector<CDrawCase> const aCases = {
        {"cr-is-line-end", "ab\rcd", {{0, "ab"}, {1, "cd"}}, 1, 2},
        {"lf-after-cr-swallowed", "ab\r\ncd", {{0, "ab"}, {1, "cd"}, {2, ""}}},
        {"lf-alone-goes-down", "ab\ncd", {{0, "ab"}, {1, "  cd"}}},
        {"new-line-128", "ab\x80" "cd", {{0, "ab"}, {1, "cd"}}},
        {"cursor-address", "top" + s_At(5, 3) + "X", {{0, "top"}, {2, "    X"}}, 2, 5},
        {"address-clamped", s_At(200, 200) + "Z", {{23, std::string(79, ' ') + "Z"}, {0, ""}}},
        {"clear-and-home", "abc\rdef\x0cg", {{0, "g"}, {1, ""}}, 0, 1},
        {"erase-to-eol", "abcdef" + s_At(3, 1) + "\x17", {{0, "ab"}}, 0, 2},
        {"erase-to-eos", "abc\rdef\rghi" + s_At(2, 2) + "\x18", {{0, "abc"}, {1, "d"}, {2, ""}}},
        {"insert-line", "a\rb\x01\x11", {{0, ""}, {1, "a"}, {2, "b"}}},
        {"delete-line", "a\rb\rc\x01\x12", {{0, "b"}, {1, "c"}, {2, ""}}},
        {"insert-char", "abc\x01\x13", {{0, " abc"}}, 0, 0},
        {"delete-char", "abc\x01\x14", {{0, "bc"}}},
        {"left-right-up-down", "abc\x08\x08X\x06Y\x0aZ\x1aW", {{0, "aXcY W"}, {1, "    Z"}}},
        {"tab", "a\tb", {{0, "a       b"}}},
        {"late-wrap", s80 + "\ry", {{0, s80}, {1, "y"}, {2, ""}}},
        {"wrap-on-next-character", s80 + "y", {{0, s80}, {1, "y"}}},
        {"scroll-at-bottom", sScroll, {{0, "L2"}, {21, "L23"}, {22, "L24"}, {23, ""}}},
        {"bottom-right-cell-no-scroll", "top" + s_At(80, 24) + "Z", {{0, "top"}, {23, std::string(79, ' ') + "Z"}}},
        {"esc-without-colour-dropped", "a\x1bq", {{0, "aq"}}},
        {"functions-without-effect", "a\x81\x82\x83\x84\x85\x7f\x1f" "b", {{0, "ab"}}},
        {"line-drawing-single",
         "\xa0\xa9\xa1\r\xaa \xaa\r\xa3\xa9\xa2\r\xa5\xa4\xa6\xa7\xa8",
         {{0, "┌─┐"}, {1, "│ │"}, {2, "└─┘"}, {3, "├┼┤┬┴"}}},
        {"line-drawing-double",
         "\xaf\xb8\xb0\r\xb9 \xb9\r\xb2\xb8\xb1\r\xb4\xb3\xb5\xb6\xb7",
         {{0, "╔═╗"}, {1, "║ ║"}, {2, "╚═╝"}, {3, "╠╬╣╦╩"}}},
    };
    for (CDrawCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CPtyTerminal t(24, 80);
        ASSERT_TRUE(Start(t, {"w:" + s_Hex(c.sBytes), "k:1"}));
        bool bAll = s_Until(t, [&] {
            for (auto const& [iRow, sText] : c.aRows)
                if (t.Row(iRow) != sText) return false;
            return true;
        });
        for (auto const& [iRow, sText] : c.aRows) EXPECT_EQ(t.Row(iRow), sText) << "row " << iRow;
        EXPECT_TRUE(bAll);
        if (c.iCursorRow >= 0) {
            int iRow = -1, iCol = -1;
            t.Cursor(iRow, iCol);
            EXPECT_EQ(iRow, c.iCursorRow);
            EXPECT_EQ(iCol, c.iCursorCol);
        }
        t.Key(VTERM_KEY_ENTER);
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

TEST_P(TermScreen, AttributesColoursCursorAndBell) {
    CPtyTerminal t(24, 80);
    // reverse, underline, blink each on one letter, then a colour change to
    // white on blue (PC numbering: 7, 1) with a reverse pair of 0 on 3.
    std::string sBytes = "\x0eR\x0fn\x0bU\x16n\x1d" "B\x1en\x1b\x7f" "7103C\x0eQ\x07\x15";
    ASSERT_TRUE(Start(t, {"w:" + s_Hex(sBytes), "k:1"}));
    ASSERT_TRUE(t.WaitFor("RnUnBnCQ", 3000, 0));
    ASSERT_TRUE(s_Until(t, [&] { return !t.CursorVisible(); }));
    EXPECT_TRUE(t.Cell(0, 0).attrs.reverse);
    EXPECT_FALSE(t.Cell(0, 1).attrs.reverse);
    EXPECT_TRUE(t.Cell(0, 2).attrs.underline);
    EXPECT_FALSE(t.Cell(0, 3).attrs.underline);
    EXPECT_TRUE(t.Cell(0, 4).attrs.blink);
    EXPECT_FALSE(t.Cell(0, 5).attrs.blink);
    VTermScreenCell cell = t.Cell(0, 6);
    ASSERT_TRUE(VTERM_COLOR_IS_INDEXED(&cell.fg));
    ASSERT_TRUE(VTERM_COLOR_IS_INDEXED(&cell.bg));
    EXPECT_EQ(cell.fg.indexed.idx, 7);   // white
    EXPECT_EQ(cell.bg.indexed.idx, 4);   // ANSI blue
    // Reverse text in a coloured window takes the second pair (0 black on 3 cyan).
    cell = t.Cell(0, 7);
    EXPECT_FALSE(cell.attrs.reverse);
    ASSERT_TRUE(VTERM_COLOR_IS_INDEXED(&cell.bg));
    EXPECT_EQ(cell.bg.indexed.idx, 6);   // ANSI cyan
    EXPECT_GE(t.Bells(), 1);
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, EraseUnprotectedKeepsDimText) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"w:" + s_Hex("\x04" "Name:\x05 John\x1c" + s_At(1, 3)), "c", "k:1"}));
    ASSERT_TRUE(t.WaitFor("C=2,0,1", 3000, 2));
    // Mode 2 keeps no screen image and clears the whole window instead.
    EXPECT_EQ(t.Row(0), GetParam() == 3 ? "Name:" : "");
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
}

struct CKeyCase {
    char const* pszId;
    std::function<void(CPtyTerminal&)> send;
    char const* pszExpected;   // "<hex raw code>/<TermConvIn>", alternatives split by '|'
};

TEST_P(TermScreen, KeysArriveAsSystemCodes) {
    auto key = [](int iKey, VTermModifier m = VTERM_MOD_NONE) {
        return [=](CPtyTerminal& t) { t.Key(static_cast<VTermKey>(iKey), m); };
    };
    std::vector<CKeyCase> const aCases = {
        {"up", key(VTERM_KEY_UP), "1000103/11"},
        {"down", key(VTERM_KEY_DOWN), "1000102/10"},
        {"left", key(VTERM_KEY_LEFT), "1000104/8"},
        {"right", key(VTERM_KEY_RIGHT), "1000105/12"},
        {"home", key(VTERM_KEY_HOME), "1000106/20"},
        {"end", key(VTERM_KEY_END), "1000168/25"},
        {"page-up", key(VTERM_KEY_PAGEUP), "1000153/2"},
        {"page-down", key(VTERM_KEY_PAGEDOWN), "1000152/16"},
        {"insert", key(VTERM_KEY_INS), "100014b/18"},
        {"delete", key(VTERM_KEY_DEL), "100014a/26"},
        {"f1", key(VTERM_KEY_FUNCTION(1)), "1000109/269"},
        {"f12", key(VTERM_KEY_FUNCTION(12)), "1000114/280"},
        {"shift-f1", key(VTERM_KEY_FUNCTION(1), VTERM_MOD_SHIFT), "1000115/4365"},
        {"shift-tab", key(VTERM_KEY_TAB, VTERM_MOD_SHIFT), "1000161/4361"},
        {"ctrl-up", key(VTERM_KEY_UP, VTERM_MOD_CTRL), "1000238/8449"},
        {"ctrl-delete", key(VTERM_KEY_DEL, VTERM_MOD_CTRL), "1000209/8460"},
        {"ctrl-shift-f1", key(VTERM_KEY_FUNCTION(1), static_cast<VTermModifier>(VTERM_MOD_CTRL | VTERM_MOD_SHIFT)),
         "100012d/12557"},
        {"alt-down", key(VTERM_KEY_DOWN, VTERM_MOD_ALT), "100020d/16642"},
        {"ctrl-alt-home", key(VTERM_KEY_HOME, static_cast<VTermModifier>(VTERM_MOD_CTRL | VTERM_MOD_ALT)),
         "100021b/24837"},
        {"enter", key(VTERM_KEY_ENTER), "d/13"},
        {"tab", key(VTERM_KEY_TAB), "9/9"},
        // The terminal sends DEL; curses reports the Backspace key when the
        // description says the key sends DEL.
        {"backspace", key(VTERM_KEY_BACKSPACE), "1000107/127|7f/127"},
        {"escape", key(VTERM_KEY_ESCAPE), "1b/27"},
        {"letter", [](CPtyTerminal& t) { t.Char('a'); }, "61/97"},
        {"line-drawing-typed", [](CPtyTerminal& t) { t.Char(0x250C); }, "a0/160"},
        {"attention-ctrl-c", [](CPtyTerminal& t) { t.Send("\x03"); }, "0/0"},
    };
    CPtyTerminal t(40, 80);
    ASSERT_TRUE(Start(t, {"k:" + std::to_string(aCases.size()), "k:1"}));
    t.Pump(300);
    for (std::size_t i = 0; i < aCases.size(); ++i) {
        SCOPED_TRACE(aCases[i].pszId);
        aCases[i].send(t);
        std::string sPrefix = "K" + std::to_string(i) + "=";
        EXPECT_TRUE(t.WaitFor(sPrefix, 3000, static_cast<int>(i)));
        std::string sRow = t.Row(static_cast<int>(i));
        std::string sExpected = aCases[i].pszExpected;
        bool bMatch = false;
        for (std::size_t iFrom = 0; iFrom <= sExpected.size();) {
            std::size_t iBar = std::min(sExpected.find('|', iFrom), sExpected.size());
            bMatch = bMatch || sRow == sPrefix + sExpected.substr(iFrom, iBar - iFrom);
            iFrom = iBar + 1;
        }
        EXPECT_TRUE(bMatch) << sRow << " is not " << sExpected;
    }
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, WaitsEndAfterTheirTimeOrAtAKey) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"r", "t:1", "t:10", "z:500", "r", "t:-1", "k:1"}));
    EXPECT_TRUE(t.WaitFor("R=0", 3000, 0));
    // No key: the one-second wait gives -1.
    EXPECT_TRUE(t.WaitFor("T=-1", 3000, 1));
    t.Char('z');
    EXPECT_TRUE(t.WaitFor("T=122", 3000, 2));
    t.Char('y');
    EXPECT_TRUE(t.WaitFor("R=1", 3000, 3));
    // The key seen by the ready test is the one read next, without waiting.
    EXPECT_TRUE(t.WaitFor("T=121", 3000, 4));
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
}

TEST_P(TermScreen, CursorShapeIsReportedAndShown) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"u:0", "c", "k:1", "u:2", "c", "u:1", "k:1"}));
    EXPECT_TRUE(t.WaitFor("C=0,0,0", 3000, 0));
    EXPECT_FALSE(t.CursorVisible());
    t.Key(VTERM_KEY_ENTER);
    EXPECT_TRUE(t.WaitFor("C=2,0,2", 3000, 2));
    EXPECT_TRUE(s_Until(t, [&] { return t.CursorVisible(); }));
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, NewScreenSizeIsSeenWhileWaitingForAKey) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"l", "k:1", "l", "k:1"}));
    ASSERT_TRUE(t.WaitFor("L=80x24", 3000, 0));
    t.Resize(30, 100);
    t.Pump(200);
    t.Char('a');
    EXPECT_TRUE(t.WaitFor("L=100x30", 3000));
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, SuspendGivesTheTtyBackForAWhile) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"w:" + s_Hex("MARK"), "s:0", "z:1000", "s:1", "k:1"}));
    // In full screen (the mark is written), then out of it for a second.
    ASSERT_TRUE(s_Until(t, [&] { return t.Output().find("MARK") != std::string::npos; }));
    EXPECT_TRUE(s_Until(t, [&] { return t.ModesRestored(); }));
    EXPECT_TRUE(s_Until(t, [&] { return (t.ModesNow().c_lflag & ICANON) == 0; }));
    t.Key(VTERM_KEY_ENTER);
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, ChildProcessLeavesTheTerminalToItsParent) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"w:" + s_Hex("before"), "f", "k:1"}));
    ASSERT_TRUE(t.WaitFor("F=7", 3000));
    EXPECT_EQ(t.Row(0), "beforeF=7");
    // Still in the program's modes: no line editing, no echo, no signal keys.
    EXPECT_EQ(t.ModesNow().c_lflag & (ICANON | ECHO | ISIG), 0u);
    t.Send("\x03");
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_NE(t.Output().find("K0=0/0"), std::string::npos);
    EXPECT_TRUE(t.ModesRestored());
}

TEST_P(TermScreen, AbortRestoresTheTerminal) {
    CPtyTerminal t(24, 80);
    ASSERT_TRUE(Start(t, {"w:" + s_Hex("\x0e\x15going"), "a"}));
    EXPECT_EQ(t.Wait(), 128 + SIGABRT);
    EXPECT_TRUE(t.ModesRestored());
    EXPECT_TRUE(t.CursorVisible());
}

INSTANTIATE_TEST_SUITE_P(Modes, TermScreen, ::testing::Values(3, 2),
                         [](::testing::TestParamInfo<int> const& info) {
                             return info.param == 3 ? std::string("ncurses") : std::string("direct");
                         });

// The mode in force: full screen needs a terminal on both standard streams
// and a TERM with cursor addressing; b_termmode picks or forces the mode.
TEST(TermMode, ChosenFromTerminalAndEnvironment) {
    struct CCase {
        char const* pszId;
        std::vector<std::string> asEnv;
        char const* pszMode;
    };
    std::vector<CCase> const aCases = {
        {"default-on-terminal", {"b_termmode"}, "M=3"},
        {"forced-stream", {"b_termmode=1"}, "M=1"},
        {"direct", {"b_termmode=2"}, "M=2"},
        {"dumb-terminal", {"b_termmode=3", "TERM=dumb"}, "M=1"},
        {"unknown-terminal", {"b_termmode=3", "TERM=no-such-terminal"}, "M=1"},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CPtyTerminal t(24, 80);
        CTempFile taskTable;
        std::vector<std::string> asEnv = c.asEnv;
        asEnv.push_back("b_tasktable=" + taskTable.Path());
        ASSERT_TRUE(t.Start({TERM_PROBE, "m", "k:1"}, asEnv));
        EXPECT_TRUE(t.WaitFor(c.pszMode, 3000));
        t.Key(VTERM_KEY_ENTER);
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

TEST(TermMode, StreamWhenOutputIsNoTerminal) {
    CTempFile taskTable;
    std::string sCommand = "b_tasktable=" + taskTable.Path() + " " + TERM_PROBE + " m </dev/null";
    FILE* p = popen(sCommand.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char aBuf[64] = {};
    size_t n = fread(aBuf, 1, sizeof aBuf - 1, p);
    EXPECT_EQ(pclose(p), 0);
    EXPECT_EQ(std::string(aBuf, n), "M=1\n");
}

}  // namespace
