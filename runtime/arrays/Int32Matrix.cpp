// Int32Matrix: CInt32Matrix, the array of 32-bit integers, bound to the shared
// array machinery of MatrixOps.h. Values converted into it follow b_L:
// truncation toward zero, -2147483648 for anything out of range or NaN.
#include "MatrixOps.h"

namespace morka {

CInt32Matrix::CInt32Matrix(int rows, int cols) { _MatDim(*this, rows, cols); }
CInt32Matrix::CInt32Matrix(CInt32Matrix const& o) { _MatClone(*this, o); }
CInt32Matrix::~CInt32Matrix() { delete[] pData; }

CInt32& CInt32Matrix::_Subscript(int i, int j) const { return _MatSubscript(*this, i, j); }

int CInt32Matrix::Lbound(int) const { return static_cast<int>(b_lArrayBase); }
int CInt32Matrix::Ubound(int n) const { return _MatUbound(*this, n); }
void CInt32Matrix::Normalize(int& rows, int& cols) const { b_NormalizeBounds(iDim1, iDim2, nDims, rows, cols); }
void CInt32Matrix::Redim(int rows, int cols) { _MatRedim(*this, rows, cols); }

void CInt32Matrix::Copy(CDfpMatrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CInt32Matrix::Copy(CInt16Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CInt32Matrix::Copy(CInt32Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }

CInt32Matrix& CInt32Matrix::operator=(CDfpMatrix const& o) { _MatAssign(*this, o); return *this; }
CInt32Matrix& CInt32Matrix::operator=(CInt16Matrix const& o) { _MatAssign(*this, o); return *this; }
CInt32Matrix& CInt32Matrix::operator=(CInt32Matrix const& o) { _MatAssign(*this, o); return *this; }
CInt32Matrix& CInt32Matrix::operator=(int x) { _MatFill(*this, CInt32(x)); return *this; }

void CInt32Matrix::Set(CInt32 x, int rows, int cols) { _MatSet(*this, x, rows, cols); }
void CInt32Matrix::ConZer(CInt32 x, int rows, int cols) { _MatConZer(*this, x, rows, cols); }
void CInt32Matrix::Idn(int rows, int cols) { _MatIdn(*this, rows, cols); }

static_assert(sizeof(CInt32) == 4, "a raw 32-bit image is 4 bytes");
void CInt32Matrix::RawCopy(char const* pBytes, int nCount) { _MatRawCopy(*this, pBytes, nCount); }

void CInt32Matrix::cellcpy(CInt32* pDst, CInt32 const* pSrc, unsigned nCount) { std::copy_n(pSrc, nCount, pDst); }
void CInt32Matrix::cellset(CInt32* pDst, CInt32 x, unsigned nCount) { std::fill_n(pDst, nCount, x); }

std::vector<int> CInt32Matrix::ToVector() const {
    return _MatToVector<int>(*this, [](CInt32 n) { return n.iValue; });
}

}  // namespace morka
