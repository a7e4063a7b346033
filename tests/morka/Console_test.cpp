// The console queue and the keyboard stack: the order keys come back in, the
// key notation of b_keys and b_keyfile, and taking a line off the stack.
#include <morka/morka.h>

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace morka;

namespace {

constexpr int S = TERM_KEY_SPECIAL;

std::vector<int> s_TakeAll() {
    std::vector<int> a;
    for (int iKey; (iKey = t_StackGet()) >= 0;) a.push_back(iKey);
    return a;
}

class KeyStack : public ::testing::Test {
protected:
    void SetUp() override { t_StackClear(); }
    void TearDown() override {
        t_StackClear();
        unsetenv("b_keys");
        unsetenv("b_keyfile");
        unsetenv("b_keyshow");
        t_bStackShow = false;
    }
};

TEST_F(KeyStack, Notation) {
    struct CCase {
        char const* pszId;
        std::string sText;
        std::vector<int> aKeys;
    };
    std::vector<CCase> const aCases = {
        {"characters", "ab", {'a', 'b'}},
        {"line-ends-are-enter", "a\nb\r\nc\rd", {'a', 13, 'b', 13, 'c', 13, 'd'}},
        {"named-keys", "<UP><f1><Enter><esc><tab><bs><DEL>", {S + 0x103, S + 0x109, 13, 27, 9, 127, S + 0x14A}},
        {"modifiers", "<C-S-F1><A-UP><S-TAB>", {S + 0x12D, S + 0x236, S + 0x161}},
        {"codes", "<^x><27><LT>", {24, 27, '<'}},
        {"unknown-name-is-text", "<nope>", {'<', 'n', 'o', 'p', 'e', '>'}},
        {"lone-angle", "a<b", {'a', '<', 'b'}},
        {"unclosed", "<UP", {'<', 'U', 'P'}},
        {"high-bytes", "\xa0\xff", {0xA0, 0xFF}},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(t_StackKeys(c.sText.c_str()), static_cast<int>(c.aKeys.size()));
        EXPECT_EQ(s_TakeAll(), c.aKeys);
    }
}

TEST_F(KeyStack, OrderPeekAndUnget) {
    EXPECT_FALSE(t_StackReady());
    EXPECT_EQ(t_StackGet(), -1);
    EXPECT_EQ(t_StackPeek(), -1);
    t_StackKeys("ab");
    EXPECT_TRUE(t_StackReady(true));
    EXPECT_EQ(t_StackPeek(), 'a');
    EXPECT_EQ(t_StackGet(), 'a');
    t_StackUnget('z');
    t_StackUnget('y');
    EXPECT_EQ(s_TakeAll(), (std::vector<int>{'y', 'z', 'b'}));
}

TEST_F(KeyStack, ReadTakesALine) {
    char aBuf[8];
    t_StackKeys("abc\rdef");
    EXPECT_EQ(t_StackRead(aBuf, sizeof aBuf), 3);
    EXPECT_STREQ(aBuf, "abc");
    EXPECT_EQ(t_StackRead(aBuf, sizeof aBuf), 3);
    EXPECT_STREQ(aBuf, "def");
    EXPECT_EQ(t_StackRead(aBuf, sizeof aBuf), -1);

    // Overlong: cut to the buffer, the rest of the line is dropped.
    t_StackKeys("abcdefghij\rk\r");
    EXPECT_EQ(t_StackRead(aBuf, 4), 3);
    EXPECT_STREQ(aBuf, "abc");
    EXPECT_EQ(t_StackRead(aBuf, 4), 1);
    EXPECT_STREQ(aBuf, "k");

    // Keys that are no characters are dropped from the line.
    t_StackKeys("a<UP>\x01" "b\r");
    EXPECT_EQ(t_StackRead(aBuf, sizeof aBuf), 2);
    EXPECT_STREQ(aBuf, "ab");
    EXPECT_FALSE(t_StackReady());

    // An empty line.
    t_StackKeys("\r");
    EXPECT_EQ(t_StackRead(aBuf, sizeof aBuf), 0);
    EXPECT_STREQ(aBuf, "");
}

TEST_F(KeyStack, FilledFromEnvironmentAndFile) {
    char aPath[] = "/tmp/velbra-keys-XXXXXX";
    int fd = mkstemp(aPath);
    ASSERT_GE(fd, 0);
    std::string sFile = "yes\n<F1>\r\n";
    ASSERT_EQ(write(fd, sFile.data(), sFile.size()), static_cast<ssize_t>(sFile.size()));
    close(fd);
    setenv("b_keys", "x<CR>", 1);
    setenv("b_keyfile", aPath, 1);
    setenv("b_keyshow", "1", 1);
    t_StackInit();
    EXPECT_TRUE(t_bStackShow);
    EXPECT_EQ(s_TakeAll(), (std::vector<int>{'x', 13, 'y', 'e', 's', 13, S + 0x109, 13}));
    std::remove(aPath);

    // A key file that cannot be read stops the start with its error number.
    try {
        t_StackInit();
        ADD_FAILURE() << "no error for a missing key file";
    } catch (int n) {
        EXPECT_EQ(n, 2);
    }
}

TEST(ConsoleQueue, LastGivenBackIsReadFirst) {
    CConsole con;
    EXPECT_EQ(con.ConGet(), -1);
    con.ConUngetW(S + 0x103);
    con.ConUnget(0x1FF);
    con.ConUngetW('a');
    EXPECT_TRUE(con.ConReady());
    EXPECT_EQ(con.ConGet(), 'a');
    EXPECT_EQ(con.ConGet(), 0xFF);
    EXPECT_EQ(con.ConGet(), S + 0x103);
    EXPECT_EQ(con.ConGet(), -1);
    con.ConUngetW(1);
    con.ConClear();
    EXPECT_EQ(con.ConGet(), -1);
}

}  // namespace
