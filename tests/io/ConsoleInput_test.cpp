// The console editors and LINPUT USING on a pseudo-terminal, keys typed as a
// person would, in the plain stream mode and the full-screen modes.
#include <support/PtyTerminal.h>
#include <support/TempFile.h>

#include <gtest/gtest.h>
#include <string>

using morka::test::CPtyTerminal;
using morka::test::CTempFile;

namespace {

constexpr char const* s_kModes[] = {"b_termmode=1", "b_termmode=3"};

// The screen's first rows, for a failure's message.
std::string s_Screen(CPtyTerminal const& t) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += t.Row(i) + "|\n";
    return s;
}

}  // namespace

// Plain entry of a 5-byte buffer: four characters kept, further ones and
// unknown keys ignored, Backspace and Ctrl-X on an empty entry end it.
TEST(ConsoleInput, PlainEntryLimitsAndExitKeys) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/console_input", "entry"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("entry0>")) << s_Screen(t);
        t.Type("abcdefg");
        t.Key(static_cast<VTermKey>(VTERM_KEY_FUNCTION(5)));  // F5 on a non-empty entry: ignored
        t.Send("\x1b");          // a control key on a non-empty entry: ignored
        t.Key(VTERM_KEY_ENTER);
        ASSERT_TRUE(t.WaitFor("[abcd] 4 INP=0")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("entry1>")) << s_Screen(t);
        t.Send("\x08");          // Ctrl-H on an empty entry ends it
        ASSERT_TRUE(t.WaitFor("[] 0 INP=8")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("entry2>")) << s_Screen(t);
        t.Type("xy");
        t.Send("\x18");          // Ctrl-X erases the entry
        t.Send("\x18");          // and on the empty entry ends it
        ASSERT_TRUE(t.WaitFor("[] 0 INP=24")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("done")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

// Accented characters typed on a UTF-8 terminal reach the program as bytes
// of the system set (é 201, € 231: two bytes for two keys) and its output
// shows them as typed, in the stream mode as in the full-screen mode.
TEST(ConsoleInput, AccentedKeysComeInTheSystemSetAndShowAsTyped) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/console_input", "entry"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("entry0>")) << s_Screen(t);
        t.Char(0xE9);
        t.Char(0x20AC);
        ASSERT_TRUE(t.WaitFor("entry0>\xC3\xA9\xE2\x82\xAC")) << "the echo\n" << s_Screen(t);
        t.Key(VTERM_KEY_ENTER);
        ASSERT_TRUE(t.WaitFor("[\xC3\xA9\xE2\x82\xAC] 2 INP=0")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("entry1>")) << s_Screen(t);
        t.Send("\x08");
        ASSERT_TRUE(t.WaitFor("entry2>")) << s_Screen(t);
        t.Send("\x18");
        ASSERT_TRUE(t.WaitFor("done")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
    }
}

// Field editing from position 3 of a ten-character text: overwrite, insert
// (Ctrl-R) that drops the last character, Backspace (127) that keeps the
// length; then a new entry with the inverted case.
TEST(ConsoleInput, FieldEditingOverwriteInsertAndCase) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(
            t.Start({VELBRA_PROGRAMS "/console_input", "edit", "L"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("edit>abcdefghij")) << s_Screen(t);
        t.Type("X");
        t.Send("\x12");
        t.Type("YZ");
        t.Key(VTERM_KEY_BACKSPACE);
        t.Key(VTERM_KEY_ENTER);
        ASSERT_TRUE(t.WaitFor("[abxydefgh ] 10 INP=0")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("new>")) << s_Screen(t);
        t.Type("aB1");
        t.Key(VTERM_KEY_ENTER);
        ASSERT_TRUE(t.WaitFor("[Ab1] INP=0")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("done")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

// LINPUT USING with a '!' mask of five characters returns on the fifth key;
// INPUT then reads a number and a text at its prompt, the text's accented
// keys as bytes of the system set (two bytes, shown as typed).
TEST(ConsoleInput, LinputUsingAutoReturn) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/console_input", "using"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("Name?")) << s_Screen(t);
        t.Type("Hello");
        ASSERT_TRUE(t.WaitFor("using [Hello] INP=0")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("?", 5000, 2)) << s_Screen(t);
        t.Type("42,");
        t.Char(0xE9);
        t.Char(0x20AC);
        t.Key(VTERM_KEY_ENTER);
        ASSERT_TRUE(t.WaitFor("input 42 [\xC3\xA9\xE2\x82\xAC] 2")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("done")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

// ON TIMEOUT GOTO jumps when no key comes within its second; the CALL form's
// handler ends the entry with its key; WAIT with the marker ignores printable
// keys and ends on the blank.
TEST(ConsoleInput, TimeoutAndWaitMarker) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/console_input", "timeout"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("waiting")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("timed out trap 2", 5000)) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("handler", 5000)) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("entry INP=13", 5000)) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("marker")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("^")) << s_Screen(t);
        t.Type("ab");
        EXPECT_FALSE(t.WaitFor("waited", 300));
        t.Char(' ');
        ASSERT_TRUE(t.WaitFor("waited")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
        EXPECT_TRUE(t.ModesRestored());
    }
}

// The attention key then Q ends the program with 254 while the break key is on.
TEST(ConsoleInput, AttentionThenQuit) {
    CTempFile taskTable;
    CPtyTerminal t;
    ASSERT_TRUE(t.Start({VELBRA_PROGRAMS "/console_input", "entry"}, {"b_termmode=3", "b_tasktable=" + taskTable.Path()}));
    ASSERT_TRUE(t.WaitFor("entry0>")) << s_Screen(t);
    t.Send("\x03");
    t.Type("q");
    EXPECT_EQ(t.Wait(), 254);
    EXPECT_TRUE(t.ModesRestored());
}

// Yesno waits for one of its two letters (either case); Errmsg writes its
// message on the window's last line (full screen) and answers the key in upper case.
TEST(ConsoleInput, YesnoAndErrmsg) {
    for (char const* pszMode : s_kModes) {
        SCOPED_TRACE(pszMode);
        CTempFile taskTable;
        CPtyTerminal t;
        ASSERT_TRUE(
            t.Start({VELBRA_PROGRAMS "/console_input", "dialogues"}, {pszMode, "b_tasktable=" + taskTable.Path()}));
        ASSERT_TRUE(t.WaitFor("sure? (Y/N)")) << s_Screen(t);
        t.Type("xn");
        ASSERT_TRUE(t.WaitFor("answer N")) << s_Screen(t);
        // The stream mode cannot place the cursor: the message follows the output.
        bool bScreen = std::string(pszMode) != "b_termmode=1";
        ASSERT_TRUE(t.WaitFor("Disk full", 5000, bScreen ? 23 : -1)) << s_Screen(t);
        t.Type("q");
        ASSERT_TRUE(t.WaitFor("key Q")) << s_Screen(t);
        ASSERT_TRUE(t.WaitFor("done")) << s_Screen(t);
        t.Char(' ');
        EXPECT_EQ(t.Wait(), 0);
    }
}
