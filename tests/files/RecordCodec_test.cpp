// The tagged record codec: field bytes, buffer and stream writers, fetches
// with their conversions, record walks, damaged records and the stream reader.
#include <velbra.h>
#include <velbra/Record.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace morka;

namespace {

std::string s_Hex(unsigned char const* p, int n) {
    std::string s;
    char sz[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(sz, sizeof sz, i ? " %02X" : "%02X", p[i]);
        s += sz;
    }
    return s;
}

std::string s_Bytes(std::string const& sHex) {
    std::string s;
    for (std::size_t i = 0; i + 1 < sHex.size() + 1; i += 3) s += static_cast<char>(std::stoul(sHex.substr(i, 2), nullptr, 16));
    return s;
}

void s_Free(QXFILE& t) {
    std::free(t.pRecord);
    std::free(t.pKey);
}

// A keyed channel with a record buffer of the given size.
class CBufferChannel {
public:
    QXFILE t;
    explicit CBufferChannel(int nSize) { t_SetRecordSize(&t, nSize); }
    ~CBufferChannel() { s_Free(t); }
    std::string Hex() const { return s_Hex(t.pRecord, t.nBufferSize); }
    // Loads bytes as a record just read.
    void Load(std::string const& s) {
        t_SetRecordSize(&t, std::max<int>(static_cast<int>(s.size()), 1));
        std::memcpy(t.pRecord, s.data(), s.size());
        t.nRecordLen = static_cast<int>(s.size());
        t.iReadPos = 0;
        t.bEndOfRecord = 0;
        t.nFields = 0;
    }
    void Write(char const* pszTypes, ...) {
        va_list ap;
        va_start(ap, pszTypes);
        try {
            // MAT forms are named by upper-case letters.
            if (std::isupper(static_cast<unsigned char>(pszTypes[0]))) _Arrays2Buffer(&t, pszTypes, &ap);
            else _Vars2Buffer(&t, pszTypes, &ap);
        } catch (...) {
            va_end(ap);
            throw;
        }
        va_end(ap);
    }
    void Read(char const* pszTypes, ...) {
        va_list ap;
        va_start(ap, pszTypes);
        try {
            _Buffer2Vars(&t, pszTypes, &ap);
        } catch (...) {
            va_end(ap);
            throw;
        }
        va_end(ap);
    }
};

// A sequential channel writing into memory.
class CStreamOut {
public:
    QXFILE t;
    char* pData = nullptr;
    std::size_t nSize = 0;
    CStreamOut() {
        t.iDriver = DRV_SEQUENTIAL;
        t.eOrg = ORG_SEQUENTIAL;
        t.pStream = open_memstream(&pData, &nSize);
    }
    ~CStreamOut() {
        std::fclose(t.pStream);
        std::free(pData);
    }
    void Write(char const* pszTypes, ...) {
        va_list ap;
        va_start(ap, pszTypes);
        _Vars2Stream(&t, pszTypes, &ap);
        va_end(ap);
        _FWriteEor(&t);
    }
    std::string Bytes() {
        std::fflush(t.pStream);
        return std::string(pData, nSize);
    }
};

// A sequential channel reading the given bytes.
class CStreamIn {
public:
    QXFILE t;
    std::string sData;
    explicit CStreamIn(std::string s) : sData(std::move(s)) {
        t.iDriver = DRV_SEQUENTIAL;
        t.eOrg = ORG_SEQUENTIAL;
        t.pStream = sData.empty() ? std::fopen("/dev/null", "r") : fmemopen(sData.data(), sData.size(), "r");
    }
    ~CStreamIn() {
        std::fclose(t.pStream);
        s_Free(t);
    }
    std::string Record() { return std::string(reinterpret_cast<char*>(t.pRecord), static_cast<std::size_t>(t.nRecordLen)); }
};

int s_Raised(std::function<void()> const& f) {
    try {
        f();
    } catch (int n) {
        return n;
    }
    return 0;
}

}  // namespace

TEST(RecordWrite, StreamAndBufferHoldTheSameFields) {
    CStreamOut out;
    CBString sAB("AB");
    out.Write("isl", 5, &sAB, 70000);
    EXPECT_EQ(s_Hex(reinterpret_cast<unsigned char const*>(out.Bytes().data()), 13), "01 05 00 04 02 41 42 09 70 11 01 00 00");
    EXPECT_EQ(out.Bytes().size(), 13u);

    CBufferChannel ch(16);
    CBString s("AB");
    ch.Write("isl", 5, &s, 70000);
    EXPECT_EQ(ch.t.iWritePos, 12);
    EXPECT_EQ(ch.Hex(), "01 05 00 04 02 41 42 09 70 11 01 00 00 00 00 00");
}

