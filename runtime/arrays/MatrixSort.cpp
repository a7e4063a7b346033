// MatrixSort: Sort, SortInit and SortExit of the three index classes over the
// four key classes; the work is IndexSort.h's. Each index class sorts up to
// the largest position its elements hold exactly (16-bit: 32767).
#include <velbra/Matrix.h>

#include "IndexSort.h"

#include <climits>

namespace morka {

namespace {

template <class TIndexMatrix>
constexpr int s_nMaxPosition = INT_MAX - 1;
template <>
constexpr int s_nMaxPosition<CInt16Matrix> = 32767;

template <class TIndexMatrix, class TKeyMatrix>
void s_Sort(TIndexMatrix& index, TKeyMatrix const& keys) {
    int n = index.SortInit(keys.iDim1, keys.iDim2);
    b_SortRun(index.pData + (b_lArrayBase == 0 ? 1 : 0), n, keys.pData);
    index.SortExit(n);
}

template <class TIndexMatrix>
int s_SortInit(TIndexMatrix& index, int rows, int cols) {
    long nKeys = static_cast<long>(rows) * cols;
    int nKeyCount = rows < 0 || cols < 0 ? 0 : nKeys > INT_MAX ? INT_MAX : static_cast<int>(nKeys);
    return b_SortInit(index.pData, index.iDim1 * index.iDim2, nKeyCount, s_nMaxPosition<TIndexMatrix>);
}

}  // namespace

void CDfpMatrix::Sort(CInt16Matrix& keys, int, int) { s_Sort(*this, keys); }
void CDfpMatrix::Sort(CInt32Matrix& keys, int, int) { s_Sort(*this, keys); }
void CDfpMatrix::Sort(CDfpMatrix& keys, int, int) { s_Sort(*this, keys); }
void CDfpMatrix::Sort(CBStringMatrix& keys, int, int) { s_Sort(*this, keys); }
int CDfpMatrix::SortInit(int rows, int cols) { return s_SortInit(*this, rows, cols); }
void CDfpMatrix::SortExit(int n) { b_SortExit(pData, n); }

void CInt16Matrix::Sort(CInt16Matrix& keys, int, int) { s_Sort(*this, keys); }
void CInt16Matrix::Sort(CInt32Matrix& keys, int, int) { s_Sort(*this, keys); }
void CInt16Matrix::Sort(CDfpMatrix& keys, int, int) { s_Sort(*this, keys); }
void CInt16Matrix::Sort(CBStringMatrix& keys, int, int) { s_Sort(*this, keys); }
int CInt16Matrix::SortInit(int rows, int cols) { return s_SortInit(*this, rows, cols); }
void CInt16Matrix::SortExit(int n) { b_SortExit(pData, n); }

void CInt32Matrix::Sort(CInt16Matrix& keys, int, int) { s_Sort(*this, keys); }
void CInt32Matrix::Sort(CInt32Matrix& keys, int, int) { s_Sort(*this, keys); }
void CInt32Matrix::Sort(CDfpMatrix& keys, int, int) { s_Sort(*this, keys); }
void CInt32Matrix::Sort(CBStringMatrix& keys, int, int) { s_Sort(*this, keys); }
int CInt32Matrix::SortInit(int rows, int cols) { return s_SortInit(*this, rows, cols); }
void CInt32Matrix::SortExit(int n) { b_SortExit(pData, n); }

}  // namespace morka
