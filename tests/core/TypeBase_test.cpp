// Type-code walking, record maps, IoList and CTypeBase.
#include <velbra.h>

#include <gtest/gtest.h>
#include <string>

using namespace morka;

namespace {

// Records what the walker hands over, one token per item.
class CRecorder : public CTypeVisitor {
public:
    std::string sLog;
    void Item(CItem const& item) override {
        switch (item.cType) {
        case 'd': sLog += "d" + std::to_string(static_cast<CDfp*>(item.pVar)->ToDouble()).substr(0, 4); break;
        case 'i': sLog += "i" + std::to_string(int(*static_cast<CInt16*>(item.pVar))); break;
        case 'l': sLog += "l" + std::to_string(int(*static_cast<CInt32*>(item.pVar))); break;
        case 's': sLog += "s" + static_cast<CBString*>(item.pVar)->str(); break;
        case 'z': sLog += std::string("z") + static_cast<char const*>(item.pVar); break;
        case 'p': sLog += "p" + std::to_string(item.iEnd); break;
        case '\t': sLog += "T" + std::to_string(item.iEnd); break;
        default: sLog += std::string(1, item.cType) + std::to_string(item.iRows) + "x" + std::to_string(item.iCols) + "/" + std::to_string(item.iEnd);
        }
        sLog += ' ';
    }
    void ListDone() override { sLog += "| "; }
};

void s_Walk(CRecorder& rec, char const* pszTypes, t_Pass ePass, char const* pszAccepted, bool bMatEnd, ...) {
    va_list ap;
    va_start(ap, bMatEnd);
    b_WalkTypes(pszTypes, &ap, ePass, pszAccepted, bMatEnd, rec, nullptr);
    va_end(ap);
}

constexpr char const* PRINT_LETTERS = "cdilprstz\t";

}  // namespace

TEST(TypeWalk, OutputOperandsArriveAsValues) {
    CRecorder rec;
    CBString s("abc");
    s_Walk(rec, "dsp\tizl", t_Pass::Output, PRINT_LETTERS, false, static_cast<dfp_t>(2.5), &s, 1, 9,
           0x12345 /* low 16 bits sign-extended */, "lit", -7);
    EXPECT_EQ(rec.sLog, "d2.50 sabc p1 T9 i9029 zlit l-7 ");
}

TEST(TypeWalk, InputOperandsArriveAsAddresses) {
    CRecorder rec;
    CDfp x(1.25);
    CInt16 i(-3);
    CInt32 l(70000);
    CBString s("q");
    s_Walk(rec, "dils", t_Pass::Input, "cdilrst", false, &x, &i, &l, &s);
    EXPECT_EQ(rec.sLog, "d1.25 i-3 l70000 sq ");
}

TEST(TypeWalk, RejectedLettersRaise1030) {
    for (char const* psz : {"e", "x", "Z", "dq"}) {
        SCOPED_TRACE(psz);
        CRecorder rec;
        try {
            s_Walk(rec, psz, t_Pass::Output, PRINT_LETTERS, false, static_cast<dfp_t>(1));
            FAIL() << "accepted";
        } catch (int n) {
            EXPECT_EQ(n, 1030);
        }
    }
    CRecorder rec;
    s_Walk(rec, "", t_Pass::Output, PRINT_LETTERS, false);
    EXPECT_EQ(rec.sLog, "");
}

TEST(TypeWalk, MatOperandsTakeBoundsAndEnd) {
    CRecorder rec;
    int dummy = 0;
    s_Walk(rec, "DS", t_Pass::Output, "CDILST", true, &dummy, 3, 0, 1, &dummy, 0, 0, 2);
    EXPECT_EQ(rec.sLog, "D3x0/1 S0x0/2 ");
}

TEST(TypeWalk, RecordsWalkOnlyPublicMembersRecursively) {
    CDfp xAmount(9.5);
    CInt32 iQty(4);
    CBString sHidden("secret"), sName("Ann");
    CTypeMap aInner[] = {
        {'s', SCOPE_MEMBER_PUBLIC, nullptr, "name", &sName, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CTypeMap aOuter[] = {
        {'d', SCOPE_MEMBER_PUBLIC, nullptr, "amount", &xAmount, nullptr, nullptr, nullptr, nullptr, 0},
        {'s', SCOPE_MEMBER_LOCAL, nullptr, "hidden", &sHidden, nullptr, nullptr, nullptr, nullptr, 0},
        {'t', SCOPE_MEMBER_PUBLIC, "CUST", "cust", nullptr, aInner, nullptr, nullptr, nullptr, 0},
        {'l', SCOPE_MEMBER_PUBLIC_STATIC, nullptr, "count", &iQty, nullptr, nullptr, nullptr, nullptr, 0},
        {'l', SCOPE_MEMBER_PUBLIC, nullptr, "qty", &iQty, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CRecorder rec;
    s_Walk(rec, "t", t_Pass::Output, PRINT_LETTERS, false, aOuter);
    EXPECT_EQ(rec.sLog, "d9.50 sAnn l4 ");

    CTypeMap aPrivateOnly[] = {
        {'s', SCOPE_MEMBER_LOCAL, nullptr, "hidden", &sHidden, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CRecorder recEmpty;
    s_Walk(recEmpty, "c", t_Pass::Output, PRINT_LETTERS, false, aPrivateOnly);
    EXPECT_EQ(recEmpty.sLog, "");
}

TEST(TypeWalk, IoListSkipsForeignLettersAndReplacesOnReuse) {
    CInt16 i(5);
    CBString s("x");
    CDfp x(0.5);
    IoList list;
    Iolist(&list, "iqs", &i, &x, &s);
    CRecorder rec;
    s_Walk(rec, "r", t_Pass::Input, "cdilrst", false, &list);
    EXPECT_EQ(rec.sLog, "i5 sx | ");

    Iolist(&list, "d", &x);   // the first arrays are released (checked by the sanitizer build)
    CRecorder rec2;
    s_Walk(rec2, "r", t_Pass::Input, "cdilrst", false, &list);
    EXPECT_EQ(rec2.sLog, "d0.50 | ");
}

TEST(TypeBaseHeader, SelfDescribingEntryAndBounds) {
    long lSavedBase = b_lArrayBase;
    CTypeBase a;
    EXPECT_EQ(a.tMap.cType, 0);
    EXPECT_EQ(a.tMap.pAddress, &a);
    EXPECT_EQ(a.tMap.piDim1, &a.iDim1);
    EXPECT_EQ(a.tMap.nSize, 8);
    a.iDim1 = 10;
    a.iDim2 = 1;
    a.nDims = 1;

    b_lArrayBase = 1;
    int rows = 0, cols = 0;
    EXPECT_EQ(a.Normalize(rows, cols), 10);
    rows = 11;
    cols = 0;
    EXPECT_THROW(a.Normalize(rows, cols), int);
    EXPECT_EQ(a.Ubound(1), 10);
    EXPECT_EQ(a.Ubound(2), 0);

    b_lArrayBase = 0;
    a.iDim1 = 4;
    a.iDim2 = 4;
    a.nDims = 2;   // DIM A(3,3) under base 0
    EXPECT_EQ(a.Ubound(2), 3);
    rows = 2;
    cols = 3;
    EXPECT_EQ(a.Normalize(rows, cols), 12);
    rows = 1;
    cols = -1;
    EXPECT_THROW(a.Normalize(rows, cols), int);
    rows = 4;
    cols = 4;
    EXPECT_THROW(a.Normalize(rows, cols), int);
    b_lArrayBase = lSavedBase;
}