TEST(RecordWrite, StringLengthForms) {
    struct {
        char const* pszId;
        int nLen;
        char const* pszHead;
        int nTotal;
    } const aCases[] = {
        {"str-1 empty", 0, "04 00", 2},
        {"str-2 255 bytes", 255, "04 FF", 257},
        {"str-3 256 bytes", 256, "05 00 01 00 00", 261},
        {"str-4 70000 bytes", 70000, "05 70 11 01 00", 70005},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBufferChannel ch(c.nTotal);
        CBString s('x', c.nLen);
        ch.Write("s", &s);
        EXPECT_EQ(ch.t.iWritePos, c.nTotal);
        std::string sHead = c.pszHead;
        EXPECT_EQ(s_Hex(ch.t.pRecord, static_cast<int>((sHead.size() + 1) / 3)), sHead);
    }
}

TEST(RecordWrite, FieldThatDoesNotFitRaises1028AndWritesNothing) {
    CBufferChannel ch(8);
    CBString s("abcdef");
    ch.Write("i", 7);
    EXPECT_EQ(s_Raised([&] { ch.Write("s", &s); }), 1028);
    EXPECT_EQ(ch.t.iErrno, 1028);
    EXPECT_EQ(ch.t.iWritePos, 3);
    EXPECT_EQ(ch.Hex(), "01 07 00 00 00 00 00 00");
    EXPECT_EQ(s_Raised([&] { ch.Write("e", 1); }), 1030);
}

TEST(RecordWrite, NumbersKeepTheirValue) {
    CBufferChannel ch(64);
    ch.Write("ddd", static_cast<dfp_t>(1.5), static_cast<dfp_t>(1e100), static_cast<dfp_t>(-0.000123));
    EXPECT_EQ(s_Hex(ch.t.pRecord, 9), "02 41 15 00 00 00 00 00 00");
    // Beyond the BCD range: the IEEE flavour stores the double, the decimal flavour its decimal64.
    EXPECT_EQ(ch.t.pRecord[9], b_bDecimalFlavour ? TAG_DECIMAL : TAG_DOUBLE);
    EXPECT_EQ(s_Hex(ch.t.pRecord + 18, 9), "02 BD 12 30 00 00 00 00 00");
    ch.t.nRecordLen = ch.t.iWritePos;
    CDfp a, b, c;
    ch.Read("ddd", &a, &b, &c);
    EXPECT_TRUE(a == CDfp(1.5));
    EXPECT_TRUE(b == CDfp(static_cast<dfp_t>(1e100)));
    EXPECT_TRUE(c == CDfp(static_cast<dfp_t>(-0.000123)));
    if constexpr (b_bDecimalFlavour) {
        CBufferChannel d(16);
        dfp_t x = strtod64("1.234567890123456", nullptr);  // 16 digits: decimal64 kept whole
        d.Write("d", x);
        EXPECT_EQ(d.t.pRecord[0], TAG_DECIMAL);
        d.t.nRecordLen = d.t.iWritePos;
        CDfp y;
        d.Read("d", &y);
        EXPECT_TRUE(y.xValue == x);
    }
}

