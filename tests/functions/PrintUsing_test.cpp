// PRINT USING and PRINT KEY USING as statements: output through the channel's
// PRINT block writer with quote mode off, restarts on new lines, the print
// end, io lists, keys and the errors of the channel.
#include "io/IoFixture.h"
#include "io/MemoryKeyed.h"
#include "FuncTestUtil.h"

using namespace morka;

namespace {

class PrintUsingFile : public CIoTest {};
using PrintKeyUsingRecords = CKeyedTest<CMemoryKeyed>;

}  // namespace

TEST_F(PrintUsingFile, PicturesOnATextFile) {
    CBString sName("abcdef"), sShort("ab");
    CBString sPicture("[#.##]");
    std::string s = Written(OPEN_EOL_LF, [&] {
        PrintUsing(1, "## ", "dddp", X("1"), X("2"), X("3"), 2);
        PrintUsing(1, "'LLLL|\\  \\|'RRR|!", "szssp", &sName, "xyz", &sShort, &sName, 2);
        PrintUsing(1, &sPicture, "ip", 7, 2);
        PrintUsing(1, "Total ###,###.## EUR", "dp", X("-1234.5"), 2);
        PrintUsing(1, "##", "ip", 5, 1);
        PrintUsing(1, "##", "ip", 6, 0);
        PrintUsing(1, "##", "l", 70);
        Print(1, "zp", "|", 2);
    });
    EXPECT_EQ(s, " 1 \n 2 \n 3 \nabcde|xyz |  ab|a\n[7.00]\nTotal  -1,234.50 EUR\n 5" + std::string(19, ' ') + " 670|\n");
}

TEST_F(PrintUsingFile, QuoteModeIsOffForThePiecesOnly) {
    CBString s("a,b");
    std::string sText = Written(OPEN_QUOTE | OPEN_EOL_LF, [&] {
        PrintUsing(1, "'LLL|##.#", "sdp", &s, X("2.5"), 2);
        Print(1, "sp", &s, 2);
    });
    EXPECT_EQ(sText, "a,b | 2.5\n\"a,b\"\n");
}

TEST_F(PrintUsingFile, IoListsAndMismatches) {
    CDfp xMissing(b_RealMax(dfp_t{}));
    CDfp xValue(X("2.25"));
    CBString sWord("w");
    IoList list;
    Iolist(&list, "dds", &xMissing, &xValue, &sWord);
    std::string s = Written(OPEN_EOL_LF, [&] {
        PrintUsing(1, "#.## ", "rp", &list, 2);
        PrintUsing(1, "!|'LL|", "dip", X("-1.5"), 3, 2);
    });
    // The string in a numeric field prints nothing; numbers in string fields
    // print the mismatch marker with PRINT's rendering.
    EXPECT_EQ(s, "0.00 \n2.25 \n \n% -1.5 |%  3 |\n");
}

TEST_F(PrintUsingFile, ChannelErrors) {
    EXPECT_EQ(b_Raised([] { PrintUsing(5, "##", "ip", 1, 2); }), 27) << "channel not open";
    EXPECT_EQ(b_Raised([] { PrintUsing(300, "##", "ip", 1, 2); }), 38) << "no such channel";
    Open(2, "in.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Close(2);
    Open(2, "in.txt", ORG_SEQUENTIAL, ACC_INPUT, 0);
    EXPECT_EQ(b_Raised([] { PrintUsing(2, "##", "ip", 1, 2); }), 28) << "not open for output";
    Close(2);
    Open(2, "@/dev/full", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
    EXPECT_EQ(b_Raised([] { PrintUsing(2, "##", "ip", 1, 2); }), 31) << "no space left";
    EXPECT_EQ(GetFile(2)->iErrno, 28);
}

TEST_F(PrintKeyUsingRecords, RecordsStoredUnderTheirKeys) {
    CBString sKey("k2"), sPicture("<###>");   // "###>" is a field with the > sign
    PrintKeyUsing(1, "k1", "##.## x", "dp", X("3.14159"), 2);
    EXPECT_EQ(m_driver.aRecords["k1"], b_Record(" 3.14 x\r"));
    PrintKeyUsing(1, &sKey, &sPicture, "i", 42);
    EXPECT_EQ(m_driver.aRecords["k2"], b_Record("< 42 "));
    PrintKeyUsing(2, CInt32(7), "'RRR", "z", "ab");
    EXPECT_EQ(m_driver.aRecords["#7"], b_Record("  ab"));
    PrintKeyUsing(2, CInt32(8), &sPicture, "ip", -5, 0);
    EXPECT_EQ(m_driver.aRecords["#8"], b_Record("< <5>"));
    PrintKeyUsing(1, "k3", &sPicture, "ip", 1, 0);
    PrintKeyUsing(1, &sKey, "#", "i", 9);
    EXPECT_EQ(m_driver.aRecords["k2"], b_Record("9"));
    EXPECT_EQ(b_Raised([] { PrintKeyUsing(1, "abcdefg", "#", "i", 1); }), 34) << "key too long";
    EXPECT_EQ(b_Raised([] { PrintKeyUsing(2, CInt32(1), "#", "s", nullptr); }), 0) << "a null string prints nothing";
}
