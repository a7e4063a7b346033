// The four array classes: extents under both bases, element addressing, the
// error roads (repeat, abandon, fatal), REDIM, MAT assignment, Copy, Set,
// CON/ZER/IDN, raw images and the string-only operations. The repeat and
// abandon roads go through the handler seam of MatrixOps.h, because
// b_ErrorHandler ends the program for 3029 and 12; the fatal road is checked
// with the real handler in death tests.
#include <velbra/Matrix.h>
#include <velbra/ErrorTrap.h>
#include "runtime/arrays/MatrixOps.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <type_traits>
#include <vector>

using namespace morka;

namespace {

template <class T>
T Make(int n) {
    if constexpr (std::is_same_v<T, CBString>)
        return CBString(std::to_string(n));
    else
        return T(n);
}

double Num(CDfp x) { return x.ToDouble(); }
double Num(CInt16 n) { return n.iValue; }
double Num(CInt32 n) { return n.iValue; }

// The elements in storage order, as doubles or as texts.
template <class M>
std::vector<double> Values(M const& m) {
    std::vector<double> v;
    for (int i = 0; i < m.iDim1 * m.iDim2; ++i) v.push_back(Num(m.pData[i]));
    return v;
}
std::vector<std::string> Values(CBStringMatrix const& m) {
    std::vector<std::string> v;
    for (int i = 0; i < m.iDim1 * m.iDim2; ++i) v.push_back(m.pData[i].str());
    return v;
}

// Storage position p := first + p, for every element.
template <class M>
void Number(M& m, int first) {
    using T = b_MatElem<M>;
    for (int p = 0; p < m.iDim1 * m.iDim2; ++p) m.pData[p] = Make<T>(first + p);
}

// Runs f once for each of the four array classes.
template <class F>
void ForEachKind(F&& f) {
    f(std::type_identity<CDfpMatrix>());
    f(std::type_identity<CInt16Matrix>());
    f(std::type_identity<CInt32Matrix>());
    f(std::type_identity<CBStringMatrix>());
}
template <class F>
void ForEachNumericKind(F&& f) {
    f(std::type_identity<CDfpMatrix>());
    f(std::type_identity<CInt16Matrix>());
    f(std::type_identity<CInt32Matrix>());
}

// Puts a recording handler in place of b_ErrorHandler and restores the array
// base. The handler answers from aAnswers in turn (false once they run out)
// and runs fnOnError first when it is set.
class Matrix : public ::testing::Test {
protected:
    struct CCall {
        int iError;
        int iChannel;
    };
    static inline std::vector<CCall> s_aCalls;
    static inline std::vector<bool> s_aAnswers;
    static inline std::function<void()> s_fnOnError;

    static bool s_Record(int error, int channel) {
        s_aCalls.push_back({error, channel});
        if (s_fnOnError) s_fnOnError();
        std::size_t n = s_aCalls.size() - 1;
        return n < s_aAnswers.size() && s_aAnswers[n];
    }

    void SetUp() override {
        m_lSavedBase = b_lArrayBase;
        m_pfnSaved = b_pfnArrayError;
        b_pfnArrayError = &s_Record;
        s_aCalls.clear();
        s_aAnswers.clear();
        s_fnOnError = nullptr;
    }
    void TearDown() override {
        b_lArrayBase = m_lSavedBase;
        b_pfnArrayError = m_pfnSaved;
        s_fnOnError = nullptr;
    }

    // Errors the handler saw, channel checked to be 0.
    static std::vector<int> Errors() {
        std::vector<int> v;
        for (CCall const& c : s_aCalls) {
            EXPECT_EQ(c.iChannel, 0);
            v.push_back(c.iError);
        }
        return v;
    }

private:
    long m_lSavedBase = 0;
    bool (*m_pfnSaved)(int, int) = nullptr;
};

using Errs = std::vector<int>;

}  // namespace