TEST(RecordFetch, ConversionsBetweenKinds) {
    unsigned char abBcd[8];
    double x = 1234.5;
    std::memcpy(abBcd, &x, 8);
    ieee2bcd(abBcd);
    double dSix = 2.25;
    decimal64 dThree = strtod64("-7.5", nullptr);
    auto sField = [](unsigned char cTag, void const* p, int n) { return std::string(1, static_cast<char>(cTag)) + std::string(static_cast<char const*>(p), static_cast<std::size_t>(n)); };
    struct {
        char const* pszId;
        std::string sRecord;
        double dNumber;
        int iInteger;
        char const* pszString;
    } const aCases[] = {
        {"conv-1 int16", s_Bytes("01 FE FF"), -2, -2, "-2"},
        {"conv-2 int32", s_Bytes("09 70 11 01 00"), 70000, 70000, "70000"},
        {"conv-3 bcd", sField(TAG_BCD, abBcd, 8), 1234.5, 1234, "1234.5"},
        {"conv-4 decimal", sField(TAG_DECIMAL, &dThree, 8), -7.5, -7, "-7.5"},
        {"conv-5 double", sField(TAG_DOUBLE, &dSix, 8), 2.25, 2, "2.25"},
        {"conv-6 short string", s_Bytes("04 04 31 32 2E 35"), 12.5, 12, "12.5"},
        {"conv-7 medium string", s_Bytes("0C 03 00 2D 34 78"), -4, -4, "-4x"},
        {"conv-8 long string", s_Bytes("05 02 00 00 00 61 62"), 0, 0, "ab"},
        {"conv-9 bcd beyond int32", s_Bytes("02 4B 10 00 00 00 00 00 00"), 1e10, -2147483647 - 1, "10000000000"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBufferChannel ch(1);
        ch.Load(c.sRecord);
        EXPECT_EQ(static_cast<double>(_BFetchDfp(&ch.t)), c.dNumber);
        ch.Load(c.sRecord);
        EXPECT_EQ(_BFetchInteger(&ch.t), c.iInteger);
        ch.Load(c.sRecord);
        EXPECT_EQ(_BFetchString(&ch.t), c.pszString);
        EXPECT_EQ(ch.t.nFields, 1);
    }
}

TEST(RecordFetch, WrittenAsOneKindReadAsAnother) {
    CBufferChannel ch(64);
    CBString s("abc");
    ch.Write("dsi", static_cast<dfp_t>(2.5), &s, -3);
    ch.t.nRecordLen = ch.t.iWritePos;
    CBString sNum;
    CDfp xStr;
    CInt32 lInt;
    ch.Read("sdl", &sNum, &xStr, &lInt);
    EXPECT_EQ(sNum, "2.5");
    EXPECT_TRUE(xStr == CDfp(0));
    EXPECT_EQ(int(lInt), -3);
}

TEST(RecordFetch, FieldCountAndEndOfRecord) {
    CBufferChannel ch(64);
    ch.Write("il", 1, 2);
    ch.t.nRecordLen = 64;  // a keyed record: the zero fill ends it
    CInt16 a, b;
    CBString c("old");
    ch.Read("iis", &a, &b, &c);
    EXPECT_EQ(int(a), 1);
    EXPECT_EQ(int(b), 2);
    EXPECT_EQ(c, "");
    EXPECT_TRUE(ch.t.bEndOfRecord);
    EXPECT_EQ(ch.t.nFields, 2);

    CBufferChannel five(64);
    five.Write("iiiii", 1, 2, 3, 4, 5);
    five.t.nRecordLen = five.t.iWritePos;
    CInt16 one;
    five.Read("i", &one);
    EXPECT_EQ(five.t.nFields, 5);

    // An io list starts the count again.
    five.t.iReadPos = 0;
    five.t.bEndOfRecord = 0;
    IoList list;
    CInt16 x, y;
    Iolist(&list, "i", &x);
    five.Read("ir", &y, &list);
    EXPECT_EQ(int(x), 2);
    EXPECT_EQ(five.t.nFields, 4);

    // An out-of-range integer narrows to the 16-bit sentinel.
    CBufferChannel big(8);
    big.Write("l", 70000);
    big.t.nRecordLen = big.t.iWritePos;
    CInt16 n;
    big.Read("i", &n);
    EXPECT_EQ(int(n), -32768);
}

TEST(RecordFetch, DamagedFieldsRaiseWithoutReadingPastTheRecord) {
    struct {
        char const* pszId;
        char const* pszHex;
        int nError;
        int nFields;
        bool bEnd;
    } const aCases[] = {
        {"bad-1 invalid tag", "01 01 00 07 00", 1088, 1, true},
        {"bad-2 tag above 12", "0D", 1088, 0, true},
        {"bad-3 string past the record", "01 01 00 04 05 41 42", 1087, 2, false},
        {"bad-4 negative long string", "05 FF FF FF FF 41", 1087, 1, false},
        {"bad-5 long string length cut", "05 01 00", 1087, 1, false},
        {"bad-6 fixed field cut", "01 01 00 02 41 10", 1088, 1, true},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBufferChannel ch(1);
        ch.Load(s_Bytes(c.pszHex));
        CDfp a, b;
        EXPECT_EQ(s_Raised([&] { ch.Read("dd", &a, &b); }), c.nError);
        EXPECT_EQ(ch.t.iErrno, c.nError);
        EXPECT_EQ(ch.t.nFields, c.nFields);
        EXPECT_EQ(static_cast<bool>(ch.t.bEndOfRecord), c.bEnd);
    }
}

namespace {

// CLASS Point { PUBLIC X AS INTEGER, PRIVATE secret$, PUBLIC Name$ } inside a
// STRUCTURE Line { p AS Point, n AS LONG }.
struct CPoint {
    CInt16 x;
    CBString sSecret;
    CBString sName;
};

}  // namespace

TEST(RecordWalk, PublicMembersOnlyNestedInPlace) {
    CPoint pt{CInt16(3), CBString("hidden"), CBString("P")};
    CInt32 n(9);
    CTypeMap const aPoint[] = {
        {'i', SCOPE_MEMBER_PUBLIC, nullptr, "X", &pt.x, nullptr, nullptr, nullptr, nullptr, 2},
        {'s', SCOPE_MEMBER_LOCAL, nullptr, "secret$", &pt.sSecret, nullptr, nullptr, nullptr, nullptr, 0},
        {'s', SCOPE_MEMBER_PUBLIC, nullptr, "Name$", &pt.sName, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CTypeMap const aLine[] = {
        {'c', SCOPE_MEMBER_PUBLIC, "Point", "p", &pt, aPoint, nullptr, nullptr, nullptr, 0},
        {'l', SCOPE_MEMBER_PUBLIC, nullptr, "n", &n, nullptr, nullptr, nullptr, nullptr, 4},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CBufferChannel ch(32);
    ch.Write("t", aLine);
    EXPECT_EQ(s_Hex(ch.t.pRecord, ch.t.iWritePos), "01 03 00 04 01 50 09 09 00 00 00");

    pt = CPoint{CInt16(0), CBString("kept"), CBString()};
    n = 0;
    ch.t.nRecordLen = ch.t.iWritePos;
    _BufferToType(&ch.t, aLine);
    EXPECT_EQ(int(pt.x), 3);
    EXPECT_EQ(pt.sName, "P");
    EXPECT_EQ(pt.sSecret, "kept");
    EXPECT_EQ(int(n), 9);
}

TEST(RecordWalk, ArraysOfRecordsFollowTheExtents) {
    // Elements hold one CInt16 each; their maps lie at a stride of one entry pair.
    struct CElem {
        CInt16 v;
        CTypeMap aMap[2];
    };
    CElem aElems[12];
    for (int k = 0; k < 12; ++k) {
        aElems[k].v = CInt16(k);
        aElems[k].aMap[0] = {'i', SCOPE_MEMBER_PUBLIC, nullptr, "v", &aElems[k].v, nullptr, nullptr, nullptr, nullptr, 2};
        aElems[k].aMap[1] = {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0};
    }
    int nDims = 2, iDim1 = 3, iDim2 = 4;
    CTypeMap tDesc = {'T', SCOPE_MEMBER_PUBLIC, "E", "a", aElems, aElems[0].aMap, &nDims, &iDim1, &iDim2,
                      static_cast<int64_t>(sizeof(CElem))};
    struct {
        char const* pszId;
        long lBase;
        int nDims, rows, cols;
        char const* pszValues;
    } const aCases[] = {
        {"rec-1 two dims base 0", 0, 2, 0, 0, "5 6 7 9 10 11"},
        {"rec-2 two dims base 1 (last row and column left out)", 1, 2, 0, 0, "0 1 2 4 5 6"},
        {"rec-3 limited to rows x cols", 0, 2, 2, 2, "5 6 7 9"},
        {"rec-4 one dim base 0", 0, 1, 0, 0, "1 2"},
        {"rec-5 one dim base 1", 1, 1, 0, 0, "0 1"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        b_lArrayBase = c.lBase;
        nDims = c.nDims;
        CBufferChannel ch(64);
        ch.Write("T", &tDesc, c.rows, c.cols);
        std::string sGot;
        for (int i = 0; i < ch.t.iWritePos; i += 3) sGot += (sGot.empty() ? "" : " ") + std::to_string(ch.t.pRecord[i + 1]);
        EXPECT_EQ(sGot, c.pszValues);
    }
    b_lArrayBase = 0;
    nDims = 2;
    iDim1 = 1;
    CBufferChannel ch(8);
    ch.Write("T", &tDesc, 0, 0);
    EXPECT_EQ(ch.t.iWritePos, 0) << "an extent of 1 holds no element";
}

TEST(RecordStreamRead, RecordsOneAfterAnother) {
    CStreamOut out;
    CBString s("hello");
    out.Write("ls", 42, &s);
    out.Write("d", static_cast<dfp_t>(3.5));
    CStreamIn in(out.Bytes());
    _Read(&in.t);
    EXPECT_FALSE(in.t.bEndOfFile);
    EXPECT_EQ(_BFetchInteger(&in.t), 42);
    EXPECT_EQ(_BFetchString(&in.t), "hello");
    _Read(&in.t);
    EXPECT_EQ(static_cast<double>(_BFetchDfp(&in.t)), 3.5);
    EXPECT_FALSE(in.t.bEndOfFile);
    _Read(&in.t);
    EXPECT_TRUE(in.t.bEndOfFile);
    EXPECT_EQ(in.t.nRecordLen, 0);
}

TEST(RecordStreamRead, DamagedStreams) {
    struct {
        char const* pszId;
        char const* pszHex;
        char const* pszRecord;  // bytes of the first record
        bool bEof;
        char const* pszNext;    // bytes of the second record ("-" none read)
    } const aCases[] = {
        {"seq-1 cut inside a string", "01 05 00 04 05 41 42", "01 05 00 04 05 41 42", true, "-"},
        {"seq-2 cut inside a fixed field", "01 05 00 09 70", "01 05 00 09 70", true, "-"},
        {"seq-3 invalid byte resynchronises", "01 05 00 07 08 FF 04 01 41 00", "01 05 00", false, "04 01 41"},
        {"seq-4 invalid byte then end byte", "01 05 00 07 08 00 01 06 00 00", "01 05 00", false, "01 06 00"},
        {"seq-5 invalid byte to the end", "0B 0B", "", true, "-"},
        {"seq-6 huge string length in a short file", "05 FF FF FF 7F 41 42", "05 FF FF FF 7F 41 42", true, "-"},
        {"seq-7 negative string length", "05 FF FF FF FF 01 02 00 00", "05 FF FF FF FF", false, "01 02 00"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CStreamIn in(s_Bytes(c.pszHex));
        _Read(&in.t);
        std::string sRecord = in.Record();
        EXPECT_EQ(s_Hex(reinterpret_cast<unsigned char const*>(sRecord.data()), static_cast<int>(sRecord.size())), c.pszRecord);
        EXPECT_EQ(static_cast<bool>(in.t.bEndOfFile), c.bEof);
        if (std::string(c.pszNext) != "-") {
            _Read(&in.t);
            std::string sNext = in.Record();
            EXPECT_EQ(s_Hex(reinterpret_cast<unsigned char const*>(sNext.data()), static_cast<int>(sNext.size())), c.pszNext);
        }
    }
    // The fields before a cut are readable; the cut field raises.
    CStreamIn in(s_Bytes("01 05 00 04 05 41 42"));
    _Read(&in.t);
    EXPECT_EQ(_BFetchInteger(&in.t), 5);
    EXPECT_EQ(s_Raised([&] { _BFetchString(&in.t); }), 1087);
}

TEST(RecordWalk, ArraysFromElementOneWithinTheirBounds) {
    for (long lBase : {0L, 1L}) {
        SCOPED_TRACE(lBase);
        b_lArrayBase = lBase;
        CInt16Matrix a(3, 4);
        for (int i = 0; i <= 3; ++i)
            for (int j = 0; j <= 4; ++j)
                if (CInt16* p = a.Cell(i, j)) *p = CInt16(i * 10 + j);
        CBufferChannel ch(64);
        ch.Write("I", &a, 2, 0);
        std::string sGot;
        for (int k = 0; k < ch.t.iWritePos; k += 3) sGot += (sGot.empty() ? "" : " ") + std::to_string(ch.t.pRecord[k + 1]);
        EXPECT_EQ(sGot, "11 12 13 14 21 22 23 24") << "rows 2 of 3, all columns, never index 0";

        CBStringMatrix s(3, 0);
        *s.Cell(1, 0) = "a";
        *s.Cell(2, 0) = "bb";
        *s.Cell(3, 0) = "c";
        CDfpMatrix d(2, 0);
        *d.Cell(1, 0) = CDfp(1.5);
        *d.Cell(2, 0) = CDfp(-2);
        CBufferChannel two(64);
        two.Write("SDD", &s, 0, 0, &d, 0, 0, &d, -1, 0);
        EXPECT_EQ(two.t.iWritePos, 3 + 4 + 3 + 9 + 9) << "whole string array, the numbers, nothing for rows -1";
        two.t.nRecordLen = two.t.iWritePos;
        CBStringMatrix s2(3, 0);
        CDfpMatrix d2(2, 0);
        CInt32Matrix l2(5, 0);
        two.t.iReadPos = 0;
        auto fetch = [&](char const* pszTypes, ...) {
            va_list ap;
            va_start(ap, pszTypes);
            _Buffer2Arrays(&two.t, pszTypes, &ap);
            va_end(ap);
        };
        fetch("SDL", &s2, 0, 0, &d2, 0, 0, &l2, 0, 0);
        EXPECT_EQ(*s2.Cell(2, 0), "bb");
        EXPECT_TRUE(*d2.Cell(2, 0) == CDfp(-2));
        EXPECT_EQ(int(*l2.Cell(1, 0)), 0) << "past the record's end";
        EXPECT_TRUE(two.t.bEndOfRecord);
    }
    b_lArrayBase = 0;
}
