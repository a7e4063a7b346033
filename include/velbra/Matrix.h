// Matrix: the BASIC arrays of one or two dimensions, one class per element
// kind: CDfpMatrix (CDfp), CInt16Matrix (CInt16), CInt32Matrix (CInt32) and
// CBStringMatrix (CBString).
//
// Each class holds, in this order, iDim1 and iDim2 (extents: the upper bound
// + 1 under base 0, the upper bound itself under base 1; iDim2 is 1 for one
// dimension), nDims (1 or 2) and pData (iDim1 x iDim2 elements, row by row,
// owned), and has one virtual function, its destructor. The classes share no
// base class: their logic is one set of templates (runtime/arrays/MatrixOps.h)
// that each class binds in its own module. OPTION BASE (b_lArrayBase) is read
// at every call. New elements are 0 or the empty string.
//
// Errors: DIM, REDIM, element access and the MAT operations Copy, Set, ConZer
// and Idn report 3029 (subscript range) and 12 (out of memory) to
// b_ErrorHandler with channel 0 (through the pointer b_pfnArrayError, which
// tests replace). A true answer starts the operation again, a false one
// abandons it and leaves the array as it was. Normalize only raises.
//
// Choices made where the dialect leaves the behaviour open:
// - ConZer and Idn run the column loop of a one-dimensional array from its
//   only internal column, 0, under either base, so under base 0 MAT CON fills
//   subscripts 1..n and leaves subscript 0 alone, as a two-dimensional array
//   keeps row and column 0.
// - ConZer and Idn address element (r, k) as r x iDim2 + k because MAT bounds
//   are checked only by their product; an address past the storage is skipped.
// - Loading a string array from a vector puts vector element i at subscript
//   i + 1 under either base: storage position i + 1 under base 0, i under
//   base 1, so the array is never overrun. An abandoned REDIM loads nothing.
// - RawSet with a negative index (or one at or past the element count) does
//   nothing.
// - An abandoned DIM leaves an array of no elements (iDim1 0, pData null):
//   every subscript is out of range and a later REDIM gives it storage.
// - Extents and element counts are ints: a DIM or REDIM whose element count
//   does not fit in an int raises 12, as the storage cannot be had.
// - CDfpMatrix has the same deep copy constructor as the other three (the
//   implicit one would share the storage).
// - cellcpy copies like memcpy: the two runs must not overlap.
#pragma once

#include <cstdint>
#include <morka/CBString.h>
#include <morka/System.h>
#include <velbra/NumClasses.h>
#include <vector>

namespace morka {

class CDfpMatrix;
class CInt16Matrix;
class CInt32Matrix;
class CBStringMatrix;

// Finds the storage position p of element (i, j) in an array of the given
// extents; false when a subscript is out of range. j is not looked at for one
// dimension. The unsigned compares catch a subscript below the base and one
// above the upper bound at once.
inline bool b_MatPos(int iDim1, int iDim2, int nDims, long i, long j, unsigned long& p) {
    long lBase = b_lArrayBase;
    unsigned long k = static_cast<unsigned long>(i - lBase);
    if (k >= static_cast<unsigned long>(iDim1)) return false;
    if (nDims == 1) {
        p = k;
        return true;
    }
    unsigned long l = static_cast<unsigned long>(j - lBase);
    if (l >= static_cast<unsigned long>(iDim2)) return false;
    p = k * static_cast<unsigned long>(iDim2) + l;
    return true;
}

class CDfpMatrix {
public:
    int iDim1 = 0;
    int iDim2 = 0;
    int nDims = 0;
    CDfp* pData = nullptr;

    // DIM with upper bounds rows and cols; cols 0 gives one dimension. Raises
    // 3029 (rows < 1 or cols < 0) and 12 through the handler.
    CDfpMatrix(int rows, int cols);
    // Same extents, every element copied.
    CDfpMatrix(CDfpMatrix const& o);
    virtual ~CDfpMatrix();

