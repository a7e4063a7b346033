// Raw record statements and the file CALL routines on real files.
#include "io/IoFixture.h"

#include <velbra/FileCalls.h>
#include <velbra/FileRawApi.h>
#include <velbra/FileRecord.h>

#include <cstring>
#include <ctime>
#include <sys/stat.h>

using namespace morka;

namespace {

class FileRaw : public CIoTest {
protected:
    void SetUp() override {
        CIoTest::SetUp();
        Create("k.dat", ORG_KEYED, 128, 8);
        Create("d.dat", ORG_DIRECT, 16, 0);
        Open(1, "k.dat", ORG_KEYED, ACC_UPDATE, 0);
        Open(2, "d.dat", ORG_RAW, ACC_UPDATE, 0);
    }
};

}  // namespace

TEST_F(FileRaw, KeyedReadsReturnTheBufferPositionalReadsTheRecord) {
    RawWriteKey(1, "b", "short");
    RawWriteKey(1, "a", CBString("x\0y", 3));
    CBString sRec, sKey;
    RawReadKey(1, "b", sRec);
    EXPECT_EQ(sRec.length(), 128);
    EXPECT_EQ(sRec.left(6), CBString("short\0", 6));
    RawReadTop(1, &sKey, sRec);
    EXPECT_EQ(sKey, "a");
    EXPECT_EQ(sRec, CBString("x\0y", 3));
    RawReadNext(1, &sKey, sRec);
    EXPECT_EQ(sRec, "short");
    EXPECT_EQ(b_Raised([&] { RawWriteKey(1, "c", CBString('z', 129)); }), 47);
    EXPECT_EQ(b_Raised([&] { RawWriteKey(1, "123456789", "x"); }), 34);
    EXPECT_EQ(b_Raised([&] { RawReadKey(1, "c", sRec); }), 64);

    RawWriteKey(2, CInt32(7), "seven");
    CInt32 n;
    CInt16 i;
    CDfp x;
    RawReadEnd(2, &n, sRec);
    EXPECT_EQ(int(n), 7);
    RawReadTop(2, &i, sRec);
    RawReadTop(2, &x, sRec);
    EXPECT_EQ(int(i), 7);
    EXPECT_TRUE(x == CDfp(7));
    EXPECT_EQ(sRec, "seven");
    Open(3, "d.dat", ORG_DIRECT, ACC_INPUT, 0);
    EXPECT_EQ(b_Raised([&] { RawReadKey(3, CInt32(7), sRec); }), 32) << "raw record numbers want organisation 0x200";
}

