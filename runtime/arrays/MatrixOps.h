// MatrixOps: the array machinery that CDfpMatrix, CInt16Matrix, CInt32Matrix
// and CBStringMatrix share, written once as templates over the array class M
// (any class with iDim1, iDim2, nDims and pData). Each class's module binds
// its members to these. Internal to runtime/arrays (and the tests).
//
// Invariants: pData holds exactly iDim1 x iDim2 elements (null when there are
// none); that count fits in an int. An operation that fails changes nothing,
// because new storage is built before the old one is touched.
// Errors are raised as int inside a try block and reported to the handler
// after leaving it, so a handler that jumps to an ON ERROR target leaves no
// exception in flight.
#pragma once

#include <velbra/ErrorTrap.h>
#include <velbra/Matrix.h>
#include <velbra/TypeBase.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <type_traits>
#include <vector>

namespace morka {

// The handler the array operations report errors to, b_ErrorHandler unless a
// test puts another in. b_ErrorHandler ends the program for numbers with no
// BASIC equivalent (3029 and 12 among them), so the repeat and abandon roads
// are only reachable through this seam or a future mapping of those numbers.
extern bool (*b_pfnArrayError)(int error, int channel);

template <class M>
using b_MatElem = std::remove_pointer_t<decltype(M::pData)>;

inline constexpr int B_ESUBSCRIPT = 3029;
inline constexpr int B_ENOMEMORY = 12;

// 1 under base 0, 0 under base 1: the extent of a dimension is its upper
// bound plus this.
inline int _MatZ() { return b_lArrayBase == 0 ? 1 : 0; }

template <class M>
long long _MatCount(M const& m) {
    return static_cast<long long>(m.iDim1) * m.iDim2;
}

// Element conversion between kinds: to CInt16 by b_I, to CInt32 by b_L, to
// CDfp exactly. CInt16 to CInt32 goes through int because CInt32 has no
// constructor that takes a CInt16.
template <class T, class S>
T _MatConv(S const& s) {
    if constexpr (std::is_same_v<T, CInt32> && std::is_same_v<S, CInt16>)
        return CInt32(static_cast<int>(s.iValue));
    else
        return T(s);
}

// Runs work until it completes (true) or the handler abandons it (false).
template <class F>
bool _MatRetry(F&& work) {
    for (;;) {
        int iError;
        try {
            work();
            return true;
        } catch (...) {
            iError = b_CurrentErrorNumber();
        }
        if (!b_pfnArrayError(iError, 0)) return false;
    }
}

// nCount cleared elements, or null for none. Raises 12 when the count does
// not fit an int or the storage cannot be had (std::bad_alloc).
template <class T>
std::unique_ptr<T[]> _MatAlloc(long long nCount) {
    if (nCount > INT_MAX) throw B_ENOMEMORY;
    if (nCount <= 0) return nullptr;
    return std::unique_ptr<T[]>(new T[static_cast<std::size_t>(nCount)]());
}

// DIM: rows and cols are upper bounds, cols 0 for one dimension. Abandoned,
// the array has no elements.
template <class M>
void _MatDim(M& m, int rows, int cols) {
    m.nDims = cols == 0 ? 1 : 2;
    m.iDim1 = 0;
    m.iDim2 = m.nDims == 1 ? 1 : 0;
    m.pData = nullptr;
    _MatRetry([&] {
        if (rows < 1 || cols < 0) throw B_ESUBSCRIPT;
        long long n1 = static_cast<long long>(rows) + _MatZ();
        long long n2 = cols == 0 ? 1 : static_cast<long long>(cols) + _MatZ();
        auto p = _MatAlloc<b_MatElem<M>>(n1 * n2);
        m.pData = p.release();
        m.iDim1 = static_cast<int>(n1);
        m.iDim2 = static_cast<int>(n2);
    });
}

template <class M>
void _MatClone(M& m, M const& o) {
    m.nDims = o.nDims;
    m.iDim1 = 0;
    m.iDim2 = o.nDims == 1 ? 1 : 0;
    m.pData = nullptr;
    _MatRetry([&] {
        auto p = _MatAlloc<b_MatElem<M>>(_MatCount(o));
        std::copy(o.pData, o.pData + _MatCount(o), p.get());
        m.pData = p.release();
        m.iDim1 = o.iDim1;
        m.iDim2 = o.iDim2;
    });
}

template <class M>
int _MatUbound(M const& m, int n) {
    if (n == 1) return m.iDim1 - _MatZ();
    if (n == 2 && m.nDims == 2) return m.iDim2 - _MatZ();
    return 0;
}

// REDIM; true unless abandoned.
template <class M>
bool _MatRedim(M& m, int rows, int cols) {
    return _MatRetry([&] {
        if (rows < 1 || (m.nDims == 2 && cols < 1)) throw B_ESUBSCRIPT;
        long long n1 = static_cast<long long>(rows) + _MatZ();
        long long n2 = m.nDims == 1 ? 1 : static_cast<long long>(cols) + _MatZ();
        long long nOld = _MatCount(m);
        long long nNew = n1 * n2;
        if (nNew > INT_MAX) throw B_ENOMEMORY;
        if (nNew != nOld) {
            auto p = _MatAlloc<b_MatElem<M>>(nNew);
            std::move(m.pData, m.pData + std::min(nOld, nNew), p.get());
            delete[] m.pData;
            m.pData = p.release();
        }
        m.iDim1 = static_cast<int>(n1);
        m.iDim2 = static_cast<int>(n2);
    });
}

// The first nCount elements of pDst := those of pSrc, converted.
template <class T, class S>
void _MatConvertRun(T* pDst, S const* pSrc, long long nCount) {
    for (long long i = 0; i < nCount; ++i) pDst[i] = _MatConv<T>(pSrc[i]);
}

template <class M, class S>
void _MatCopy(M& m, S const& o, int rows, int cols) {
    _MatRetry([&] {
        int r = rows, c = cols;
        int n = b_NormalizeBounds(m.iDim1, m.iDim2, m.nDims, r, c);
        _MatConvertRun(m.pData, o.pData, std::min<long long>(_MatCount(o), n));
    });
}

template <class M, class S>
void _MatAssign(M& m, S const& o) {
    long long n = std::min(_MatCount(o), _MatCount(m));
    _MatConvertRun(m.pData, o.pData, n);
    std::fill(m.pData + n, m.pData + _MatCount(m), b_MatElem<M>());
}

template <class M>
void _MatFill(M& m, b_MatElem<M> const& x) {
    std::fill(m.pData, m.pData + _MatCount(m), x);
}

template <class M>
void _MatSet(M& m, b_MatElem<M> const& x, int rows, int cols) {
    _MatRetry([&] {
        int r = rows, c = cols;
        int n = b_NormalizeBounds(m.iDim1, m.iDim2, m.nDims, r, c);
        if (n > 0) std::fill(m.pData, m.pData + n, x);
    });
}

// The MAT CON / ZER / IDN walk: after Normalize, element (r, k) for internal
// rows z..rows-1 and columns z..cols-1 := value(r, k). A one-dimensional
// array's columns start at 0, its only column, under either base.
// dialect quirk: (r, k) is addressed as r x iDim2 + k, so a column count
// above iDim2 runs on into the next row: MAT bounds read storage in order.
template <class M, class F>
void _MatBlock(M& m, int rows, int cols, F&& value) {
    _MatRetry([&] {
        int r = rows, c = cols;
        b_NormalizeBounds(m.iDim1, m.iDim2, m.nDims, r, c);
        long long nCount = _MatCount(m);
        int s = _MatZ();
        int kFrom = m.nDims == 1 ? 0 : s;
        for (long long i = s; i < r; ++i) {
            for (long long k = kFrom; k < c; ++k) {
                long long a = i * m.iDim2 + k;
                // Normalize bounds only the product, so rows beyond iDim1
                // are possible; they would write past the storage.
                if (a >= nCount) break;
                m.pData[a] = value(i, k);
            }
        }
    });
}

template <class M>
void _MatConZer(M& m, b_MatElem<M> const& x, int rows, int cols) {
    _MatBlock(m, rows, cols, [&](long long, long long) { return x; });
}

template <class M>
void _MatIdn(M& m, int rows, int cols) {
    using T = b_MatElem<M>;
    if (m.nDims == 1) {
        _MatConZer(m, T(0), rows, cols);
        return;
    }
    _MatBlock(m, rows, cols, [](long long i, long long k) { return i == k ? T(1) : T(0); });
}

// Raw element images, as shared memory holds them.
template <class M>
void _MatRawCopy(M& m, char const* pBytes, int nCount) {
    using T = b_MatElem<M>;
    static_assert(std::is_trivially_copyable_v<T>, "raw images need plain elements");
    if (!pBytes || nCount <= 0) return;
    long long n = std::min<long long>(nCount, _MatCount(m));
    std::copy(pBytes, pBytes + n * static_cast<long long>(sizeof(T)), reinterpret_cast<char*>(m.pData));
}

template <class V, class M, class F>
std::vector<V> _MatToVector(M const& m, F&& conv) {
    std::vector<V> v;
    v.reserve(static_cast<std::size_t>(_MatCount(m)));
    for (long long i = 0; i < _MatCount(m); ++i) v.push_back(conv(m.pData[i]));
    return v;
}

// The out-of-range road of operator(): report 3029; on a repeat look again
// (the handler may have re-dimensioned the array), on abandon hand back a
// spare element freshly set to 0 or empty, so nothing written there before
// shows through.
template <class M>
b_MatElem<M>& _MatSubscript(M const& m, int i, int j) {
    static b_MatElem<M> s_Spare;
    for (;;) {
        unsigned long p;
        if (b_MatPos(m.iDim1, m.iDim2, m.nDims, i, j, p)) return m.pData[p];
        if (!b_pfnArrayError(B_ESUBSCRIPT, 0)) {
            s_Spare = b_MatElem<M>();
            return s_Spare;
        }
    }
}

}  // namespace morka