TEST_F(Matrix, ExtentsAndBoundsUnderBothBases) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;
        int iDim1, iDim2, nDims, iUb1, iUb2;
    } const aCases[] = {
        {"dim-1.1", 0, 10, 0, 11, 1, 1, 10, 0},
        {"dim-1.2", 1, 10, 0, 10, 1, 1, 10, 0},
        {"dim-1.3", 0, 2, 3, 3, 4, 2, 2, 3},
        {"dim-1.4", 1, 2, 3, 2, 3, 2, 2, 3},
        {"dim-1.5", 1, 1, 1, 1, 1, 2, 1, 1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            M a(c.iRows, c.iCols);
            EXPECT_EQ(a.iDim1, c.iDim1);
            EXPECT_EQ(a.iDim2, c.iDim2);
            EXPECT_EQ(a.nDims, c.nDims);
            EXPECT_EQ(a.Ubound(1), c.iUb1);
            EXPECT_EQ(a.Ubound(2), c.iUb2);
            EXPECT_EQ(a.Ubound(3), 0);
            for (int n : {1, 2, 5}) EXPECT_EQ(a.Lbound(n), c.lBase);
            for (int p = 0; p < a.iDim1 * a.iDim2; ++p)
                EXPECT_TRUE(a.pData[p] == b_MatElem<M>()) << "new element " << p << " not cleared";
        });
    }
    EXPECT_TRUE(s_aCalls.empty());
}

TEST_F(Matrix, SubscriptsAddressStorageRowByRow) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols, i, j, iPos;
    } const aCases[] = {
        {"pos-1.1", 1, 2, 3, 1, 1, 0},
        {"pos-1.2", 1, 2, 3, 1, 3, 2},
        {"pos-1.3", 1, 2, 3, 2, 1, 3},
        {"pos-1.4", 1, 2, 3, 2, 3, 5},
        {"pos-1.5", 0, 2, 3, 0, 0, 0},
        {"pos-1.6", 0, 2, 3, 1, 2, 6},
        {"pos-1.7", 0, 2, 3, 2, 3, 11},
        {"pos-1.8", 1, 10, 0, 1, 0, 0},
        {"pos-1.9", 1, 10, 0, 10, 0, 9},
        {"pos-1.10", 0, 10, 0, 0, 0, 0},
        {"pos-1.11", 0, 10, 0, 7, 0, 7},
        {"pos-1.12", 1, 10, 0, 4, 999, 3},   // one dimension: j is not looked at
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            using T = b_MatElem<M>;
            M a(c.iRows, c.iCols);
            a(c.i, c.j) = Make<T>(42);
            EXPECT_TRUE(a.pData[c.iPos] == Make<T>(42));
            EXPECT_EQ(a.Cell(c.i, c.j), a.pData + c.iPos);
            M const& r = a;
            EXPECT_TRUE(r(c.i, c.j) == Make<T>(42));
            EXPECT_EQ(r.Cell(c.i, c.j), a.pData + c.iPos);
        });
    }
    EXPECT_TRUE(s_aCalls.empty());
}

TEST_F(Matrix, OutOfRangeIsNullForCellAndAbandonsToASpare) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols, i, j;
    } const aCases[] = {
        {"sub-1.1", 1, 10, 0, 0, 0},
        {"sub-1.2", 1, 10, 0, 11, 0},
        {"sub-1.3", 0, 10, 0, -1, 0},
        {"sub-1.4", 0, 10, 0, 11, 0},
        {"sub-1.5", 1, 2, 3, 1, 0},
        {"sub-1.6", 1, 2, 3, 1, 4},
        {"sub-1.7", 1, 2, 3, 3, 1},
        {"sub-1.8", 0, 2, 3, 0, -1},
        {"sub-1.9", 0, 2, 3, 2, 4},
        {"sub-1.10", 1, 10, 0, INT_MIN, 0},
        {"sub-1.11", 0, 10, 0, INT_MAX, 0},
        {"sub-1.12", 1, 2, 3, 1, INT_MIN},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            using T = b_MatElem<M>;
            s_aCalls.clear();
            M a(c.iRows, c.iCols);
            Number(a, 1);
            auto const aBefore = Values(a);
            EXPECT_EQ(a.Cell(c.i, c.j), nullptr);
            EXPECT_TRUE(s_aCalls.empty()) << "Cell reports no error";

            T& rSpare = a(c.i, c.j);
            EXPECT_TRUE(rSpare == T()) << "the spare holds 0 or empty";
            rSpare = Make<T>(99);
            EXPECT_EQ(Values(a), aBefore) << "writing the spare touched an element";
            EXPECT_TRUE(a(c.i, c.j) == T()) << "a value written to the spare shows through";
            M const& r = a;
            EXPECT_TRUE(r(c.i, c.j) == T());
            EXPECT_EQ(Errors(), (Errs{3029, 3029, 3029}));
        });
    }
}

