// PRINT and PUT to text files: numbers, zones, TAB, quote mode, carriage
// control, line-end styles, io lists and records.
#include "io/IoFixture.h"

using namespace morka;

namespace {

class PrintFile : public CIoTest {};

dfp_t D(double x) { return static_cast<dfp_t>(x); }

}  // namespace

TEST_F(PrintFile, NumbersAsPrintRendersThem) {
    struct {
        char const* pszId;
        char cType;
        double x;
        bool bQuote;
        char cDecimal;
        char const* pszText;
    } const aCases[] = {
        {"int-pos", 'i', 5, false, '.', " 5 "},      {"int-neg", 'i', -5, false, '.', "-5 "},
        {"int-quote", 'i', 5, true, '.', "5"},       {"int-quote-neg", 'i', -5, true, '.', "-5"},
        {"long", 'l', 70000, false, '.', " 70000 "}, {"tenth", 'd', 0.1, false, '.', " 0.1 "},
        {"big", 'd', 1e20, false, '.', " 1E+20 "},   {"comma", 'd', 2.5, false, ',', " 2,5 "},
        {"neg-zero", 'd', -0.0, false, '.', " 0 "},  {"quote-real", 'd', 0.25, true, '.', "0.25"},
        {"small", 'd', 0.00001234, false, '.', " 1.234E-05 "},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        Morka.cDecimal = c.cDecimal;
        std::string s = Written(c.bQuote ? unsigned(OPEN_QUOTE) : 0u, [&] {
            if (c.cType == 'd')
                Print(1, "d", D(c.x));
            else
                Print(1, c.cType == 'i' ? "i" : "l", static_cast<int>(c.x));
        });
        EXPECT_EQ(s, c.pszText);
    }
    Morka.cDecimal = '.';
    // 13 significant digits for a non-negative number, 14 for a negative one.
    std::string s = Written(OPEN_EOL_LF, [] {
        Print(1, "dp", static_cast<dfp_t>(2) / static_cast<dfp_t>(3), 2);
        Print(1, "dp", static_cast<dfp_t>(-2) / static_cast<dfp_t>(3), 2);
    });
    EXPECT_EQ(s, " 0.6666666666667 \n-0.66666666666667 \n");
}

TEST_F(PrintFile, ZonesTabAndColumn) {
    CBString sLong(std::string(25, 'x'));
    std::string s = Written(OPEN_EOL_LF, [&] {
        Print(1, "ipip", 1, 1, 2, 2);
        Print(1, "spip", &sLong, 1, 3, 2);
        Print(1, "z\tz\tzp", "12345678", 5, "a", 12, "b", 2);
        Print(1, "zp", "ab", 0);
        EXPECT_EQ(Pos(1), 2);
        Print(1, "");
        EXPECT_EQ(Pos(1), 2) << "an empty PRINT changes nothing";
    });
    EXPECT_EQ(s, " 1 " + std::string(18, ' ') + " 2 \n" + sLong.str() + std::string(17, ' ') + " 3 \n" +
                     "12345678a   b\nab");
}

