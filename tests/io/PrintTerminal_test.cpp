// PRINT on a real terminal: the console under a pseudo-terminal, in the
// direct (2) and full-screen (3) modes and as a plain stream (1).
#include <support/PtyTerminal.h>
#include <support/TempFile.h>

#include <gtest/gtest.h>
#include <string>

using morka::test::CPtyTerminal;
using morka::test::CTempFile;

TEST(PrintTerminal, ZonesTabAndColumnFollowTheCursor) {
    for (char const* pszMode : {"b_termmode=1", "b_termmode=2", "b_termmode=3"}) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/print_term"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("done"));
        EXPECT_EQ(t.Row(0), "a" + std::string(20, ' ') + "b");
        EXPECT_EQ(t.Row(1), std::string(30, ' ') + "c");
        EXPECT_EQ(t.Row(2), " 5 -2.5" + std::string(14, ' ') + "x");
        EXPECT_EQ(t.Row(3), "col3");
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
    }
}
