// DfpMatrix: CDfpMatrix, the array of BASIC reals, bound to the shared array
// machinery of MatrixOps.h. Conversions into it are exact. This module also
// owns the error-handler seam that all four array classes report to.
#include "MatrixOps.h"

namespace morka {

bool (*b_pfnArrayError)(int error, int channel) = &b_ErrorHandler;

CDfpMatrix::CDfpMatrix(int rows, int cols) { _MatDim(*this, rows, cols); }
CDfpMatrix::CDfpMatrix(CDfpMatrix const& o) { _MatClone(*this, o); }
CDfpMatrix::~CDfpMatrix() { delete[] pData; }

CDfp& CDfpMatrix::_Subscript(int i, int j) const { return _MatSubscript(*this, i, j); }

int CDfpMatrix::Lbound(int) const { return static_cast<int>(b_lArrayBase); }
int CDfpMatrix::Ubound(int n) const { return _MatUbound(*this, n); }
void CDfpMatrix::Normalize(int& rows, int& cols) const { b_NormalizeBounds(iDim1, iDim2, nDims, rows, cols); }
void CDfpMatrix::Redim(int rows, int cols) { _MatRedim(*this, rows, cols); }

void CDfpMatrix::Copy(CDfpMatrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CDfpMatrix::Copy(CInt16Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }
void CDfpMatrix::Copy(CInt32Matrix const& o, int rows, int cols) { _MatCopy(*this, o, rows, cols); }

CDfpMatrix& CDfpMatrix::operator=(CDfpMatrix const& o) { _MatAssign(*this, o); return *this; }
CDfpMatrix& CDfpMatrix::operator=(CInt16Matrix const& o) { _MatAssign(*this, o); return *this; }
CDfpMatrix& CDfpMatrix::operator=(CInt32Matrix const& o) { _MatAssign(*this, o); return *this; }
CDfpMatrix& CDfpMatrix::operator=(CDfp x) { _MatFill(*this, x); return *this; }

void CDfpMatrix::Set(CDfp x, int rows, int cols) { _MatSet(*this, x, rows, cols); }
void CDfpMatrix::ConZer(CDfp x, int rows, int cols) { _MatConZer(*this, x, rows, cols); }
void CDfpMatrix::Idn(int rows, int cols) { _MatIdn(*this, rows, cols); }

static_assert(sizeof(CDfp) == 8, "a raw real image is 8 bytes");
void CDfpMatrix::RawCopy(char const* pBytes, int nCount) { _MatRawCopy(*this, pBytes, nCount); }

void CDfpMatrix::cellcpy(CDfp* pDst, CDfp const* pSrc, unsigned nCount) { std::copy_n(pSrc, nCount, pDst); }
void CDfpMatrix::cellset(CDfp* pDst, CDfp x, unsigned nCount) { std::fill_n(pDst, nCount, x); }

std::vector<int> CDfpMatrix::ToInt32Vector() const {
    return _MatToVector<int>(*this, [](CDfp const& x) { return CInt32(x).iValue; });
}

}  // namespace morka
