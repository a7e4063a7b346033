// Int16Matrix: CInt16Matrix, the array of 16-bit integers, bound to the shared
// array machinery of MatrixOps.h. Values converted into it follow b_I:
// truncation toward zero, -32768 for anything outside -32768..32767.
#include "MatrixOps.h"

namespace morka {

CInt16Matrix::CInt16Matrix(int rows, int cols) { _MatDim(*this, rows, cols); }
CInt16Matrix::CInt16Matrix(CInt16Matrix const& o) { _MatClone(*this, o); }
CInt16Matrix::~CInt16Matrix() { delete[] pData; }

CInt16& CInt16Matrix::_Subscript(int i, int j) const { return _MatSubscript(*this, i, j); }

int CInt16Matrix::Lbound(int) const { return static_cast<int>(b_lArrayBase); }
int CInt16Matrix::Ubound(int n) const { return _MatUbound(*this, n); }
void CInt16Matrix::Normalize(int& rows, int& cols) const { b_NormalizeBounds(iDim1, iDim2, nDims, rows, cols); }
void CInt16Matrix::Redim(int rows, int cols) { _MatRedim(*this, rows, cols); }

void CInt16Matrix::Copy(CDfpMatrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CInt16Matrix::Copy(CInt16Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CInt16Matrix::Copy(CInt32Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }

CInt16Matrix& CInt16Matrix::operator=(CDfpMatrix const& o) { _MatAssign(*this, o); return *this; }
CInt16Matrix& CInt16Matrix::operator=(CInt16Matrix const& o) { _MatAssign(*this, o); return *this; }
CInt16Matrix& CInt16Matrix::operator=(CInt32Matrix const& o) { _MatAssign(*this, o); return *this; }
CInt16Matrix& CInt16Matrix::operator=(CInt16 x) { _MatFill(*this, x); return *this; }
CInt16Matrix& CInt16Matrix::operator=(short x) { _MatFill(*this, CInt16(x)); return *this; }

void CInt16Matrix::Set(CInt16 x, int rows, int cols) { _MatSet(*this, x, rows, cols); }
void CInt16Matrix::ConZer(CInt16 x, int rows, int cols) { _MatConZer(*this, x, rows, cols); }
void CInt16Matrix::Idn(int rows, int cols) { _MatIdn(*this, rows, cols); }

static_assert(sizeof(CInt16) == 2, "a raw 16-bit image is 2 bytes");
void CInt16Matrix::RawCopy(char const* pBytes, int nCount) { _MatRawCopy(*this, pBytes, nCount); }

void CInt16Matrix::cellcpy(CInt16* pDst, CInt16 const* pSrc, unsigned nCount) { std::copy_n(pSrc, nCount, pDst); }
void CInt16Matrix::cellset(CInt16* pDst, CInt16 x, unsigned nCount) { std::fill_n(pDst, nCount, x); }

std::vector<int16_t> CInt16Matrix::ToVector() const {
    return _MatToVector<int16_t>(*this, [](CInt16 n) { return n.iValue; });
}

std::vector<int> CInt16Matrix::ToInt32Vector() const {
    return _MatToVector<int>(*this, [](CInt16 n) { return static_cast<int>(n.iValue); });
}

}  // namespace morka