TEST_F(Matrix, RepeatedAccessLooksAgain) {
    b_lArrayBase = 1;
    CDfpMatrix a(3, 0);
    // A trap routine that enlarges the array, then asks for the repeat.
    s_aAnswers = {true};
    s_fnOnError = [&] { a.Redim(5, 0); };
    a(5, 0) = CDfp(7);
    EXPECT_EQ(Errors(), (Errs{3029}));
    EXPECT_EQ(Values(a), (std::vector<double>{0, 0, 0, 0, 7}));

    // Repeats that fix nothing run into the error again until abandoned.
    s_aCalls.clear();
    s_fnOnError = nullptr;
    s_aAnswers = {true, true, false};
    CDfpMatrix const& r = a;
    EXPECT_EQ(r(6, 0).ToDouble(), 0.0);
    EXPECT_EQ(Errors(), (Errs{3029, 3029, 3029}));
}

TEST_F(Matrix, DimErrorsLeaveAnEmptyArray) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols, iError;
    } const aCases[] = {
        {"dimerr-1.1", 1, 0, 0, 3029},
        {"dimerr-1.2", 0, -1, 0, 3029},
        {"dimerr-1.3", 1, 5, -1, 3029},
        {"dimerr-1.4", 1, 100000, 100000, 12},     // 10^10 elements
        {"dimerr-1.5", 0, INT_MAX, 0, 12},         // extent INT_MAX + 1
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            s_aCalls.clear();
            s_aAnswers = {true};   // the repeat meets the same error
            M a(c.iRows, c.iCols);
            EXPECT_EQ(Errors(), (Errs{c.iError, c.iError}));
            EXPECT_EQ(a.iDim1, 0);
            EXPECT_EQ(a.pData, nullptr);
            EXPECT_EQ(a.Cell(b_lArrayBase, b_lArrayBase), nullptr);
            // REDIM gives the empty array storage.
            s_aAnswers.clear();
            a.Redim(2, 2);
            EXPECT_EQ(a.Ubound(1), 2);
            EXPECT_NE(a.Cell(2, 2), nullptr);
        });
    }
}

TEST_F(Matrix, RedimKeepsStorageOrder) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;      // DIM
        int iNewRows, iNewCols;
        int iDim1, iDim2, nDims;
        std::vector<double> aExpected;
    } const aCases[] = {
        {"redim-1.1", 1, 3, 0, 5, 0, 5, 1, 1, {1, 2, 3, 0, 0}},
        {"redim-1.2", 1, 5, 0, 2, 0, 2, 1, 1, {1, 2}},
        {"redim-1.3", 0, 3, 0, 4, 0, 5, 1, 1, {1, 2, 3, 4, 0}},
        {"redim-1.4", 1, 3, 0, 4, 7, 4, 1, 1, {1, 2, 3, 0}},   // one dimension ignores cols
        {"redim-1.5", 1, 2, 3, 3, 2, 3, 2, 2, {1, 2, 3, 4, 5, 6}},
        {"redim-1.6", 1, 2, 3, 2, 2, 2, 2, 2, {1, 2, 3, 4}},
        {"redim-1.7", 0, 1, 1, 1, 2, 2, 3, 2, {1, 2, 3, 4, 0, 0}},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachNumericKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            M a(c.iRows, c.iCols);
            Number(a, 1);
            auto* pOld = a.pData;
            bool bSameCount = c.iDim1 * c.iDim2 == a.iDim1 * a.iDim2;
            a.Redim(c.iNewRows, c.iNewCols);
            EXPECT_EQ(a.iDim1, c.iDim1);
            EXPECT_EQ(a.iDim2, c.iDim2);
            EXPECT_EQ(a.nDims, c.nDims);
            EXPECT_EQ(Values(a), c.aExpected);
            if (bSameCount) {
                EXPECT_EQ(a.pData, pOld) << "same count keeps the storage";
            }
        });
    }
    // B(2,3) -> B(3,2) under base 1: B(2,1) now holds the old B(1,3).
    b_lArrayBase = 1;
    CInt32Matrix b(2, 3);
    b(1, 3) = 13;
    b.Redim(3, 2);
    EXPECT_EQ(b(2, 1).iValue, 13);
    // Strings survive the move into new storage.
    CBStringMatrix s(2, 0);
    s(1, 0) = "one";
    s(2, 0) = "two";
    s.Redim(4, 0);
    EXPECT_EQ(Values(s), (std::vector<std::string>{"one", "two", "", ""}));
    s.Redim(1, 0);
    EXPECT_EQ(Values(s), (std::vector<std::string>{"one"}));
    EXPECT_TRUE(s_aCalls.empty());
}

