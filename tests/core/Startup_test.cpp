// OPTION statements, TRACE and the GOSUB stack growth.
#include <velbra.h>

#include <gtest/gtest.h>

using namespace morka;

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override { m_saved = Morka; }
    void TearDown() override {
        Morka = m_saved;
        OptionNocomma();
    }
    CMorkaSettings m_saved;
};

}  // namespace

TEST_F(Options, DateFormAndYearForms) {
    struct { char const* id; void (*fnSet)(); char cExpected; } const aForms[] = {
        {"int-1", [] { OptionDateform(1); }, 'E'},
        {"int-3-ignored", [] { OptionDateform(3); }, 'A'},
        {"int-neg-ignored", [] { OptionDateform(-1); }, 'A'},
        {"text-e", [] { OptionDateform("e"); }, 'E'},
        {"text-I", [] { OptionDateform("Iso"); }, 'I'},
        {"text-digit", [] { OptionDateform("1"); }, 'E'},
        {"text-digit-3", [] { OptionDateform("3"); }, 'A'},
        {"text-other", [] { OptionDateform("x"); }, 'A'},
        {"text-empty", [] { OptionDateform(""); }, 'A'},
    };
    for (auto const& c : aForms) {
        SCOPED_TRACE(c.id);
        Morka.cDateForm = 'A';
        c.fnSet();
        EXPECT_EQ(Morka.cDateForm, c.cExpected);
    }
    Morka.iDateIn = 1;
    OptionDatein(-1);
    EXPECT_EQ(Morka.iDateIn, 1);
    OptionDatein(2);
    EXPECT_EQ(Morka.iDateIn, 2);
    OptionDateout(3);
    EXPECT_EQ(Morka.iDateOut, 0);
}

TEST_F(Options, CaseCommaPromptLock) {
    Morka.cCase = 'M';
    OptionCase("x");
    EXPECT_EQ(Morka.cCase, 'M');
    OptionCase("upper");
    EXPECT_EQ(Morka.cCase, 'U');
    OptionCase("L");
    EXPECT_EQ(Morka.cCase, 'L');
    OptionCase(nullptr);
    EXPECT_EQ(Morka.cCase, 'L');

    OptionComma();
    EXPECT_EQ(Morka.cDecimal, ',');
    char aBuf[16];
    std::snprintf(aBuf, sizeof aBuf, "%.1f", 2.5);
    EXPECT_STREQ(aBuf, "2,5") << "the numeric locale follows OPTION COMMA";
    OptionNocomma();
    EXPECT_EQ(Morka.cDecimal, '.');
    std::snprintf(aBuf, sizeof aBuf, "%.1f", 2.5);
    EXPECT_STREQ(aBuf, "2.5");

    OptionPrompt("Name: ");
    EXPECT_EQ(Morka.sPrompt, "Name: ");
    OptionLock(7);
    EXPECT_EQ(FileMngr.iLockMode, 7);
    OptionLock(0);
}

TEST(OptionPriv, BelowTheRequiredLevelIsFatal) {
    setenv("b_privlev", "3", 1);
    OptionPriv(3);   // enough: nothing happens
    EXPECT_EXIT(OptionPriv(4), ::testing::ExitedWithCode(253), "");
    unsetenv("b_privlev");
}

TEST(Trace, CutsTheTextTo39Characters) {
    ::testing::internal::CaptureStdout();
    b_Trace("%s|%d", "0123456789012345678901234567890123456789", 42);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "012345678901234567890123456789012345678");
    ::testing::internal::CaptureStdout();
    b_Trace("line %d", 10);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "line 10");
}

namespace {

void s_InitAndExitTwice() {
    char aName[] = "exit-test";
    char* argv[] = {aName, nullptr};
    b_Init(1, argv, false);
    Exit();
    if (b_gosub_stack || b_ReservedMalloc || b_ReservedNew) _exit(1);
    Exit();   // and once more from atexit: no double free
    std::exit(0);
}

}  // namespace

TEST(Exit, CleanUpRunsOnce) {
    EXPECT_EXIT(s_InitAndExitTwice(), ::testing::ExitedWithCode(0), "");
}