TEST_F(PrintFile, LineEndStyles) {
    struct {
        char const* pszId;
        unsigned uFlags;
        char const* pszOpennl;
        char const* pszText;
    } const aCases[] = {
        {"lf", OPEN_EOL_LF, nullptr, "a\nb\nc"},         {"cr", OPEN_EOL_CR, nullptr, "a\rb\rc"},
        {"crlf", OPEN_EOL_CRLF, nullptr, "a\r\nb\r\nc"}, {"none", OPEN_EOL_NONE, nullptr, "ab\nc"},
        {"default", 0, nullptr, "a\rb\rc"},              {"default-opennl", 0, "1", "a\nb\nc"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        if (c.pszOpennl) setenv("b_opennl", c.pszOpennl, 1);
        std::string s = Written(c.uFlags, [] {
            Print(1, "zp", "a", 2);
            EXPECT_EQ(Pos(1), 0);
            Print(1, "z", "b\rc");  // a CR in the text ends the line in the channel's style
        });
        unsetenv("b_opennl");
        EXPECT_EQ(s, c.pszText);
    }
}

TEST_F(PrintFile, QuoteModeQuotesWhatWouldNotReadBack) {
    struct {
        char const* pszId;
        char const* pszIn;
        char const* pszOut;
    } const aCases[] = {
        {"q-sep", "a,b", "\"a,b\""},  {"q-plain", "ab", "ab"},        {"q-two-blanks", "a  b", "\"a  b\""},
        {"q-one-blank", "a b", "a b"}, {"q-lead", " a", "\" a\""},     {"q-trail", "a ", "\"a \""},
        {"q-quote", "say \"hi\"", "\"say \"\"hi\"\"\""},             {"q-blank", " ", "\" \""},
        {"q-comma", ",", "\",\""},    {"q-dq", "\"", "\"\"\"\""},     {"q-empty", "", ""},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(Written(OPEN_QUOTE, [&] { Print(1, "z", c.pszIn); }), c.pszOut);
    }
    EXPECT_EQ(Written(OPEN_QUOTE | OPEN_EOL_LF, [] { Print(1, "zpzpip", "ab", 1, "c d", 1, -3, 2); }), "ab,c d,-3\n");
    Morka.cDecimal = ',';
    EXPECT_EQ(Written(OPEN_QUOTE | OPEN_EOL_LF, [] { Print(1, "dpdp", D(2.5), 1, D(1.5), 2); }), "2,5;1,5\n");
    b_bConformToDoc = false;
    EXPECT_EQ(Written(OPEN_QUOTE | OPEN_EOL_LF, [] { Print(1, "dpdp", D(2.5), 1, D(1.5), 2); }),
              "\"2,5\",\"1,5\"\n");
}

TEST_F(PrintFile, CarriageControlReadsTheFirstCharacterOfEachLine) {
    std::string s = Written(OPEN_CC | OPEN_EOL_LF, [] {
        Print(1, "zp", " first", 2);  // the file's first line starts without an empty line
        Print(1, "zp", "1second", 2);
        Print(1, "zp", "0third", 2);
        Print(1, "p", 2);  // an empty PRINT writes its line end at once
        Print(1, "zp", "+over", 2);
        Print(1, "zp", "-fourth", 2);
        Print(1, "zp", " fifth", 0);
        Print(1, "zp", " continued\f", 2);
    });
    EXPECT_EQ(s, "first\n\fsecond\n\nthird\n\x15over\n\n\nfourth\nfifth continued\f\n\n");
}

TEST_F(PrintFile, IoListsAndRecords) {
    CInt16 i(1);
    CInt32 l(2);
    IoList list;
    Iolist(&list, "il", &i, &l);
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { Print(1, "rp", &list, 0); }), " 1  2 ");
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { Print(1, "rpzp", &list, 1, "x", 2); }), " 1  2 " + std::string(15, ' ') + "x\n");
    b_bConformToDoc = false;
    // The end after a list is skipped (its operand still taken) and the line
    // is ended when the statement ends.
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { Print(1, "rp", &list, 0); }), " 1  2 \n");
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { Print(1, "rpzp", &list, 1, "x", 0); }), " 1  2 x\n");
    b_bConformToDoc = true;

    CDfp xAmount(9.5);
    CBString sName("Ann"), sHidden("secret");
    CTypeMap aMap[] = {
        {'s', SCOPE_MEMBER_PUBLIC, nullptr, "name", &sName, nullptr, nullptr, nullptr, nullptr, 0},
        {'s', SCOPE_MEMBER_LOCAL, nullptr, "hidden", &sHidden, nullptr, nullptr, nullptr, nullptr, 0},
        {'d', SCOPE_MEMBER_PUBLIC, nullptr, "amount", &xAmount, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { Print(1, "tp", aMap, 2); }), "Ann 9.5 \n");
}