TEST_F(Matrix, RedimErrorsLeaveTheArrayAlone) {
    struct {
        char const* id;
        int iRows, iCols;       // DIM under base 1
        int iNewRows, iNewCols, iError;
    } const aCases[] = {
        {"redimerr-1.1", 3, 0, 0, 0, 3029},
        {"redimerr-1.2", 3, 0, -4, 0, 3029},
        {"redimerr-1.3", 2, 2, 2, 0, 3029},
        {"redimerr-1.4", 2, 2, 0, 2, 3029},
        {"redimerr-1.5", 2, 2, 100000, 100000, 12},
    };
    b_lArrayBase = 1;
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            s_aCalls.clear();
            M a(c.iRows, c.iCols);
            Number(a, 1);
            auto const aBefore = Values(a);
            auto* pOld = a.pData;
            a.Redim(c.iNewRows, c.iNewCols);
            EXPECT_EQ(Errors(), (Errs{c.iError}));
            EXPECT_EQ(a.iDim1, c.iRows);
            EXPECT_EQ(a.pData, pOld);
            EXPECT_EQ(Values(a), aBefore);
        });
    }
}

// a(1) := value in a one-element array of kind S, then assigned (and copied)
// into a one-element array of kind D: both roads must convert alike.
template <class D, class S>
double ConvertOne(b_MatElem<S> value) {
    S src(1, 0);
    src.pData[0] = value;
    D viaAssign(1, 0);
    viaAssign = src;
    D viaCopy(1, 0);
    viaCopy.Copy(src, 0, 0);
    EXPECT_EQ(Num(viaAssign.pData[0]), Num(viaCopy.pData[0]));
    return Num(viaAssign.pData[0]);
}

TEST_F(Matrix, ElementKindsConvertByTheNumericRules) {
    struct {
        char const* id;
        std::function<double()> fnRun;
        double xExpected;
    } const aCases[] = {
        {"conv-1.1", [] { return ConvertOne<CInt16Matrix, CDfpMatrix>(CDfp(40000)); }, -32768},
        {"conv-1.2", [] { return ConvertOne<CInt16Matrix, CDfpMatrix>(CDfp(2.9)); }, 2},
        {"conv-1.3", [] { return ConvertOne<CInt16Matrix, CDfpMatrix>(CDfp(-2.9)); }, -2},
        {"conv-1.4", [] { return ConvertOne<CInt16Matrix, CDfpMatrix>(CDfp(32767)); }, 32767},
        {"conv-1.5", [] { return ConvertOne<CInt16Matrix, CDfpMatrix>(CDfp(-32769)); }, -32768},
        {"conv-1.6", [] { return ConvertOne<CInt16Matrix, CInt32Matrix>(CInt32(100000)); }, -32768},
        {"conv-1.7", [] { return ConvertOne<CInt16Matrix, CInt32Matrix>(CInt32(-300)); }, -300},
        {"conv-1.8", [] { return ConvertOne<CInt32Matrix, CDfpMatrix>(CDfp(3e9)); }, INT_MIN},
        {"conv-1.9", [] { return ConvertOne<CInt32Matrix, CDfpMatrix>(CDfp(-2.9)); }, -2},
        {"conv-1.10", [] { return ConvertOne<CInt32Matrix, CInt16Matrix>(CInt16(-5)); }, -5},
        {"conv-1.11", [] { return ConvertOne<CDfpMatrix, CInt32Matrix>(CInt32(100000)); }, 100000},
        {"conv-1.12", [] { return ConvertOne<CDfpMatrix, CInt16Matrix>(CInt16(-32768)); }, -32768},
        {"conv-1.13", [] { return ConvertOne<CDfpMatrix, CDfpMatrix>(CDfp(2.5)); }, 2.5},
        {"conv-1.14", [] { return ConvertOne<CInt32Matrix, CInt32Matrix>(CInt32(INT_MIN)); }, INT_MIN},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.fnRun(), c.xExpected);
    }
}

