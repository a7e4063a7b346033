// Error handling: both mapping tables, message texts, the handler's roads
// (repeat, jump, re-raise, fatal) and b_SkipSetJmp.
#include <velbra.h>

#include <csetjmp>
#include <gtest/gtest.h>

using namespace morka;

namespace {

class ErrorTrap : public ::testing::Test {
protected:
    void SetUp() override {
        b_ErrorInit();
        t_sMorkaFname = "";
        t_sLinuxFname = "";
        Error.pszFile = Error.pszProc = nullptr;
    }
    void TearDown() override { SetUp(); }
};

}  // namespace

TEST_F(ErrorTrap, MappingTablesAgreeBothWays) {
    struct { int iRaw, iBasic; } const aPairs[] = {
        {2, 30}, {4, 254}, {9, 27}, {17, 119}, {19, 46}, {23, 121}, {24, 120}, {28, 31},
        {39, 118}, {1011, 32}, {1014, 35}, {1019, 28}, {1023, 49}, {1024, 48}, {1025, 64}, {1028, 47}, {1029, 34},
        {1053, 38}, {1057, 63}, {1058, 41}, {1059, 42}, {1060, 43}, {1061, 44}, {1062, 45}, {1063, 65},
        {1064, 69}, {1087, 87}, {1088, 88},
    };
    for (auto const& p : aPairs) {
        SCOPED_TRACE(p.iRaw);
        EXPECT_EQ(b_QxErrno2Berror(p.iRaw), 0);
        EXPECT_EQ(iERR, p.iBasic);
        EXPECT_EQ(b_Berror2QxErrno(p.iBasic), p.iRaw);
    }
    // Several raw numbers share one BASIC number; the reverse table picks one.
    for (int n : {13, 30, 1003, 1005}) EXPECT_EQ(b_QxErrno2Berror(n), 0);
    EXPECT_EQ(b_Berror2QxErrno(33), 30);
    EXPECT_EQ(b_Berror2QxErrno(89), 1034);
    EXPECT_EQ(b_Berror2QxErrno(-3000), 0);
    EXPECT_EQ(b_Berror2QxErrno(77), 77);
    // Numbers without a BASIC number.
    for (int n : {12, 1030, 3029, 3050, 1034}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(b_QxErrno2Berror(n), 1);
        EXPECT_EQ(iERR, 0);
    }
    EXPECT_EQ(b_QxErrno2Berror(0), 0);
}

