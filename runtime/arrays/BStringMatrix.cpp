// BStringMatrix: CBStringMatrix, the array of strings, bound to the shared
// array machinery of MatrixOps.h, plus what only strings have: RawSet, the
// load from a vector and the member-path test. Strings move, not copy, when
// REDIM replaces the storage.
#include "MatrixOps.h"

namespace morka {

CBStringMatrix::CBStringMatrix(int rows, int cols) { _MatDim(*this, rows, cols); }
CBStringMatrix::CBStringMatrix(CBStringMatrix const& o) { _MatClone(*this, o); }
CBStringMatrix::~CBStringMatrix() { delete[] pData; }

CBString& CBStringMatrix::_Subscript(int i, int j) const { return _MatSubscript(*this, i, j); }

int CBStringMatrix::Lbound(int) const { return static_cast<int>(b_lArrayBase); }
int CBStringMatrix::Ubound(int n) const { return _MatUbound(*this, n); }
void CBStringMatrix::Normalize(int& rows, int& cols) const { b_NormalizeBounds(iDim1, iDim2, nDims, rows, cols); }
void CBStringMatrix::Redim(int rows, int cols) { _MatRedim(*this, rows, cols); }

void CBStringMatrix::Copy(CBStringMatrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }

CBStringMatrix& CBStringMatrix::operator=(CBStringMatrix const& o) { _MatAssign(*this, o); return *this; }
CBStringMatrix& CBStringMatrix::operator=(char const* psz) { _MatFill(*this, CBString(psz)); return *this; }
CBStringMatrix& CBStringMatrix::operator=(CBString const& s) { _MatFill(*this, s); return *this; }

CBStringMatrix& CBStringMatrix::operator=(std::vector<CBString> const& v) {
    int n = v.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(v.size());
    if (!_MatRedim(*this, n, 1)) return *this;
    long long z = _MatZ();
    long long nCount = _MatCount(*this);
    // Under base 0 this is storage position i + 1; under base 1 the same
    // subscript is position i, which keeps the last element inside the array.
    for (long long i = 0; i < n && i + z < nCount; ++i) pData[i + z] = v[static_cast<std::size_t>(i)];
    return *this;
}

void CBStringMatrix::Set(CBString const& s, int rows, int cols) { _MatSet(*this, s, rows, cols); }

void CBStringMatrix::RawSet(int index, char const* pBytes, unsigned long nLength) {
    if (index < 0 || index >= _MatCount(*this)) return;
    pData[index] = CBString(pBytes, static_cast<std::size_t>(nLength));
}

void CBStringMatrix::cellcpy(CBString* pDst, CBString const* pSrc, unsigned nCount) { std::copy_n(pSrc, nCount, pDst); }
void CBStringMatrix::cellset(CBString* pDst, CBString const& s, unsigned nCount) { std::fill_n(pDst, nCount, s); }

std::vector<CBString> CBStringMatrix::ToVector() const {
    return _MatToVector<CBString>(*this, [](CBString const& s) { return s; });
}

bool CBStringMatrix::IsMemberPath() const { return Ubound(1) == 11; }

}  // namespace morka