    // Pointer to element (i, j), or null when a subscript is out of range (no
    // error). j is ignored for one dimension. Valid until the next Redim.
    CDfp* Cell(int i, int j) { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CDfp const* Cell(int i, int j) const { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    // Element (i, j); j is ignored for one dimension. Out of range: 3029
    // through the handler; abandoned, a spare element holding 0.
    CDfp& operator()(CInt32 i, CInt32 j) {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }
    CDfp operator()(CInt32 i, CInt32 j) const {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }

    // The array base, for any n.
    int Lbound(int n) const;
    // Upper bound of dimension n (1, or 2 on a two-dimensional array); else 0.
    int Ubound(int n) const;
    // MAT bounds to extents: 0 takes the whole extent, any other count is an
    // upper bound. Raises 3029 (a negative bound, or rows x cols beyond the
    // storage) without the handler.
    void Normalize(int& rows, int& cols) const;
    // REDIM to upper bounds rows and cols, keeping the elements in storage
    // order (a new column count moves elements between rows). A
    // one-dimensional array ignores cols. Raises 3029 (rows < 1, or cols < 1
    // on two dimensions) and 12 through the handler. The storage is replaced
    // only when the element count changes.
    void Redim(int rows, int cols);
    // MAT copy: min(source count, rows x cols after Normalize) elements from
    // the start of o, converted; the others and the extents stay. 3029 through
    // the handler.
    void Copy(CDfpMatrix const& o, int rows, int cols);
    void Copy(CInt16Matrix const& o, int rows, int cols);
    void Copy(CInt32Matrix const& o, int rows, int cols);
    // dialect quirk: array assignment keeps this array's extents; it copies
    // min(both counts) elements in storage order and clears the rest.
    CDfpMatrix& operator=(CDfpMatrix const& o);
    CDfpMatrix& operator=(CInt16Matrix const& o);
    CDfpMatrix& operator=(CInt32Matrix const& o);
    // Every element := x.
    CDfpMatrix& operator=(CDfp x);
    // The first rows x cols elements (after Normalize) := x. 3029 through the handler.
    void Set(CDfp x, int rows, int cols);
    // MAT CON / ZER: after Normalize, internal rows z..rows-1 and columns
    // z..cols-1 := x (z is 1 under base 0), so row and column 0 stay under
    // base 0. 3029 through the handler.
    void ConZer(CDfp x, int rows, int cols);
    // MAT IDN over the same elements as ConZer: 1 on the diagonal, else 0. A
    // one-dimensional array gets ConZer with 0.
    void Idn(int rows, int cols);
    // The first min(nCount, element count) elements := the raw 8-byte images
    // at pBytes (a null pointer or a count below 1 copies nothing).
    void RawCopy(char const* pBytes, int nCount);
    static void cellcpy(CDfp* pDst, CDfp const* pSrc, unsigned nCount);
    static void cellset(CDfp* pDst, CDfp x, unsigned nCount);
    // Every element in storage order by the 32-bit rule (b_L).
    std::vector<int> ToInt32Vector() const;

    // Index sort: this array receives the subscripts of the keys (read as a
    // flat list, row by row) in ascending key order; the keys are untouched.
    // n = min(own count, key count) - z elements from position z take part
    // (a CInt16Matrix at most 32767); the rest of this array is kept. Equal
    // keys keep their order, NaN numbers sort last, strings compare as C
    // texts. The two ints are not used. Not reentrant (published key pointer).
    void Sort(CInt16Matrix& keys, int, int);
    void Sort(CInt32Matrix& keys, int, int);
    void Sort(CDfpMatrix& keys, int, int);
    void Sort(CBStringMatrix& keys, int, int);
    // The steps of Sort: fills the index with storage positions for keys of
    // extents rows x cols and returns their count; turns n sorted positions
    // into subscripts.
    int SortInit(int rows, int cols);
    void SortExit(int n);

private:
    // The out-of-range road of operator(): handler, repeat or spare.
    CDfp& _Subscript(int i, int j) const;
};

// As CDfpMatrix, with CInt16 elements; conversions into it follow b_I.
class CInt16Matrix {
public:
    int iDim1 = 0;
    int iDim2 = 0;
    int nDims = 0;
    CInt16* pData = nullptr;

    CInt16Matrix(int rows, int cols);
    CInt16Matrix(CInt16Matrix const& o);
    virtual ~CInt16Matrix();

    CInt16* Cell(int i, int j) { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CInt16 const* Cell(int i, int j) const { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CInt16& operator()(CInt32 i, CInt32 j) {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }
    CInt16 operator()(CInt32 i, CInt32 j) const {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }

    int Lbound(int n) const;
    int Ubound(int n) const;
    void Normalize(int& rows, int& cols) const;
    void Redim(int rows, int cols);
    void Copy(CDfpMatrix const& o, int rows, int cols);
    void Copy(CInt16Matrix const& o, int rows, int cols);
    void Copy(CInt32Matrix const& o, int rows, int cols);
    // dialect quirk: array assignment keeps this array's extents (see CDfpMatrix).
    CInt16Matrix& operator=(CDfpMatrix const& o);
    CInt16Matrix& operator=(CInt16Matrix const& o);
    CInt16Matrix& operator=(CInt32Matrix const& o);
    CInt16Matrix& operator=(CInt16 x);
    CInt16Matrix& operator=(short x);
    void Set(CInt16 x, int rows, int cols);
    void ConZer(CInt16 x, int rows, int cols);
    void Idn(int rows, int cols);
    // Raw 2-byte images.
    void RawCopy(char const* pBytes, int nCount);
    static void cellcpy(CInt16* pDst, CInt16 const* pSrc, unsigned nCount);
    static void cellset(CInt16* pDst, CInt16 x, unsigned nCount);
    // Every element in storage order, as 16-bit values.
    std::vector<int16_t> ToVector() const;
    // Every element in storage order, sign-extended.
    std::vector<int> ToInt32Vector() const;

    // Index sort and its steps, as CDfpMatrix's.
    void Sort(CInt16Matrix& keys, int, int);
    void Sort(CInt32Matrix& keys, int, int);
    void Sort(CDfpMatrix& keys, int, int);
    void Sort(CBStringMatrix& keys, int, int);
    int SortInit(int rows, int cols);
    void SortExit(int n);

private:
    CInt16& _Subscript(int i, int j) const;
};

// As CDfpMatrix, with CInt32 elements; conversions into it follow b_L.
class CInt32Matrix {
public:
    int iDim1 = 0;
    int iDim2 = 0;
    int nDims = 0;
    CInt32* pData = nullptr;

    CInt32Matrix(int rows, int cols);
    CInt32Matrix(CInt32Matrix const& o);
    virtual ~CInt32Matrix();

    CInt32* Cell(int i, int j) { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CInt32 const* Cell(int i, int j) const { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CInt32& operator()(CInt32 i, CInt32 j) {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }
    CInt32 operator()(CInt32 i, CInt32 j) const {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i.iValue, j.iValue, p)) [[likely]] return pData[p];
        return _Subscript(i.iValue, j.iValue);
    }

    int Lbound(int n) const;
    int Ubound(int n) const;
    void Normalize(int& rows, int& cols) const;
    void Redim(int rows, int cols);
    void Copy(CDfpMatrix const& o, int rows, int cols);
    void Copy(CInt16Matrix const& o, int rows, int cols);
    void Copy(CInt32Matrix const& o, int rows, int cols);
    // dialect quirk: array assignment keeps this array's extents (see CDfpMatrix).
    CInt32Matrix& operator=(CDfpMatrix const& o);
    CInt32Matrix& operator=(CInt16Matrix const& o);
    CInt32Matrix& operator=(CInt32Matrix const& o);
    CInt32Matrix& operator=(int x);
    void Set(CInt32 x, int rows, int cols);
    void ConZer(CInt32 x, int rows, int cols);
    void Idn(int rows, int cols);
    // Raw 4-byte images.
    void RawCopy(char const* pBytes, int nCount);
    static void cellcpy(CInt32* pDst, CInt32 const* pSrc, unsigned nCount);
    static void cellset(CInt32* pDst, CInt32 x, unsigned nCount);
    // Every element in storage order.
    std::vector<int> ToVector() const;

    // Index sort and its steps, as CDfpMatrix's.
    void Sort(CInt16Matrix& keys, int, int);
    void Sort(CInt32Matrix& keys, int, int);
    void Sort(CDfpMatrix& keys, int, int);
    void Sort(CBStringMatrix& keys, int, int);
    int SortInit(int rows, int cols);
    void SortExit(int n);

private:
    CInt32& _Subscript(int i, int j) const;
};

// As CDfpMatrix, with CBString elements and int subscripts; no MAT CON, ZER,
// IDN or raw element images. An abandoned subscript gives an empty spare.
class CBStringMatrix {
public:
    int iDim1 = 0;
    int iDim2 = 0;
    int nDims = 0;
    CBString* pData = nullptr;

    CBStringMatrix(int rows, int cols);
    CBStringMatrix(CBStringMatrix const& o);
    virtual ~CBStringMatrix();

    CBString* Cell(int i, int j) { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CBString const* Cell(int i, int j) const { unsigned long p; return b_MatPos(iDim1, iDim2, nDims, i, j, p) ? pData + p : nullptr; }
    CBString& operator()(int i, int j) {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i, j, p)) [[likely]] return pData[p];
        return _Subscript(i, j);
    }
    CBString operator()(int i, int j) const {
        unsigned long p;
        if (b_MatPos(iDim1, iDim2, nDims, i, j, p)) [[likely]] return pData[p];
        return _Subscript(i, j);
    }

    int Lbound(int n) const;
    int Ubound(int n) const;
    void Normalize(int& rows, int& cols) const;
    void Redim(int rows, int cols);
    void Copy(CBStringMatrix const& o, int rows, int cols);
    // dialect quirk: array assignment keeps this array's extents (see CDfpMatrix).
    CBStringMatrix& operator=(CBStringMatrix const& o);
    CBStringMatrix& operator=(char const* psz);
    CBStringMatrix& operator=(CBString const& s);
    // Redim(size, 1), then vector element i := subscript i + 1 (storage
    // position i + 1 under base 0, i under base 1). An empty vector raises
    // 3029 through the handler, as REDIM to 0 does.
    CBStringMatrix& operator=(std::vector<CBString> const& v);
    void Set(CBString const& s, int rows, int cols);
    // The element at storage position index := nLength bytes from pBytes; an
    // index outside 0..count-1 does nothing.
    void RawSet(int index, char const* pBytes, unsigned long nLength);
    static void cellcpy(CBString* pDst, CBString const* pSrc, unsigned nCount);
    static void cellset(CBString* pDst, CBString const& s, unsigned nCount);
    // Every element in storage order.
    std::vector<CBString> ToVector() const;
    // True when the upper bound of dimension 1 is 11: the array holds a
    // three-part name (name, type and member) taken apart by Path.
    bool IsMemberPath() const;

    // Split: s cut at runs of delimiter bytes into elements 1, 2, ... (no
    // empty tokens; an empty s or an empty delimiter set gives s whole as
    // element 1). Parse: the delimiter runs become elements too. The array is
    // redimensioned to the count (REDIM (n) or (n, 1), filling column 1);
    // element 0 under base 0 and column 0 stay empty.
    void Split(CBString const& s, CBString const& delimiters);
    void Split(CBString const& s, char const* delimiters);
    void Split(char const* s, CBString const& delimiters);
    void Split(char const* s, char const* delimiters);
    void Parse(CBString const& s, CBString const& delimiters);
    void Parse(CBString const& s, char const* delimiters);
    void Parse(char const* s, CBString const& delimiters);
    void Parse(char const* s, char const* delimiters);
    // A file path taken apart: 1 library, 2 "\", 3 directory, 4 "/", 5, 7, ...
    // the dot-separated name parts with "." between, then ":" and the drive
    // (a letter, '*' none, '@' host path). mode 0 translates the name as a
    // plain name, 1 as a source name, 2 as a destination name (the first run
    // of '=' of each part becomes one '='), other values not at all.
    void Path(CBString const& path, int mode);
    // The elements from subscript max(from, base) to to (-1 or past the end:
    // the last element) concatenated in storage order; "" for an empty range.
    CBString Join(int from, int to) const;

private:
    CBString& _Subscript(int i, int j) const;
};

// a.Join(from, to) as a function.
CBString Join(CBStringMatrix& a, int from, int to);

}  // namespace morka
