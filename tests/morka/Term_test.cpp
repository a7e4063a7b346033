// The plain stream mode of the terminal: CR is the line end and is written as
// "\n", an LF right after it is swallowed, other bytes pass unchanged, and
// the column follows what was written (TermTab pads from it).
#include <morka/morka.h>

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace morka;

namespace {

// Runs write with standard output going to a temporary file; returns what
// was written.
template <typename TWrite>
std::string s_Captured(TWrite&& write) {
    std::fflush(stdout);
    FILE* pTmp = std::tmpfile();
    int iSaved = dup(STDOUT_FILENO);
    dup2(fileno(pTmp), STDOUT_FILENO);
    write();
    std::fflush(stdout);
    dup2(iSaved, STDOUT_FILENO);
    close(iSaved);
    std::string s;
    std::rewind(pTmp);
    for (int c; (c = std::fgetc(pTmp)) != EOF;) s += static_cast<char>(c);
    std::fclose(pTmp);
    return s;
}

class TermStream : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Term.iMode, TERM_STREAM);
        Term.iColumn = 0;
        Term.bLastWasCR = false;
    }
};

TEST_F(TermStream, LineEndsAndBytes) {
    struct CCase {
        char const* pszId;
        std::string sIn;
        std::string sOut;
        int iColumn;
    };
    CCase const aCases[] = {
        {"cr-is-new-line", "ab\rcd", "ab\ncd", 2},
        {"cr-lf-is-one-line-end", "ab\r\ncd\r\n", "ab\ncd\n", 0},
        {"lf-alone", "a\nb", "a\nb", 1},
        {"lf-lf", "a\r\n\nb", "a\n\nb", 1},
        {"control-codes-pass", std::string("a\x0e\x10!!\xa0" "b"), std::string("a\x0e\x10!!\xa0" "b"), 7},
        {"backspace-counts-back", "abc\b", "abc\b", 2},
    };
    for (CCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        Term.iColumn = 0;
        Term.bLastWasCR = false;
        EXPECT_EQ(s_Captured([&] { TermWrite(c.sIn.data(), static_cast<int>(c.sIn.size())); }), c.sOut);
        EXPECT_EQ(Term.iColumn, c.iColumn);
    }
}

TEST_F(TermStream, TabPadsToTheColumn) {
    EXPECT_EQ(s_Captured([] {
                  TermWrite("ab");
                  TermTab(5);
                  TermPut('x');
                  TermTab(3);
                  TermPut('\r');
                  TermTab(2);
              }),
              "ab   x\n  ");
}

TEST_F(TermStream, PrintfOfALongText) {
    std::string sLong(2000, 'y');
    EXPECT_EQ(s_Captured([&] { TermPrintf("%s\r", sLong.c_str()); }), sLong + "\n");
}

}  // namespace
