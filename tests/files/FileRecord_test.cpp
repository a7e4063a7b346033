// The record statements on real files: sequential READ/WRITE, keyed READ
// KEY/WRITE KEY/DELETE, positional reads with every kind of key variable,
// key rules, errors through the handler (as BASIC numbers), UNGET.
#include "io/IoFixture.h"

#include <velbra/FileRecord.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <vector>

using namespace morka;

namespace {

class FileRecord : public CIoTest {
protected:
    void SetUp() override {
        CIoTest::SetUp();
        ASSERT_EQ(b_Raised([] { Create("cust.dat", ORG_KEYED, 64, 8); }), 0);
        ASSERT_EQ(b_Raised([] { Create("rel.dat", ORG_DIRECT, 32, 0); }), 0);
        Open(1, "cust.dat", ORG_KEYED, ACC_UPDATE, 0);
        Open(2, "rel.dat", ORG_DIRECT, ACC_UPDATE, 0);
    }
};

}  // namespace

TEST_F(FileRecord, SequentialRecordsRoundTrip) {
    Open(3, "seq.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    CBString sName("Smith");
    Write(3, "sdil", &sName, static_cast<dfp_t>(12.5), 7, 70000);
    Write(3, "z", "second");
    Close(3);
    std::string sBytes = b_ReadFile("seq.dat");
    EXPECT_EQ(sBytes.size(), 7u + 9 + 3 + 5 + 1 + 8 + 1);

    Open(3, "seq.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    CBString s;
    CDfp x;
    CInt16 i;
    CInt32 l;
    Read(3, "sdil", &s, &x, &i, &l);
    EXPECT_EQ(s, "Smith");
    EXPECT_TRUE(x == CDfp(12.5));
    EXPECT_EQ(int(i), 7);
    EXPECT_EQ(int(l), 70000);
    Read(3, "s", &s);
    EXPECT_EQ(s, "second");
    EXPECT_EQ(Eof(3), -1);
    x = CDfp(9);
    Read(3, "sd", &s, &x);
    EXPECT_EQ(s, "");
    EXPECT_TRUE(x == CDfp(0)) << "READ at the end gives 0 and \"\" without an error";
    EXPECT_EQ(b_Raised([&] { Write(3, "d", static_cast<dfp_t>(1)); }), 28) << "a channel opened for input";

    // Strings are stored in the file's character set and read back unchanged.
    CBString sHigh;
    for (int c = 128; c < 256; ++c) sHigh += static_cast<char>(c);
    Open(4, "high.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Write(4, "s", &sHigh);
    Close(4);
    Open(4, "high.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    Read(4, "s", &s);
    EXPECT_EQ(s, sHigh);
    EXPECT_EQ(b_Raised([&] { Read(1, "d", &x); }), 32) << "READ on a keyed channel";
}

// Records gather before they reach the file, but the file only ever ends at a
// record's end (a record larger than the gathering buffer included), a
// channel opened later in the program reads every record written before, and
// CLOSE writes the rest.
TEST_F(FileRecord, WrittenRecordsReachTheFileWhole) {
    Open(3, "whole.dat", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    std::vector<long long> aEnds{0};
    for (int i = 0; i < 3000; ++i) {
        // Every 500th record is far larger than any stream buffer.
        CBString sText(static_cast<char>('a' + i % 26), i % 500 == 250 ? 200000 : i % 300);
        Write(3, "ls", i, &sText);
        long long nString = sText.length();
        aEnds.push_back(aEnds.back() + 5 + (nString <= 255 ? 2 : 5) + nString + 1);
        struct stat st {};
        ASSERT_EQ(stat("whole.dat", &st), 0);
        ASSERT_TRUE(std::binary_search(aEnds.begin(), aEnds.end(), static_cast<long long>(st.st_size)))
            << "the file ends inside a record after record " << i << ": " << st.st_size << " bytes";
    }
    Open(4, "whole.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    CInt32 l;
    CBString s;
    for (int i = 0; i < 3000; ++i) {
        Read(4, "ls", &l, &s);
        ASSERT_EQ(int(l), i);
        ASSERT_EQ(s.length(), i % 500 == 250 ? 200000 : i % 300);
    }
    Close(4);
    CBString sLast("last");
    Write(3, "s", &sLast);
    Close(3);
    EXPECT_EQ(static_cast<long long>(b_ReadFile("whole.dat").size()), aEnds.back() + 7);
}

TEST_F(FileRecord, KeyedRecordsAndKeyRules) {
    CBString sCity("Basel");
    WriteKey(1, "K0001", "sd", &sCity, static_cast<dfp_t>(100.25));
    WriteKey(1, "K0002", "sd", &(sCity = "Bern"), static_cast<dfp_t>(-3));
    CBString s;
    CDfp x;
    ReadKey(1, "K0001", "sd", &s, &x);
    EXPECT_EQ(s, "Basel");
    EXPECT_TRUE(x == CDfp(100.25));

    struct {
        char const* pszId;
        std::function<void()> fn;
        int iBasic;
    } const aCases[] = {
        {"key-1 write key one byte too long", [&] { WriteKey(1, "K0001abc9", "d", static_cast<dfp_t>(1)); }, 34},
        {"key-2 missing key", [&] { ReadKey(1, "K0009", "d", &x); }, 64},
        {"key-3 negative record number", [&] { WriteKey(2, CInt32(-1), "d", static_cast<dfp_t>(1)); }, 34},
        {"key-4 delete of a missing key", [&] { Delete(1, "nothing"); }, 64},
        {"key-5 string key on a record-number file", [&] { ReadKey(2, "K0001", "d", &x); }, 32},
        {"key-6 record too big for the buffer", [&] { WriteKey(1, "big", "z", std::string(70, 'x').c_str()); }, 47},
        {"key-7 type code 'p'", [&] { WriteKey(1, "K0003", "p", 0); }, -1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        if (c.iBasic < 0) {
            EXPECT_EXIT(c.fn(), ::testing::ExitedWithCode(253), "");
            continue;
        }
        EXPECT_EQ(b_Raised(c.fn), c.iBasic);
    }
    // A read cuts a long key to the file's maximum; the refused writes left nothing.
    WriteKey(1, "K0001abc", "z", "eight");
    ReadKey(1, "K0001abc9", "s", &s);
    EXPECT_EQ(s, "eight");
    CDfp n;
    EXPECT_EQ(b_Raised([&] { ReadKey(1, "big", "d", &n); }), 64);
    WriteKey(2, CInt32(0), "s", &(s = "zero"));
    ReadKey(2, CInt32(0), "s", &s);
    EXPECT_EQ(s, "zero") << "record number 0";
    Delete(1, "K0002");
    EXPECT_EQ(b_Raised([&] { ReadKey(1, "K0002", "s", &s); }), 64);
}

TEST_F(FileRecord, PositionalReadsReturnTheKeyFound) {
    for (char const* psz : {"b", "a", "c"}) WriteKey(1, psz, "z", psz);
    for (int n : {70000, 5, 300}) WriteKey(2, CInt32(n), "l", n);
    CBString sKey, s;
    ReadTop(1, &sKey, "s", &s);
    EXPECT_EQ(sKey, "a");
    ReadNext(1, &sKey, "s", &s);
    EXPECT_EQ(sKey, "b");
    EXPECT_EQ(s, "b");
    ReadEnd(1, &sKey, "s", &s);
    EXPECT_EQ(sKey, "c");
    EXPECT_EQ(b_Raised([&] { ReadNext(1, &sKey, "s", &s); }), 65);
    EXPECT_EQ(Eof(1), -1);
    ReadPrev(1, &sKey, "s", &s);
    EXPECT_EQ(sKey, "c") << "PREV after the end is the last record";
    EXPECT_EQ(Eof(1), 0);
    ReadKey(1, "a", "s", &s);
    ReadNext(1, &sKey, "s", &s);
    EXPECT_EQ(sKey, "b") << "NEXT goes on from READ KEY";

    CInt32 l;
    CDfp x;
    CInt16 i;
    CInt32 lValue;
    ReadTop(2, &l, "l", &lValue);
    EXPECT_EQ(int(l), 5);
    ReadNext(2, &x, "l", &lValue);
    EXPECT_TRUE(x == CDfp(300));
    ReadNext(2, &i, "l", &lValue);
    EXPECT_EQ(int(i), -32768) << "70000 narrowed to CInt16";
    EXPECT_EQ(int(lValue), 70000) << "the record was read all the same";
    EXPECT_EQ(b_Raised([&] { ReadNext(1, &l, "l", &lValue); }), 32) << "numeric key variable on a string-keyed file";
}

TEST_F(FileRecord, FieldCountsThroughRecordFields) {
    WriteKey(1, "r", "iiiii", 1, 2, 3, 4, 5);
    CInt16 a, n;
    ReadKey(1, "r", "i", &a);
    EXPECT_EQ(RECORD_FIELDS(GetFile(1), n), 0);
    EXPECT_EQ(int(n), 5);
}

TEST_F(FileRecord, UngetPushesBackOneCharacterPerOperand) {
    b_WriteFile("text.txt", "xyz");
    Open(3, "text.txt", ORG_TEXT, ACC_INPUT, 0);
    CBString sTwo("AB"), sEmpty;
    Unget(3, "ss", &sTwo, &sEmpty);
    Unget(3, "l", 66);
    QXFILE* pFile = GetFile(3);
    EXPECT_EQ(t_Driver(pFile)->GetChar(pFile), 'B');
    EXPECT_EQ(t_Driver(pFile)->GetChar(pFile), 'A') << "only the first byte of \"AB\", nothing for \"\"";
    EXPECT_EQ(t_Driver(pFile)->GetChar(pFile), 'x');

    // The keyboard (keys stacked) takes characters back through the console queue.
    t_StackClear();
    t_StackKeys("k");
    FileMngr.Console.ConClear();
    Unget("z", "Q");
    EXPECT_EQ(FileMngr.Console.ConGet(), 'Q');
    EXPECT_EQ(FileMngr.Console.ConGet(), -1);
    t_StackClear();
}