TEST_F(Matrix, ArrayAssignmentKeepsExtents) {
    b_lArrayBase = 1;
    CInt32Matrix five(5, 0);
    Number(five, 1);
    CDfpMatrix three(3, 0);
    three = five;
    EXPECT_EQ(Values(three), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(three.Ubound(1), 3);

    CInt32Matrix small(3, 0);
    Number(small, 11);
    CDfpMatrix big(5, 0);
    big = CDfp(9);
    big = small;
    EXPECT_EQ(Values(big), (std::vector<double>{11, 12, 13, 0, 0}));

    // Storage order decides, not shape: a 2x3 into a 3x2.
    CInt16Matrix wide(2, 3);
    Number(wide, 1);
    CInt16Matrix tall(3, 2);
    tall = wide;
    EXPECT_EQ(tall.iDim1, 3);
    EXPECT_EQ(tall(2, 1).iValue, 3);

    tall = tall;
    EXPECT_EQ(Values(tall), (std::vector<double>{1, 2, 3, 4, 5, 6}));

    CBStringMatrix sSmall(2, 0), sBig(4, 0);
    sSmall = "a";
    sBig = CBString("z");
    sBig = sSmall;
    EXPECT_EQ(Values(sBig), (std::vector<std::string>{"a", "a", "", ""}));
    sSmall = sBig;
    EXPECT_EQ(Values(sSmall), (std::vector<std::string>{"a", "a"}));
}

TEST_F(Matrix, CopyTakesTheMatBoundsAndLeavesTheRest) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;      // destination DIM, filled with 9
        int iSrcRows;          // one-dimensional source holding 1, 2, ...
        int iCopyRows, iCopyCols;
        std::vector<double> aExpected;
        Errs aErrors;
    } const aCases[] = {
        {"copy-1.1", 1, 5, 0, 5, 3, 0, {1, 2, 3, 9, 9}, {}},
        {"copy-1.2", 1, 5, 0, 5, 0, 0, {1, 2, 3, 4, 5}, {}},
        {"copy-1.3", 1, 5, 0, 2, 0, 0, {1, 2, 9, 9, 9}, {}},
        {"copy-1.4", 1, 3, 3, 9, 2, 2, {1, 2, 3, 4, 9, 9, 9, 9, 9}, {}},
        {"copy-1.5", 0, 2, 0, 5, 1, 0, {1, 2, 9}, {}},
        {"copy-1.6", 1, 5, 0, 5, 6, 0, {9, 9, 9, 9, 9}, {3029}},
        {"copy-1.7", 1, 3, 3, 9, 4, 4, {9, 9, 9, 9, 9, 9, 9, 9, 9}, {3029}},
        {"copy-1.8", 1, 3, 3, 9, -1, 2, {9, 9, 9, 9, 9, 9, 9, 9, 9}, {3029}},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        s_aCalls.clear();
        CInt32Matrix src(c.iSrcRows, 0);
        Number(src, 1);
        CDfpMatrix dst(c.iRows, c.iCols);
        dst = CDfp(9);
        int iDim1 = dst.iDim1;
        dst.Copy(src, c.iCopyRows, c.iCopyCols);
        EXPECT_EQ(Values(dst), c.aExpected);
        EXPECT_EQ(dst.iDim1, iDim1);
        EXPECT_EQ(Errors(), c.aErrors);
    }
    b_lArrayBase = 1;
    CInt32Matrix big(1, 0);
    big(1, 0) = 100000;
    CDfpMatrix d(1, 0);
    d.Copy(big, 0, 0);
    EXPECT_EQ(d(1, 0).ToDouble(), 100000.0);
    CBStringMatrix s(3, 0), t(3, 0);
    s = "x";
    t.Copy(s, 2, 0);
    EXPECT_EQ(Values(t), (std::vector<std::string>{"x", "x", ""}));
}

TEST_F(Matrix, NormalizeTurnsBoundsIntoExtentsAndOnlyRaises) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;       // DIM
        int iInRows, iInCols;
        int iOutRows, iOutCols; // -1: raises 3029
    } const aCases[] = {
        {"norm-1.1", 1, 3, 3, 0, 0, 3, 3},
        {"norm-1.2", 0, 3, 3, 0, 0, 4, 4},
        {"norm-1.3", 0, 3, 3, 2, 2, 3, 3},
        {"norm-1.4", 1, 3, 3, 1, 9, 1, 9},   // only the product is bounded
        {"norm-1.5", 1, 10, 0, 0, 0, 10, 1},
        {"norm-1.6", 1, 3, 3, 4, 5, -1, -1},
        {"norm-1.7", 1, 10, 0, 11, 0, -1, -1},
        {"norm-1.8", 0, 3, 3, 4, 0, -1, -1},
        {"norm-1.9", 1, 3, 3, -1, 0, -1, -1},
        {"norm-1.10", 1, 3, 3, 1, -1, -1, -1},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            M a(c.iRows, c.iCols);
            int rows = c.iInRows, cols = c.iInCols;
            if (c.iOutRows < 0) {
                try {
                    a.Normalize(rows, cols);
                    ADD_FAILURE() << "no error raised";
                } catch (int n) {
                    EXPECT_EQ(n, 3029);
                }
            } else {
                a.Normalize(rows, cols);
                EXPECT_EQ(rows, c.iOutRows);
                EXPECT_EQ(cols, c.iOutCols);
            }
        });
    }
    EXPECT_TRUE(s_aCalls.empty()) << "Normalize does not call the handler";
}

