// Index sort: the three index classes over the four key kinds, both bases,
// stability, index and key arrays of different sizes, the 16-bit limit.
#include <velbra.h>
#include <velbra/Matrix.h>

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "../ArrayBaseGuard.h"

using namespace morka;

namespace {

// Fills a one-dimensional key array of n elements (from storage position 0).
template <class TMatrix, class TValue>
void Fill(TMatrix& keys, std::vector<TValue> const& aValues) {
    for (std::size_t i = 0; i < aValues.size(); ++i) keys.pData[i] = aValues[i];
}

int Num(CInt16 v) { return v.iValue; }
int Num(CInt32 v) { return v.iValue; }
int Num(CDfp const& v) { return b_L(v.xValue); }

template <class TIndex>
std::vector<int> Elements(TIndex const& index) {
    std::vector<int> a;
    for (int i = 0; i < index.iDim1 * index.iDim2; ++i) a.push_back(Num(index.pData[i]));
    return a;
}

// Sorts by keys with each index class (nIndex upper bound, elements preset
// to 77) and checks the index elements against aExpected.
template <class TKeys>
void ExpectEveryIndexClass(TKeys& keys, int nIndex, std::vector<int> const& aExpected) {
    {
        SCOPED_TRACE("CDfpMatrix index");
        CDfpMatrix index(nIndex, 0);
        for (int i = 0; i < index.iDim1; ++i) index.pData[i] = CDfp(77);
        index.Sort(keys, 0, 0);
        EXPECT_EQ(Elements(index), aExpected);
    }
    {
        SCOPED_TRACE("CInt16Matrix index");
        CInt16Matrix index(nIndex, 0);
        for (int i = 0; i < index.iDim1; ++i) index.pData[i] = CInt16(77);
        index.Sort(keys, 0, 0);
        EXPECT_EQ(Elements(index), aExpected);
    }
    {
        SCOPED_TRACE("CInt32Matrix index");
        CInt32Matrix index(nIndex, 0);
        for (int i = 0; i < index.iDim1; ++i) index.pData[i] = CInt32(77);
        index.Sort(keys, 0, 0);
        EXPECT_EQ(Elements(index), aExpected);
    }
}

}  // namespace

TEST(MatrixSort, EveryKeyKindBaseOne) {
    CArrayBaseGuard base(1);
    {
        SCOPED_TRACE("int16 keys");
        CInt16Matrix keys(4, 0);
        Fill(keys, std::vector<CInt16>{30, 10, 32767, -32768});
        ExpectEveryIndexClass(keys, 4, {4, 2, 1, 3});
    }
    {
        SCOPED_TRACE("int32 keys");
        CInt32Matrix keys(3, 0);
        Fill(keys, std::vector<CInt32>{2147483647, -1, 20});
        ExpectEveryIndexClass(keys, 3, {2, 3, 1});
    }
    {
        SCOPED_TRACE("number keys");
        CDfpMatrix keys(4, 0);
        Fill(keys, std::vector<CDfp>{CDfp(1.7), CDfp(NAN), CDfp(1.2), CDfp(-1e300)});
        ExpectEveryIndexClass(keys, 4, {4, 3, 1, 2});   // NaN last
    }
    {
        SCOPED_TRACE("string keys");
        CBStringMatrix keys(4, 0);
        Fill(keys, std::vector<CBString>{"abc", "a", "B", "ab"});
        ExpectEveryIndexClass(keys, 4, {3, 2, 4, 1});   // byte order: 'B' < 'a'
    }
}

TEST(MatrixSort, BaseZeroLeavesElementZero) {
    CArrayBaseGuard base(0);
    CInt32Matrix keys(3, 0);   // subscripts 0..3
    Fill(keys, std::vector<CInt32>{99, 30, 10, 20});
    ExpectEveryIndexClass(keys, 3, {77, 2, 3, 1});
    CBStringMatrix sKeys(3, 0);
    Fill(sKeys, std::vector<CBString>{"", "z", "x", "y"});
    ExpectEveryIndexClass(sKeys, 3, {77, 2, 3, 1});
}

TEST(MatrixSort, EqualKeysKeepTheirOrder) {
    CArrayBaseGuard base(1);
    CDfpMatrix keys(7, 0);
    Fill(keys, std::vector<CDfp>{5, 1, 5, 1, 5, 0, 1});
    ExpectEveryIndexClass(keys, 7, {6, 2, 4, 7, 1, 3, 5});
    CBStringMatrix sKeys(4, 0);
    // Compared as C texts: "a\0x" equals "a".
    Fill(sKeys, std::vector<CBString>{"b", CBString("a\0x", 3), "a", "a"});
    ExpectEveryIndexClass(sKeys, 4, {2, 3, 4, 1});
}

TEST(MatrixSort, IndexAndKeysOfDifferentSizes) {
    CArrayBaseGuard base(1);
    CInt16Matrix keys(3, 0);
    Fill(keys, std::vector<CInt16>{30, 10, 20});
    ExpectEveryIndexClass(keys, 5, {2, 3, 1, 77, 77});   // extra index elements kept
    CInt16Matrix longKeys(4, 0);
    Fill(longKeys, std::vector<CInt16>{40, 30, 20, 10});
    ExpectEveryIndexClass(longKeys, 2, {2, 1});   // only the first two keys take part
    CInt32Matrix grid(2, 2);   // read as a flat list, row by row
    Fill(grid, std::vector<CInt32>{4, 3, 2, 1});
    ExpectEveryIndexClass(grid, 4, {4, 3, 2, 1});
}

TEST(MatrixSort, SixteenBitIndexStopsAtItsLargestPosition) {
    for (long lBase : {1L, 0L}) {
        SCOPED_TRACE(lBase);
        CArrayBaseGuard base(lBase);
        int const nKeys = 40000;
        CInt32Matrix keys(nKeys, 0);
        for (int i = 0; i < keys.iDim1; ++i) keys.pData[i] = CInt32(nKeys - i);   // descending
        CInt16Matrix index(nKeys, 0);
        for (int i = 0; i < index.iDim1; ++i) index.pData[i] = CInt16(-5);
        index.Sort(keys, 0, 0);
        int z = lBase == 0 ? 1 : 0;
        EXPECT_EQ(index.pData[z].iValue, 32767);
        EXPECT_EQ(index.pData[z + 32766].iValue, 1);
        EXPECT_EQ(index.pData[z + 32767].iValue, -5) << "past the 16-bit positions nothing changes";
        EXPECT_EQ(index.pData[index.iDim1 - 1].iValue, -5);
        CInt32Matrix wide(nKeys, 0);
        wide.Sort(keys, 0, 0);
        EXPECT_EQ(wide.pData[z].iValue, nKeys);
    }
}