TEST_F(ErrorTrap, MessageTexts) {
    struct { char const* id; int n; std::string sExpected; } const aCases[] = {
        {"subscript", 3029, "Error 29 Subscript range error"},
        {"divide", 3050, "Error 50 Division by zero"},
        {"break", 3001, ""},
        {"zero", 3000, "Error 0 Runtime error 3000"},
        {"unknown", 3200, "Error 200 Runtime error 3200"},
        {"systext", 3038, "Error 38 " + std::string(t_strerror(1053))},
        {"os", 28, t_strerror(28)},
        {"notfound-nonames", 3030, t_strerror(2)},
        {"locked-nonames", 3049, t_strerror(1023)},
        {"notempty-nonames", 3118, "Directory or library not empty"},
        {"command", 3039, "Error 39 Command  not found"},
        {"window", 3057, "Error 57 Invalid window number"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(ErrorMessage(c.n).str(), c.sExpected);
    }
    t_sMorkaFname = "DATA.CUST";
    t_sLinuxFname = "/srv/data/cust";
    EXPECT_EQ(ErrorMessage(3030).str(), "Error 30 File DATA.CUST (/srv/data/cust) not found");
    EXPECT_EQ(ErrorMessage(3119).str(), "Error 119 File DATA.CUST (/srv/data/cust) already exists");
    EXPECT_EQ(ErrorMessage(3039).str(), "Error 39 Command DATA.CUST not found");
}

TEST_F(ErrorTrap, ErrorZeroRepeatsTheStatement) {
    Error.iLine = 70;
    Error.iSrcLine = 7;
    EXPECT_TRUE(b_ErrorHandler(0, 3));
    EXPECT_EQ(iERL, 70);
    EXPECT_EQ(iERP, 7);
    EXPECT_EQ(iERF, 3);
}

TEST_F(ErrorTrap, OnErrorGotoJumpsWithTheBasicNumber) {
    Error.iLine = 120;
    Error.pszLine = "120";
    volatile int iRuns = 0;
    if (setjmp(*OnErrorGoto(true)) == 0) {
        iRuns = iRuns + 1;
        b_StatementFrame(4, [] { throw 2; });
        FAIL() << "the error handler returned instead of jumping";
    }
    EXPECT_EQ(iRuns, 1);
    EXPECT_EQ(iERR, 30);
    EXPECT_EQ(iERF, 4);
    EXPECT_EQ(Error.iTrap, 1);
    EXPECT_EQ(Error.iRawError, 2);
    EXPECT_TRUE(b_SkipSetJmp()) << "no refill while the trap is served";

    Error.iLine = 999;
    Error.pszLine = "999";
    EXPECT_EQ(b_ErrorResume(), 1);
    EXPECT_EQ(Error.iTrap, 0);
    EXPECT_EQ(Error.iLine, 120);
    EXPECT_STREQ(Error.pszLine, "120");
    EXPECT_FALSE(b_SkipSetJmp()) << "ON ERROR armed: the buffer must be refilled";
}

TEST_F(ErrorTrap, ThrowModeRaisesTheBasicNumber) {
    Error.bThrow = true;
    try {
        b_ErrorHandler(1053, 0);
        FAIL() << "no exception";
    } catch (int n) {
        EXPECT_EQ(n, 38);
    }
}

TEST_F(ErrorTrap, ForeignExceptionsBecomeErrorNumbers) {
    struct { char const* id; void (*fnThrow)(); int iExpected; } const aCases[] = {
        {"int", [] { throw 1028; }, 1028},
        {"bad_alloc", [] { throw std::bad_alloc(); }, 12},
        {"string-index", [] { CBString("").character(1); }, MORKA_EINTERNAL},
        {"other", [] { throw std::runtime_error("x"); }, MORKA_EINTERNAL},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        int n = -1;
        try {
            c.fnThrow();
        } catch (...) {
            n = b_CurrentErrorNumber();
        }
        EXPECT_EQ(n, c.iExpected);
    }
}

TEST_F(ErrorTrap, StatementFrameRepeatsWhileTheHandlerSaysSo) {
    int nRuns = 0;
    b_StatementFrame(0, [&] {
        if (++nRuns < 3) throw 0;
    });
    EXPECT_EQ(nRuns, 3);
}

TEST_F(ErrorTrap, SkipSetJmpFollowsArmedAndEnabledTraps) {
    EXPECT_TRUE(b_SkipSetJmp());
    b_bOnEventGoto = true;
    EXPECT_TRUE(b_SkipSetJmp()) << "armed but not enabled";
    b_iOnSignalsTraps = 0x200;
    EXPECT_FALSE(b_SkipSetJmp());
    b_bOnEventGoto = false;
    b_bOnTimeoutGoto = true;
    b_iOnSignalsTraps = 0x01;
    EXPECT_FALSE(b_SkipSetJmp());
    b_bOnTimeoutGoto = false;
    b_iOnSignalsTraps = 0;
}

TEST_F(ErrorTrap, FatalErrorsEndWith253) {
    // 3029 and 1030 have no BASIC number: fatal even with ON ERROR GOTO armed.
    auto fnFatalUnderOnError = [](int n) {
        if (setjmp(*OnErrorGoto(true)) == 0) b_ErrorHandler(n, 0);
        _exit(1);   // reached only through the jump
    };
    EXPECT_EXIT(fnFatalUnderOnError(3029), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(fnFatalUnderOnError(1030), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(b_ErrorHandler(2, 0), ::testing::ExitedWithCode(253), "");
}