TEST_F(Matrix, SetFillsTheLeadingElementsInStorageOrder) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols, iSetRows, iSetCols;
        std::vector<double> aExpected;
        Errs aErrors;
    } const aCases[] = {
        {"set-1.1", 1, 3, 3, 2, 2, {7, 7, 7, 7, 0, 0, 0, 0, 0}, {}},
        {"set-1.2", 1, 3, 3, 0, 0, {7, 7, 7, 7, 7, 7, 7, 7, 7}, {}},
        {"set-1.3", 0, 2, 0, 1, 0, {7, 7, 0}, {}},
        {"set-1.4", 1, 3, 3, 4, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0}, {3029}},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachNumericKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            s_aCalls.clear();
            M a(c.iRows, c.iCols);
            a.Set(Make<b_MatElem<M>>(7), c.iSetRows, c.iSetCols);
            EXPECT_EQ(Values(a), c.aExpected);
            EXPECT_EQ(Errors(), c.aErrors);
        });
    }
    b_lArrayBase = 1;
    CBStringMatrix s(3, 0);
    s.Set("x", 2, 0);
    EXPECT_EQ(Values(s), (std::vector<std::string>{"x", "x", ""}));
    CInt16Matrix i16(2, 0);
    i16 = static_cast<short>(-7);
    EXPECT_EQ(Values(i16), (std::vector<double>{-7, -7}));
    i16 = CInt16(40000);   // the low 16 bits, as compiled code passes them
    EXPECT_EQ(Values(i16), (std::vector<double>{-25536, -25536}));
    CInt32Matrix i32(2, 0);
    i32 = 123456;
    EXPECT_EQ(Values(i32), (std::vector<double>{123456, 123456}));
}

TEST_F(Matrix, ConZerAndIdnSkipRowAndColumnZeroUnderBase0) {
    enum { CON, IDN };
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;   // DIM, every element 7 first
        int eOp, iOpRows, iOpCols;
        std::vector<double> aExpected;
    } const aCases[] = {
        {"con-1.1", 0, 3, 3, CON, 0, 0, {7, 7, 7, 7, 7, 1, 1, 1, 7, 1, 1, 1, 7, 1, 1, 1}},
        {"con-1.2", 1, 3, 3, CON, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"con-1.3", 1, 3, 3, CON, 2, 2, {1, 1, 7, 1, 1, 7, 7, 7, 7}},
        {"con-1.4", 0, 3, 3, CON, 2, 1, {7, 7, 7, 7, 7, 1, 7, 7, 7, 1, 7, 7, 7, 7, 7, 7}},
        {"con-1.5", 0, 3, 0, CON, 0, 0, {7, 1, 1, 1}},   // one dimension: subscripts 1..3
        {"con-1.6", 1, 3, 0, CON, 2, 0, {1, 1, 7}},
        // Only the product is bounded: four rows of two on a 3x3 stay inside
        // the storage, and a column count above 3 runs into the next row.
        {"con-1.7", 1, 3, 3, CON, 4, 2, {1, 1, 7, 1, 1, 7, 1, 1, 7}},
        {"con-1.8", 1, 3, 3, CON, 1, 5, {1, 1, 1, 1, 1, 7, 7, 7, 7}},
        {"idn-1.1", 1, 3, 3, IDN, 0, 0, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
        {"idn-1.2", 0, 2, 2, IDN, 0, 0, {7, 7, 7, 7, 1, 0, 7, 0, 1}},
        {"idn-1.3", 1, 2, 3, IDN, 0, 0, {1, 0, 0, 0, 1, 0}},
        {"idn-1.4", 0, 3, 0, IDN, 0, 0, {7, 0, 0, 0}},
        {"idn-1.5", 1, 3, 0, IDN, 0, 0, {0, 0, 0}},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        ForEachNumericKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            M a(c.iRows, c.iCols);
            a = 7;
            if (c.eOp == CON)
                a.ConZer(Make<b_MatElem<M>>(1), c.iOpRows, c.iOpCols);
            else
                a.Idn(c.iOpRows, c.iOpCols);
            EXPECT_EQ(Values(a), c.aExpected);
        });
    }
    EXPECT_TRUE(s_aCalls.empty());

    b_lArrayBase = 1;
    CDfpMatrix a(3, 3);
    a.ConZer(CDfp(1), 4, 4);
    a.Idn(-1, 0);
    EXPECT_EQ(Errors(), (Errs{3029, 3029}));
    EXPECT_EQ(Values(a), std::vector<double>(9, 0));
}

