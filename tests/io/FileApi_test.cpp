// The channel statements and functions: OPEN errors as a program sees them,
// CLOSE ranges, the name statements, EOF, WAIT and the queries.
#include "io/IoFixture.h"

using namespace morka;

namespace {

class FileStatements : public CIoTest {};

}  // namespace

TEST_F(FileStatements, OpenErrorsAsBasicNumbers) {
    setenv("b_prt1", "", 1);
    unsetenv("b_prt5");
    struct {
        char const* pszId;
        int iChannel;
        char const* pszName;
        t_FileOrg eOrg;
        t_FileAccess eAccess;
        int iBasic;
    } const aCases[] = {
        {"ch-high", FileMngr.nChannels - 2, "x.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 38},
        {"ch-neg", -1, "x.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 38},
        {"no-device", 1, "PRT5", ORG_SEQUENTIAL, ACC_OUTPUT, 46},
        {"bad-name", 1, "a..b", ORG_SEQUENTIAL, ACC_OUTPUT, 46},
        {"device-org", 1, "CON", ORG_KEYED, ACC_OUTPUT, 69},
        {"printer-org", 1, "PRT1", ORG_TEXT, ACC_INPUT, 30},  // text stream: always a disk file
        {"unknown-org", 1, "x.txt", static_cast<t_FileOrg>(0x20), ACC_OUTPUT, 32},
        {"not-found", 1, "missing.txt", ORG_SEQUENTIAL, ACC_INPUT, 30},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(b_Raised([&] { Open(c.iChannel, c.pszName, c.eOrg, c.eAccess, 0); }), c.iBasic);
        EXPECT_EQ(GetFileName(1), CBString(""));
    }
    EXPECT_EQ(t_sMorkaFname, CBString("missing.txt"));
    EXPECT_EQ(ErrorMessage(3030), CBString("Error 30 File missing.txt (missing.txt) not found"));
    Open(FileMngr.nChannels - 3, "top.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    EXPECT_EQ(GetFileName(FileMngr.nChannels - 3), CBString("top.txt"));
    unsetenv("b_prt1");
}

TEST_F(FileStatements, CloseActsOnlyInsideItsRange) {
    int iTop = FileMngr.nChannels - 3;
    Open(1, " one.txt ", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Open(iTop, "top.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Close(0);
    Close(-1);
    Close(iTop);
    Close(FileMngr.nChannels + 5);
    EXPECT_TRUE(GetFile(0)->bOpen);
    EXPECT_EQ(GetFileName(1), CBString("one.txt"));
    EXPECT_EQ(GetFileName(iTop), CBString("top.txt"));
    EXPECT_EQ(NextFile(), 2);
    Close(1);
    EXPECT_EQ(GetFileName(1), CBString(""));
    EXPECT_EQ(NextFile(), 1);
    CloseAll();
    EXPECT_FALSE(GetFile(iTop)->bOpen);
    EXPECT_EQ(GetFileName(FileMngr.nChannels), CBString(""));
    EXPECT_EQ(GetFile(FileMngr.nChannels), nullptr);
    EXPECT_EQ(GetFILE(FileMngr.nChannels), nullptr);
}

TEST_F(FileStatements, FileModeBits) {
    struct {
        char const* pszId;
        t_FileOrg eOrg;
        t_FileAccess eAccess;
        unsigned uFlags;
        int iMode;
    } const aCases[] = {
        {"mode-in", ORG_SEQUENTIAL, ACC_INPUT, 0, 0x004 | 0x008},
        {"mode-out", ORG_SEQUENTIAL, ACC_OUTPUT, 0, 0x002 | 0x008},
        {"mode-app", ORG_SEQUENTIAL, ACC_APPEND, 0, 0x001 | 0x002 | 0x008},
        {"mode-upd", ORG_TEXT, ACC_UPDATE, 0, 0x002 | 0x004},
        {"mode-quote", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_QUOTE, 0x002 | 0x008 | 0x100},
        {"mode-cc", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_CC | OPEN_NOLOCK, 0x002 | 0x008 | 0x200 | 0x010},
        {"mode-nocreate", ORG_SEQUENTIAL, ACC_UPDATE, OPEN_NOCREATE, 0x002 | 0x004 | 0x008 | 0x800},
    };
    b_WriteFile("m.txt", "");
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        Open(1, "m.txt", c.eOrg, c.eAccess, c.uFlags);
        EXPECT_EQ(GetFileMode(1), c.iMode);
        Close(1);
    }
    EXPECT_EQ(GetFileMode(1), 0);
    EXPECT_EQ(GetFileMode(-1), 0);
    EXPECT_EQ(GetFileMode(FileMngr.nChannels), 0);
}

TEST_F(FileStatements, NameStatementsRaiseWhatTheSystemAnswers) {
    Create("a.txt", ORG_SEQUENTIAL);
    EXPECT_EQ(b_Raised([] { Create("a.txt", ORG_SEQUENTIAL); }), 119);
    EXPECT_EQ(b_Raised([] { Create("CON", ORG_SEQUENTIAL); }), 46);
    b_WriteFile("a.txt", "alpha");
    Copy("a.txt", "b.txt", 0);
    EXPECT_EQ(b_Raised([] { Copy("a.txt", "b.txt", 0); }), 119);
    EXPECT_EQ(t_sMorkaFname, CBString("b.txt"));
    EXPECT_EQ(b_Raised([] { Rename("a.txt", "b.txt"); }), 119);
    Rename("a.txt", "c.txt");
    Truncate("c.txt");
    EXPECT_EQ(b_ReadFile("c.txt"), "");
    EXPECT_EQ(b_ReadFile("b.txt"), "alpha");
    Erase("c.txt");
    EXPECT_EQ(b_Raised([] { Erase("c.txt"); }), 30);
    EXPECT_EQ(b_Raised([] { Truncate("c.txt"); }), 30);
}

TEST_F(FileStatements, EofWaitAndCounters) {
    b_WriteFile("in.txt", "q");
    b_WriteFile("none.txt", "");
    Open(1, "in.txt", ORG_TEXT, ACC_INPUT, 0);
    Open(2, "none.txt", ORG_TEXT, ACC_INPUT, 0);
    EXPECT_EQ(Eof(1), 0);
    EXPECT_EQ(Eof(2), -1);
    EXPECT_EQ(b_Raised([] { Eof(3); }), 27);
    Wait(1);  // input is there: WAIT returns and leaves it
    QXFILE* f = GetFile(1);
    EXPECT_EQ(t_Driver(f)->GetChar(f), 'q');
    EXPECT_EQ(Eof(1), -1);
    EXPECT_EQ(Pos(1), 0) << "no output access";
    EXPECT_EQ(Line(1), 0);

    setenv("b_prt1", (m_dir.Path() + "/spool").c_str(), 1);
    Open(4, "PRT1", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_CRLF);
    Print(4, "zpzpz", "a", 2, "b\f", 2, "c");
    EXPECT_EQ(Line(4), 1);
    EXPECT_EQ(Page(4), 1);
    EXPECT_EQ(Pos(4), 1);
    EXPECT_EQ(Class("PRT1"), CLASS_PRT_SPOOL);
    EXPECT_EQ(Class("con"), CLASS_TERM_STREAM);
    EXPECT_EQ(Class("x.txt"), 0);
    EXPECT_EQ(Line(0), 0) << "the console is no terminal here";
    Unlock(1);
    Unlock(-3);
    unsetenv("b_prt1");
}
