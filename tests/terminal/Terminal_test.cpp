// A compiled program on a terminal (tests/programs/term_end under a
// pseudo-terminal): every road out of the program gives the tty back in its
// modes, and the console's key reader handles the attention key.
#include <support/PtyTerminal.h>
#include <support/TempFile.h>

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

using morka::test::CPtyTerminal;
using morka::test::CTempFile;

namespace {

class Terminal : public ::testing::Test {
protected:
    bool Start(CPtyTerminal& t, std::vector<std::string> asArgs, std::vector<std::string> asEnv = {}) {
        asArgs.insert(asArgs.begin(), VELBRA_PROGRAMS "/term_end");
        asEnv.push_back("b_tasktable=" + m_taskTable.Path());
        return t.Start(asArgs, asEnv);
    }

    CTempFile m_taskTable;
};

TEST_F(Terminal, NormalEndRestoresTheTty) {
    CPtyTerminal t;
    ASSERT_TRUE(Start(t, {"normal"}));
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_TRUE(t.ModesRestored());
    EXPECT_NE(t.Output().find("hello"), std::string::npos);
}

TEST_F(Terminal, FatalErrorUnderFullScreenWaitsForAKeyThenRestores) {
    CPtyTerminal t;
    ASSERT_TRUE(Start(t, {"fatal"}));
    ASSERT_TRUE(t.WaitFor("Error 29 Subscript range error in term.bas:main, line 150:12"));
    EXPECT_EQ(t.Row(0), "before");
    // The message stays until a key is pressed.
    EXPECT_EQ(t.Wait(300), -1);
    t.Char('x');
    EXPECT_EQ(t.Wait(), 253);
    EXPECT_TRUE(t.ModesRestored());
    EXPECT_EQ(t.Output().find("must not happen"), std::string::npos);
}

TEST_F(Terminal, FatalErrorOnTheDirectTerminalKeepsTheMessage) {
    CPtyTerminal t;
    ASSERT_TRUE(Start(t, {"fatal"}, {"b_termmode=2"}));
    EXPECT_EQ(t.Wait(), 253);
    EXPECT_TRUE(t.ModesRestored());
    EXPECT_NE(t.Screen().find("Error 29 Subscript range error in term.bas:main, line 150:12"), std::string::npos);
}

TEST_F(Terminal, TerminationSignalWhileWaitingForAKeyRestores) {
    for (char const* pszMode : {"b_termmode=3", "b_termmode=2"}) {
        SCOPED_TRACE(pszMode);
        CPtyTerminal t;
        ASSERT_TRUE(Start(t, {"wait"}, {pszMode}));
        ASSERT_TRUE(t.WaitFor("ready"));
        t.Pump(100);
        kill(t.Pid(), SIGTERM);
        EXPECT_EQ(t.Wait(), 254);
        EXPECT_TRUE(t.ModesRestored());
        EXPECT_TRUE(t.CursorVisible());
    }
}

TEST_F(Terminal, AttentionKeySequence) {
    struct CCase {
        char const* pszId;
        std::string sKeys;
        std::vector<std::string> asEnv;
        int iCode;
        char const* pszShown;   // printed by the program, or null
    };
    std::vector<CCase> const aCases = {
        {"attention-q-breaks", "\x03q", {}, 254, nullptr},
        {"attention-upper-q-breaks", "\x03Q", {}, 254, nullptr},
        {"attention-other-key-returned", "\x03x", {}, 0, "key 120"},
        {"attention-c-without-on-error-ignored", "\x03" "cz", {}, 0, "key 122"},
        {"break-key-off-q-returned", "\x03q", {"b_break=0"}, 0, "key 113"},
        {"other-attention-key", "\x1dq", {"b_attnkey=29"}, 254, nullptr},
        {"ctrl-c-when-not-attention", "\x03", {"b_attnkey=29"}, 0, "key 3"},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CPtyTerminal t;
        ASSERT_TRUE(Start(t, {"keys", "1"}, c.asEnv));
        ASSERT_TRUE(t.WaitFor("ready"));
        t.Send(c.sKeys);
        EXPECT_EQ(t.Wait(), c.iCode);
        EXPECT_TRUE(t.ModesRestored());
        // The program's screen is gone with it: look at what it wrote.
        if (c.pszShown) {
            EXPECT_NE(t.Output().find(c.pszShown), std::string::npos);
        }
    }
}

TEST_F(Terminal, StackedKeysComeBeforeTheKeyboardOnlyWhenAskedFor) {
    CPtyTerminal t;
    // b_ConGetW(0) does not take stacked keys: the typed one comes.
    ASSERT_TRUE(Start(t, {"keys", "1"}, {"b_keys=abc"}));
    ASSERT_TRUE(t.WaitFor("ready"));
    t.Char('z');
    EXPECT_EQ(t.Wait(), 0);
    EXPECT_NE(t.Output().find("key 122"), std::string::npos);
}

}  // namespace
