// INPUT, MAT INPUT, LINPUT and GET on text files: field splitting with both
// separators, numbers cut at the first unusable character, arrays and file
// record ends.
#include "IoFixture.h"

#include <cstring>
#include <fstream>

using namespace morka;

namespace {

class InputTest : public CIoTest {
protected:
    // Writes sText to in.txt and opens it on channel 1 for input.
    void OpenWith(std::string const& sText) {
        std::ofstream("in.txt") << sText;
        Open(1, "in.txt", ORG_TEXT, ACC_INPUT, 0);
    }
};

}  // namespace

TEST_F(InputTest, FieldsAndNumbers) {
    struct Row {
        char const* pszId;
        char cDecimal;
        char const* pszLine;
        char const* pszS;
        double dD;
        int iL;
    };
    Row const aRows[] = {
        {"plain", '.', "ab,2.5,7", "ab", 2.5, 7},
        {"quoted separator kept", '.', "\"x,y\"z,1,2", "x,yz", 1, 2},
        {"blanks kept, junk cut", '.', " a , 3x,12abc", " a ", 3, 12},
        {"fewer fields", '.', "only", "only", 0, 0},
        {"empty first field", '.', ",4,5", "", 4, 5},
        {"unclosed quote runs to the end", '.', "\"ab,1", "ab,1", 0, 0},
        {"text after the closing quote kept", '.', "\"a\"b\",1", "ab\"", 1, 0},
        {"comma decimal, ';' separates", ',', "a,b;2,5;9", "a,b", 2.5, 9},
    };
    for (Row const& r : aRows) {
        SCOPED_TRACE(r.pszId);
        Morka.cDecimal = r.cDecimal;
        OpenWith(std::string(r.pszLine) + "\n");
        CBString s;
        CDfp d;
        CInt32 l;
        Input(1, "sdl", &s, &d, &l);
        EXPECT_EQ(std::string(s.c_str()), r.pszS);
        EXPECT_DOUBLE_EQ(d.ToDouble(), r.dD);
        EXPECT_EQ(static_cast<int>(l), r.iL);
        Close(1);
    }
}

TEST_F(InputTest, MatInputOneAndTwoDimensions) {
    OpenWith("1,2,3,4,5,6\nx,y\n");
    CInt32Matrix m(2, 3);
    MatInput(1, "L", &m, 0, 0);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(static_cast<int>(*m.Cell(i, j)), (i - 1) * 3 + j);
    CBStringMatrix v(3, 0);
    MatInput(1, "S", &v, 0, 0);
    EXPECT_STREQ(v.Cell(1, 0)->c_str(), "x");
    EXPECT_STREQ(v.Cell(2, 0)->c_str(), "y");
    EXPECT_STREQ(v.Cell(3, 0)->c_str(), "");
}

TEST_F(InputTest, GetAndEndOfFile) {
    OpenWith("A");
    CInt32 c1, c2;
    Get(1, "ll", &c1, &c2);
    EXPECT_EQ(static_cast<int>(c1), 'A');
    EXPECT_EQ(static_cast<int>(c2), 0);
    EXPECT_EQ(Eof(1), -1);
    CBString line;
    Linput(1, &line);
    EXPECT_STREQ(line.c_str(), "");
}

namespace {

// Serves fixed records by key; the record buffer holds the text and zeros.
class CFixedKeyed : public CDriver {
public:
    bool Open(QXFILE* pFile) override {
        t_SetRecordSize(pFile, 32);
        t_SetKeyLen(pFile, 6);
        return true;
    }
    void Close(QXFILE*) override {}
    bool ReadKey(QXFILE* pFile) override {
        std::string sKey = (pFile->eOrg & MASK_NUMBER_KEY) ? "#" + std::to_string(pFile->iRecord)
                                                           : std::string(pFile->pKey);
        std::string sText = sKey == "abc" ? "\"q,r\",7" : sKey == "#3" ? "1,2,3,4" : "";
        std::memset(pFile->pRecord, 0, static_cast<std::size_t>(pFile->nBufferSize));
        std::memcpy(pFile->pRecord, sText.data(), sText.size());
        pFile->nRecordLen = pFile->nBufferSize;  // the zeros after the text are not fields
        return true;
    }
};

using InputKeyed = CKeyedTest<CFixedKeyed>;

}  // namespace

TEST_F(InputKeyed, RecordsByKeyIntoFieldsLinesAndArrays) {
    CBString s;
    CInt32 n, extra;
    InputKey(1, "abc", "sll", &s, &n, &extra);
    EXPECT_STREQ(s.c_str(), "q,r");
    EXPECT_EQ(static_cast<int>(n), 7);
    EXPECT_EQ(static_cast<int>(extra), 0);
    CBString line;
    CBString key("abc");
    LinputKey(1, &key, &line);
    EXPECT_STREQ(line.c_str(), "\"q,r\",7");
    CInt16Matrix m(2, 2);
    MatInputKey(2, CInt32(3), "I", &m, 0, 0);
    EXPECT_EQ(static_cast<int>(*m.Cell(1, 1)), 1);
    EXPECT_EQ(static_cast<int>(*m.Cell(2, 2)), 4);
}