TEST_F(Matrix, RawCopyTakesAtMostTheElementCount) {
    struct {
        char const* id;
        int iCount;
        bool bNull;
        std::vector<double> aExpected;   // three-element array, base 1
    } const aCases[] = {
        {"raw-1.1", 2, false, {1, -2, 0}},
        {"raw-1.2", 3, false, {1, -2, 3}},
        {"raw-1.3", 5, false, {1, -2, 3}},
        {"raw-1.4", 0, false, {0, 0, 0}},
        {"raw-1.5", -1, false, {0, 0, 0}},
        {"raw-1.6", 3, true, {0, 0, 0}},
    };
    b_lArrayBase = 1;
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        ForEachNumericKind([&]<class M>(std::type_identity<M>) {
            SCOPED_TRACE(typeid(M).name());
            using T = b_MatElem<M>;
            T const aImages[5] = {Make<T>(1), Make<T>(-2), Make<T>(3), Make<T>(4), Make<T>(5)};
            M a(3, 0);
            a.RawCopy(c.bNull ? nullptr : reinterpret_cast<char const*>(aImages), c.iCount);
            EXPECT_EQ(Values(a), c.aExpected);
        });
    }
}

TEST_F(Matrix, RawSetStaysInsideTheArray) {
    struct {
        char const* id;
        int index;
        std::vector<std::string> aExpected;
    } const aCases[] = {
        {"rawset-1.1", 0, {std::string("a\0b", 3), "", ""}},
        {"rawset-1.2", 2, {"", "", std::string("a\0b", 3)}},
        {"rawset-1.3", 3, {"", "", ""}},
        {"rawset-1.4", -1, {"", "", ""}},
        {"rawset-1.5", INT_MIN, {"", "", ""}},
    };
    b_lArrayBase = 1;
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        CBStringMatrix s(3, 0);
        s.RawSet(c.index, "a\0b", 3);
        EXPECT_EQ(Values(s), c.aExpected);
    }
    CBStringMatrix s(1, 0);
    s = "old";
    s.RawSet(0, nullptr, 0);
    EXPECT_EQ(Values(s), (std::vector<std::string>{""}));
}

TEST_F(Matrix, CellRunsCopyAndFill) {
    b_lArrayBase = 1;
    CDfpMatrix a(5, 0), b(5, 0);
    Number(a, 1);
    CDfpMatrix::cellcpy(b.pData + 1, a.pData, 3);
    EXPECT_EQ(Values(b), (std::vector<double>{0, 1, 2, 3, 0}));
    CDfpMatrix::cellset(b.pData, CDfp(-1), 2);
    EXPECT_EQ(Values(b), (std::vector<double>{-1, -1, 2, 3, 0}));

    CBStringMatrix s(3, 0), t(3, 0);
    Number(s, 1);
    CBStringMatrix::cellcpy(t.pData, s.pData + 1, 2);
    CBStringMatrix::cellset(t.pData + 2, CBString("z"), 1);
    EXPECT_EQ(Values(t), (std::vector<std::string>{"2", "3", "z"}));
}

TEST_F(Matrix, VectorsListElementsInStorageOrder) {
    b_lArrayBase = 1;
    CDfpMatrix d(2, 2);
    d(1, 1) = CDfp(2.9);
    d(1, 2) = CDfp(-2.9);
    d(2, 1) = CDfp(3e9);
    d(2, 2) = CDfp(100000);
    EXPECT_EQ(d.ToInt32Vector(), (std::vector<int>{2, -2, INT_MIN, 100000}));

    CInt16Matrix i16(3, 0);
    i16(1, 0) = CInt16(-5);
    i16(2, 0) = CInt16(32767);
    i16(3, 0) = CInt16(-32768);
    EXPECT_EQ(i16.ToVector(), (std::vector<int16_t>{-5, 32767, -32768}));
    EXPECT_EQ(i16.ToInt32Vector(), (std::vector<int>{-5, 32767, -32768}));

    b_lArrayBase = 0;
    CInt32Matrix i32(1, 1);
    Number(i32, -1);
    EXPECT_EQ(i32.ToVector(), (std::vector<int>{-1, 0, 1, 2}));
    CBStringMatrix s(1, 0);
    s(1, 0) = "b";
    EXPECT_EQ(s.ToVector(), (std::vector<CBString>{CBString(""), CBString("b")}));
}