TEST_F(FileRaw, SequentialRawRecordsAreTheTaggedBytes) {
    Open(3, "s.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Write(3, "i", 5);
    RawWrite(3, CBString("\x04\x02hi", 4));
    Close(3);
    Open(3, "s.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    CBString sRec;
    RawRead(3, sRec);
    EXPECT_EQ(sRec, CBString("\x01\x05\x00", 3));
    CBString s;
    Read(3, "s", &s);
    EXPECT_EQ(s, "hi") << "a raw record ends with its end byte";
    RawRead(3, sRec);
    EXPECT_EQ(sRec, "");
    EXPECT_EQ(Eof(3), -1);
}

TEST_F(FileRaw, SeqReadTurnsNumbersDecimalAndReportsOtherFields) {
    Open(3, "s.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    RawWrite(3, CBString("\x04\x02" "a\x80", 4));  // the stored bytes as they are
    Write(3, "d", static_cast<dfp_t>(2.5));
    Write(3, "l", 1);
    Close(3);
    Open(3, "s.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    QXFILE* pFile = GetFile(3);
    CBString sRec;
    EXPECT_EQ(SEQ_READ_128TO231(pFile, sRec), 0);
    EXPECT_EQ(sRec, CBString("\x04\x02" "a\xe7", 4));
    EXPECT_EQ(SEQ_READ(pFile, sRec), 0);
    ASSERT_EQ(sRec.length(), 9);
    EXPECT_EQ(sRec[0], TAG_DECIMAL);
    decimal64 d;
    std::memcpy(&d, sRec.data() + 1, 8);
    EXPECT_EQ(static_cast<double>(d), 2.5);
    EXPECT_EQ(SEQ_READ(pFile, sRec), 1) << "a 32-bit integer field";
    EXPECT_EQ(CALL_RETURN_VALUE, 1);
    EXPECT_EQ(SEQ_READ(pFile, sRec), -1);
    EXPECT_EQ(sRec, "");
}

TEST_F(FileRaw, KeyedCallWritesCutToTheBuffer) {
    QXFILE* pKeyed = GetFile(1);
    EXPECT_EQ(IND_WRITE(pKeyed, "ab", CBString('r', 200)), 0);
    CBString sRec;
    RawReadKey(1, "ab", sRec);
    EXPECT_EQ(sRec, CBString('r', 128));
    EXPECT_EQ(IND_WRITE(pKeyed, "123456789", "x"), 1029);
    EXPECT_EQ(CALL_RETURN_VALUE, 1029);
    Open(4, "d.dat", ORG_DIRECT, ACC_UPDATE, 0);
    EXPECT_EQ(DIR_WRITE(GetFile(4), CDfp(3.9), "three"), 0);
    EXPECT_EQ(DIR_WRITE(GetFile(4), CDfp(-1), "x"), 1029);
    RawReadKey(2, CInt32(3), sRec);
    EXPECT_EQ(sRec.left(5), "three");
}

TEST_F(FileRaw, CreateAndCountFiles) {
    struct {
        char const* pszId;
        char const* pszType;
        int iResult;
        int eOrg;
    } const aCreate[] = {
        {"create-1 X", "X", 35, 0},
        {"create-2 empty type", "", 35, 0},
        {"create-3 lower-case d", "d", 0, ORG_DIRECT},
        {"create-4 L", "L", 0, ORG_KEYED},
    };
    int k = 0;
    for (auto const& c : aCreate) {
        SCOPED_TRACE(c.pszId);
        CBString sName;
        sName.format("c%d.dat", ++k);
        EXPECT_EQ(FILE_CREATE_EX(sName, c.pszType, CDfp(64), CInt16(10), CDfp(0)), c.iResult);
        CDfp size, days, seconds, number2;
        CInt16 org, prot, owner, number1, byte;
        CBString path, t1, t2;
        int iFound = FIND_FILE_EX(sName, size, days, seconds, org, prot, owner, number2, number1, byte, path, t1, t2);
        EXPECT_EQ(iFound, c.eOrg ? 0 : -1);
        if (!c.eOrg) continue;
        EXPECT_EQ(int(org), c.eOrg);
        EXPECT_TRUE(number2 == CDfp(64));
        EXPECT_EQ(int(number1), c.eOrg == ORG_KEYED ? 10 : 0);
        EXPECT_EQ(t1, "LMDB");
        EXPECT_EQ(int(byte), DEV_DISK);
    }

    for (char const* psz : {"a", "b", "c"}) RawWriteKey(1, psz, psz);
    for (int n : {1, 2}) RawWriteKey(2, CInt32(n), "r");
    b_WriteFile("crlf.txt", "one\r\ntwo\r\nthree\r\n");
    b_WriteFile("empty.txt", "");
    Open(5, "tagged.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    CBString sZeros("\0\0", 2);
    Write(5, "si", &sZeros, 0);
    Write(5, "d", static_cast<dfp_t>(0));
    Close(5);
    chmod("crlf.txt", 0640);
    struct {
        char const* pszId;
        char const* pszName;
        double dCount;
    } const aCount[] = {
        {"count-1 keyed", "k.dat", 3},
        {"count-2 record numbers", "d.dat", 2},
        {"count-3 text with CR LF", "crlf.txt", 3},
        {"count-4 empty text", "empty.txt", 0},
        {"count-5 tagged records with zero bytes inside fields", "tagged.dat", 2},
    };
    for (auto const& c : aCount) {
        SCOPED_TRACE(c.pszId);
        CDfp n(-5);
        EXPECT_EQ(FILE_RECORDS(c.pszName, n), 0);
        EXPECT_EQ(n.ToDouble(), c.dCount);
    }
    CDfp n;
    EXPECT_EQ(FILE_RECORDS("missing.txt", n), -1);
    EXPECT_EQ(iERR, 30);

}

TEST_F(FileRaw, NamesDirectoriesAndUsers) {
    CBString s;
    EXPECT_EQ(MORKA_TO_LINUX_FILENAME(s, "CON"), -1);
    EXPECT_EQ(s, "");
    EXPECT_EQ(MORKA_TO_LINUX_FILENAME(s, "notes.txt"), 0);
    EXPECT_EQ(s, "notes.txt");
    EXPECT_EQ(CURRENT_DIRECTORY(s), 0);
    EXPECT_FALSE(s.empty());
    EXPECT_EQ(FILE_ENGINE(s, "k.dat"), 0);
    EXPECT_EQ(s, "LMDB");
    EXPECT_EQ(USERID("root"), 0);
    EXPECT_EQ(TUSERID("no-such-user-here"), -1);
    EXPECT_EQ(CALL_RETURN_VALUE, -1);
    Open(6, "out.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    CInt32 nSpooled(9);
    EXPECT_EQ(SPOOLER_REPORT(GetFile(6), nSpooled), 0);
    EXPECT_EQ(int(nSpooled), 0) << "not a printer";
    setenv("b_prt1", "spool.txt", 1);
    Open(7, "PRT1", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Print(7, "zp", "page one", 2);
    CDfp xSpooled;
    EXPECT_EQ(SPOOLER_REPORT(GetFile(7), xSpooled), 0);
    EXPECT_GE(xSpooled.ToDouble(), 8.0) << "the printed line is in the spool file";
    Close(7);
    unsetenv("b_prt1");
    CBString sData("abc");
    EXPECT_EQ(SEQ_FWRITE(GetFile(6), sData), 0);
    EXPECT_EQ(SEQ_WRITE(GetFile(6), "de"), 0);
    Close(6);
    EXPECT_EQ(b_ReadFile("out.txt"), std::string("abcde\0", 6));
    Open(6, "out.txt", ORG_SEQUENTIAL, ACC_INPUT, 0);
    EXPECT_EQ(SEQ_FREAD(GetFile(6), s, CDfp(4)), 0);
    EXPECT_EQ(s, "abcd");
    EXPECT_EQ(SEQ_FREAD(GetFile(6), s, CDfp(1e9)), 0);
    EXPECT_EQ(s, CBString("e\0", 2));
    EXPECT_EQ(SEQ_FREAD(GetFile(1), s, CDfp(1)), 1011) << "a keyed channel: the raw number";
}