TEST_F(PrintFile, PutWritesRawCharactersAndKeepsTheColumn) {
    EXPECT_EQ(Written(OPEN_EOL_LF, [] {
                  Print(1, "zp", "ab", 0);
                  Put(1, "dilz", D(65.9), 66, 0x143, "xy");
                  EXPECT_EQ(Pos(1), 2);
              }),
              "abABCxy");
}

TEST_F(PrintFile, ErrorsReachTheProgramAsBasicNumbers) {
    EXPECT_EQ(b_Raised([] { Print(7, "z", "x"); }), 27) << "channel not open";
    EXPECT_EQ(b_Raised([] { Print(300, "z", "x"); }), 38);
    Open(1, "in.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Close(1);
    Open(1, "in.txt", ORG_SEQUENTIAL, ACC_INPUT, 0);
    EXPECT_EQ(b_Raised([] { Print(1, "z", "x"); }), 28) << "input only";
    Close(1);
    Open(1, "@/dev/full", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
    EXPECT_EQ(b_Raised([] { Print(1, "zp", "x", 2); }), 31) << "no space left";
    EXPECT_EQ(GetFile(1)->iErrno, 28);
}

TEST_F(PrintFile, MatPrintOfRecordArrays) {
    long lSavedBase = b_lArrayBase;
    b_lArrayBase = 0;
    CInt32 aValues[4] = {0, 10, 20, 30};
    // One field map per element (index 0 unused under base 0), a map stride apart.
    CTypeMap aMaps[4][2];
    for (int i = 0; i < 4; ++i) {
        aMaps[i][0] = {'l', SCOPE_MEMBER_PUBLIC, nullptr, "v", &aValues[i], nullptr, nullptr, nullptr, nullptr, 0};
        aMaps[i][1] = {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0};
    }
    int nDims = 1, iDim1 = 4, iDim2 = 1;
    CTypeMap entry = {'T', SCOPE_MEMBER_PUBLIC, "R", "a", nullptr, aMaps[0], &nDims, &iDim1, &iDim2,
                      static_cast<int64_t>(sizeof aMaps[0])};
    std::string sZones = " 10 " + std::string(17, ' ') + " 20 " + std::string(17, ' ') + " 30 " +
                         std::string(17, ' ') + "\n";
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "T", &entry, 0, 0, 1); }), sZones);
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "T", &entry, 0, 0, 2); }), " 10 \n 20 \n 30 \n");
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "T", &entry, 2, 0, 0); }), " 10  20 \n");
    b_lArrayBase = lSavedBase;
}

TEST_F(PrintFile, MatPrintOfArrays) {
    long lSavedBase = b_lArrayBase;
    b_lArrayBase = 1;
    CDfpMatrix a(3, 0);
    a(1, 1) = CDfp(1);
    a(2, 1) = CDfp(2.5);
    a(3, 1) = CDfp(-3);
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "D", &a, 0, 0, 1); }),
              " 1 " + std::string(18, ' ') + " 2.5 " + std::string(16, ' ') + "-3 \n");
    CInt32Matrix m(2, 3);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 3; ++j) m(i, j) = CInt32(i * 10 + j);
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "L", &m, 0, 0, 0); }), " 11  12  13  21  22  23 \n");
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "L", &m, 1, 2, 2); }), " 11 \n 12 \n");
    CBStringMatrix s(2, 0);
    s(1, 1) = CBString("a");
    s(2, 1) = CBString("b");
    EXPECT_EQ(Written(OPEN_EOL_LF, [&] { MatPrint(1, "SD", &s, 0, 0, 1, &a, 1, 0, 0); }),
              "a" + std::string(20, ' ') + "b 1 \n");
    b_lArrayBase = lSavedBase;
}
