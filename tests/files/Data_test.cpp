// DATA, READ, MAT READ and RESTORE.
#include <velbra.h>

#include <gtest/gtest.h>

using namespace morka;

namespace {

// DATA 10, "abc", 3.5 at line 100; DATA -7, 70000, x at line 200.
Data s_aTable[] = {
    {100, "10"}, {100, "abc"}, {100, "3.5"}, {200, "-7"}, {200, "70000"}, {200, "x"},
};

class DataTest : public ::testing::Test {
protected:
    void SetUp() override { b_InitData(s_aTable, 6); }
};

}  // namespace

TEST_F(DataTest, ItemsConvertToTheTargetKind) {
    CDfp x, y, z;
    CBString s, t;
    CInt16 i;
    CInt32 l;
    ReadData("dsd", &x, &s, &y);
    EXPECT_TRUE(x == CDfp(10));
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(y == CDfp(3.5));
    ReadData("idl", &i, &z, &l);
    EXPECT_EQ(int(i), -7);
    EXPECT_TRUE(z == CDfp(70000));
    EXPECT_EQ(int(l), 0) << "text without a number reads as 0";
    Restore(0);
    ReadData("ss", &s, &t);
    EXPECT_EQ(s, "10");
    Restore(200);
    CInt16 iBig;
    ReadData("ii", &i, &iBig);
    EXPECT_EQ(int(iBig), -32768) << "70000 narrowed to CInt16";
}

TEST_F(DataTest, RestoreFindsTheFirstItemAtOrAfterTheLine) {
    CDfp x;
    Restore(150);
    ReadData("d", &x);
    EXPECT_TRUE(x == CDfp(-7));
    Restore(0);
    ReadData("d", &x);
    EXPECT_TRUE(x == CDfp(10));
    Restore(200);
    ReadData("d", &x);
    EXPECT_TRUE(x == CDfp(-7));
    Restore(200);
    ReadData("d", &x);
    EXPECT_TRUE(x == CDfp(-7)) << "RESTORE to the line read last";
}

// 3036, 3123 and 1030 have no trap: they end the program (the messages are
// checked by the program test data_statements).
TEST_F(DataTest, OutOfDataUnknownLinesAndForeignLettersEndTheProgram) {
    CDfp a, b, x;
    Restore(200);
    ReadData("dd", &a, &b);
    EXPECT_EXIT(ReadData("dd", &a, &b), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(Restore(250), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(ReadData("c", &x), ::testing::ExitedWithCode(253), "");
    EXPECT_EXIT(MatReadData("d", &x, 0, 0), ::testing::ExitedWithCode(253), "");
}

TEST_F(DataTest, StructuresTakeEveryFieldButClassFields) {
    struct {
        CDfp x;
        CBString sPrivate;
        CInt16 iInner;
        CBString sClass;
    } r;
    CTypeMap const aInner[] = {
        {'i', SCOPE_MEMBER_PUBLIC, nullptr, "n", &r.iInner, nullptr, nullptr, nullptr, nullptr, 2},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CTypeMap const aClass[] = {
        {'s', SCOPE_MEMBER_PUBLIC, nullptr, "c", &r.sClass, nullptr, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    CTypeMap const aMap[] = {
        {'d', SCOPE_MEMBER_PUBLIC, nullptr, "x", &r.x, nullptr, nullptr, nullptr, nullptr, 8},
        {'s', SCOPE_MEMBER_LOCAL, nullptr, "p", &r.sPrivate, nullptr, nullptr, nullptr, nullptr, 0},
        {'c', SCOPE_MEMBER_PUBLIC, "K", "k", &r.sClass, aClass, nullptr, nullptr, nullptr, 0},
        {'t', SCOPE_MEMBER_PUBLIC, "I", "in", &r.iInner, aInner, nullptr, nullptr, nullptr, 0},
        {0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    ReadData("t", aMap);
    EXPECT_TRUE(r.x == CDfp(10));
    EXPECT_EQ(r.sPrivate, "abc") << "a private member takes an item too";
    EXPECT_EQ(r.sClass, "") << "CLASS fields are stepped over";
    EXPECT_EQ(int(r.iInner), 3);
}

TEST_F(DataTest, MatReadFillsRowByRowFromElementOne) {
    Data aItems[] = {{10, "1"}, {10, "2"}, {10, "3"}, {10, "4"}, {10, "5"}, {10, "6"}, {10, "x"}};
    b_InitData(aItems, 7);
    for (long lBase : {0L, 1L}) {
        SCOPED_TRACE(lBase);
        b_lArrayBase = lBase;
        Restore(0);
        CInt32Matrix a(2, 3);
        CBStringMatrix s(1, 0);
        MatReadData("LS", &a, 0, 0, &s, 0, 0);
        EXPECT_EQ(int(*a.Cell(1, 1)), 1);
        EXPECT_EQ(int(*a.Cell(1, 3)), 3);
        EXPECT_EQ(int(*a.Cell(2, 1)), 4);
        EXPECT_EQ(int(*a.Cell(2, 3)), 6);
        EXPECT_EQ(*s.Cell(1, 0), "x");
        if (lBase == 0) {
            EXPECT_EQ(int(*a.Cell(0, 0)), 0) << "element 0 is never filled";
        }
    }
    b_lArrayBase = 0;
}