TEST_F(Matrix, StringArrayLoadsFromAVectorAtSubscript1) {
    struct {
        char const* id;
        long lBase;
        int iRows, iCols;   // DIM, every element "x" first
        int iDim1, iDim2;
        std::vector<std::string> aExpected;
    } const aCases[] = {
        {"vec-1.1", 0, 5, 0, 4, 1, {"x", "a", "b", "c"}},
        {"vec-1.2", 1, 5, 0, 3, 1, {"a", "b", "c"}},
        {"vec-1.3", 1, 2, 2, 3, 1, {"a", "b", "c"}},
        {"vec-1.4", 0, 2, 2, 4, 2, {"x", "a", "b", "c", "x", "x", "x", "x"}},
    };
    std::vector<CBString> const v = {"a", "b", "c"};
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        CBStringMatrix s(c.iRows, c.iCols);
        s = "x";
        s = v;
        EXPECT_EQ(s.iDim1, c.iDim1);
        EXPECT_EQ(s.iDim2, c.iDim2);
        EXPECT_EQ(Values(s), c.aExpected);
    }
    EXPECT_TRUE(s_aCalls.empty());

    b_lArrayBase = 1;
    CBStringMatrix s(2, 0);
    s = "x";
    s = std::vector<CBString>();
    EXPECT_EQ(Errors(), (Errs{3029}));
    EXPECT_EQ(Values(s), (std::vector<std::string>{"x", "x"}));
}

TEST_F(Matrix, IsMemberPathWhenTheUpperBoundIs11) {
    struct {
        char const* id;
        long lBase;
        int iRows;
        bool bExpected;
    } const aCases[] = {
        {"path-1.1", 0, 11, true},
        {"path-1.2", 1, 11, true},
        {"path-1.3", 1, 10, false},
        {"path-1.4", 0, 12, false},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        b_lArrayBase = c.lBase;
        EXPECT_EQ(CBStringMatrix(c.iRows, 0).IsMemberPath(), c.bExpected);
    }
}

TEST_F(Matrix, CopyConstructorCopiesEveryElement) {
    b_lArrayBase = 1;
    ForEachKind([&]<class M>(std::type_identity<M>) {
        SCOPED_TRACE(typeid(M).name());
        using T = b_MatElem<M>;
        M a(2, 3);
        Number(a, 1);
        M b(a);
        EXPECT_EQ(b.iDim1, 2);
        EXPECT_EQ(b.iDim2, 3);
        EXPECT_EQ(b.nDims, 2);
        EXPECT_NE(b.pData, a.pData);
        b(1, 1) = Make<T>(50);
        EXPECT_TRUE(a(1, 1) == Make<T>(1));
        EXPECT_TRUE(b(2, 3) == Make<T>(6));
    });
}

// With the real handler, 3029 and 12 have no BASIC number: the program prints
// the message on standard output and ends with 253.
TEST(MatrixDeathTest, ErrorsWithoutABasicNumberEndTheProgram) {
    struct {
        char const* id;
        std::function<void()> fnRun;
        int iError;
    } const aCases[] = {
        {"fatal-1.1", [] { CDfpMatrix a(10, 0); a(11, 0) = CDfp(1); }, 3029},
        {"fatal-1.2", [] { CBStringMatrix const a(2, 2); (void)a(0, 1); }, 3029},
        {"fatal-1.3", [] { CInt16Matrix a(0, 0); }, 3029},
        {"fatal-1.4", [] { CInt32Matrix a(3, 0); a.Redim(0, 0); }, 3029},
        {"fatal-1.5", [] { CDfpMatrix a(3, 3); a.ConZer(CDfp(1), 4, 4); }, 3029},
        {"fatal-1.6", [] { CBStringMatrix a(100000, 100000); }, 12},
    };
    long lSavedBase = b_lArrayBase;
    b_lArrayBase = 1;
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        // Named per process: both flavours' suites run at the same time.
        std::string sOut = ::testing::TempDir() + "matrix_fatal_" + std::to_string(getpid()) + "_" + c.id + ".txt";
        EXPECT_EXIT(
            {
                if (!std::freopen(sOut.c_str(), "w", stdout)) _exit(1);
                c.fnRun();
                _exit(0);
            },
            ::testing::ExitedWithCode(253), "");
        std::ifstream in(sOut);
        std::stringstream ss;
        ss << in.rdbuf();
        EXPECT_NE(ss.str().find(ErrorMessage(c.iError).c_str()), std::string::npos) << ss.str();
        std::remove(sOut.c_str());
    }
    b_lArrayBase = lSavedBase;
}
