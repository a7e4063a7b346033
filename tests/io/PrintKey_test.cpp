// PRINT KEY and MAT PRINT KEY through the driver interface, with a keyed
// driver of the test's own that keeps the records it is given; and the key
// setting that every keyed statement runs first.
#include "io/IoFixture.h"
#include "io/MemoryKeyed.h"

#include <cstring>

using namespace morka;

namespace {

using PrintKeyed = CKeyedTest<CMemoryKeyed>;

}  // namespace

TEST_F(PrintKeyed, TheRecordIsRenderedIntoTheBufferAndStored) {
    CBString sKey("k1");
    PrintKey(1, &sKey, "ipzp", 5, 1, "x", 2);
    QXFILE* f = GetFile(1);
    // Zone end pads to 21; the CR line end of the default style; one zero byte.
    EXPECT_EQ(m_driver.aRecords["k1"], b_Record(" 5 " + std::string(18, ' ') + "x\r"));
    EXPECT_EQ(f->nRecordLen, 24);
    EXPECT_EQ(std::string(f->pKey, 7), std::string("k1\0\0\0\0\0", 7));

    PrintKey(1, "abcdef", "z", "exact");
    EXPECT_EQ(m_driver.aRecords["abcdef"], b_Record("exact"));
    EXPECT_EQ(f->pKey[6], 0);

    PrintKey(2, CInt32(7), "dp", static_cast<dfp_t>(1.5), 2);
    EXPECT_EQ(m_driver.aRecords["#7"], b_Record(" 1.5 \r"));

    // The buffer is rewritten from the start for the next record.
    PrintKey(2, CInt32(0), "z", "b");
    EXPECT_EQ(m_driver.aRecords["#0"], b_Record("b"));
}

TEST_F(PrintKeyed, KeyErrorsAndAFullBufferStoreNothing) {
    int nBefore = m_driver.nWrites;
    EXPECT_EQ(b_Raised([] { PrintKey(1, "abcdefg", "z", "x"); }), 34);
    EXPECT_EQ(GetFile(1)->iErrno, 1029);
    EXPECT_EQ(b_Raised([] { PrintKey(2, CInt32(-1), "z", "x"); }), 34);
    CBString sLong(std::string(60, 'y'));
    EXPECT_EQ(b_Raised([&] { PrintKey(1, "k", "s", &sLong); }), 47);
    EXPECT_EQ(GetFile(1)->iErrno, 1028);
    EXPECT_EQ(m_driver.nWrites, nBefore);
    EXPECT_EQ(b_Raised([] { PrintKey(1, CInt32(1), "z", "x"); }), 32) << "a string-keyed file takes no record number";
    EXPECT_EQ(b_Raised([] { PrintKey(2, "k", "z", "x"); }), 32);
}

TEST_F(PrintKeyed, AHeldRecordIsWaitedFor) {
    m_driver.nHeld = 1;
    PrintKey(1, "w", "z", "after");
    EXPECT_EQ(m_driver.nWrites, 2);
    EXPECT_EQ(m_driver.aRecords["w"], b_Record("after"));
}

TEST_F(PrintKeyed, StreamRecordBuffersGrow) {
    Open(3, "grow.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    QXFILE* f = GetFile(3);
    int nBefore = f->nBufferSize;
    CPrintOut out(f, true);
    std::string sText(static_cast<std::size_t>(nBefore) + 100, 'g');
    out.Block(sText.data(), static_cast<int>(sText.size()));
    EXPECT_GE(f->nBufferSize, nBefore + 100);
    EXPECT_EQ(f->iWritePos, nBefore + 100);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(f->pRecord), sText.size()), sText);
}

TEST_F(PrintKeyed, SettingKeys) {
    QXFILE* f = GetFile(1);
    struct {
        char const* pszId;
        char const* pszKey;
        bool bStrict;
        int iError;
        char const* pszStored;
    } const aCases[] = {
        {"key-short", "ab", true, 0, "ab"},
        {"key-exact", "abcdef", true, 0, "abcdef"},
        {"key-long-write", "abcdefg", true, 1029, nullptr},
        {"key-long-read", "abcdefg", false, 0, "abcdef"},
        {"key-empty", "", false, 0, ""},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        std::memset(f->pKey, 'z', 7);
        f->iReadPos = f->iWritePos = 9;
        int n = b_Raised([&] { _SetStringKey(f, c.pszKey, c.bStrict); });
        EXPECT_EQ(n, c.iError);
        if (!c.pszStored) continue;
        EXPECT_EQ(std::string(f->pKey, 7), std::string(c.pszStored) + std::string(7 - std::strlen(c.pszStored), '\0'));
        EXPECT_EQ(f->iReadPos, 0);
        EXPECT_EQ(f->iWritePos, 0);
    }
    CBString sWithNul(std::string("ab\0cd", 5));
    _SetStringKey(f, sWithNul.c_str(), true);
    EXPECT_EQ(std::string(f->pKey, 3), std::string("ab\0", 3));
    _SetIntegerKey(f, 0);
    EXPECT_EQ(f->iRecord, 0);
    EXPECT_EQ(b_Raised([&] { _SetIntegerKey(f, -1); }), 1029);
}
