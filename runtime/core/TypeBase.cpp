// TypeBase: IoList, the CTypeBase array header and the walker of type-code
// strings and record maps that every variadic statement shares.
// An 'e' (ENUM) field met inside a record map is skipped: no statement reads
// or writes enum fields.
#include <velbra/TypeBase.h>
#include <velbra/FileApi.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

char const* const b_acszScope[13] = {
    "UNDEFINED", "CONSTANT", "COMMON", "PUBLIC", "SHARED", "LOCAL", "AUTO",
    "STATIC", "MAINLOCAL", "PUBLIC", "LOCAL", "PUBLIC STATIC", "LOCAL STATIC",
};

void Iolist(IoList* pList, char const* pszTypes, ...) {
    if (!pList) return;
    pList->pszTypes.reset();
    pList->apVars.reset();
    if (!pszTypes) pszTypes = "";
    std::size_t n = std::strlen(pszTypes);
    pList->pszTypes.reset(new char[n + 1]);
    std::memcpy(pList->pszTypes.get(), pszTypes, n + 1);
    pList->apVars.reset(new void*[n ? n : 1]());
    va_list ap;
    va_start(ap, pszTypes);
    for (std::size_t i = 0; i < n; ++i) pList->apVars[i] = va_arg(ap, void*);
    va_end(ap);
}

CTypeBase::CTypeBase()
    : tMap{0, SCOPE_UNDEFINED, nullptr, nullptr, this, nullptr, &nDims, &iDim1, &iDim2, 8} {}

int CTypeBase::Ubound(int n) const {
    int z = b_lArrayBase == 0 ? 1 : 0;
    if (n == 1) return iDim1 - z;
    if (n == 2 && nDims == 2) return iDim2 - z;
    return 0;
}

int b_NormalizeBounds(int iDim1, int iDim2, int nDims, int& rows, int& cols) {
    int z = b_lArrayBase == 0 ? 1 : 0;
    if (rows < 0 || (nDims == 2 && cols < 0)) throw 3029;
    // In 64 bits, so that a bound near INT_MAX cannot wrap past the test.
    long long lRows = rows == 0 ? iDim1 : static_cast<long long>(rows) + z;
    long long lCols = cols == 0 ? iDim2 : static_cast<long long>(cols) + z;
    if (lRows * lCols > static_cast<long long>(iDim1) * iDim2) throw 3029;
    rows = static_cast<int>(lRows);
    cols = static_cast<int>(lCols);
    return static_cast<int>(lRows * lCols);
}

int CTypeBase::Normalize(int& rows, int& cols) const { return b_NormalizeBounds(iDim1, iDim2, nDims, rows, cols); }

namespace {

bool s_IsArrayLetter(char c) { return c == 'D' || c == 'I' || c == 'L' || c == 'S' || c == 'C' || c == 'T'; }

}  // namespace

void b_WalkList(IoList const* pList, CTypeVisitor& visitor) {
    visitor.ListBegin();
    // The end of a list is signalled even for an empty one, so statements
    // that treat list items apart always see where the list stops.
    if (!pList || !pList->pszTypes) {
        visitor.ListDone();
        return;
    }
    char const* psz = pList->pszTypes.get();
    for (std::size_t i = 0; psz[i]; ++i) {
        char c = psz[i];
        if (c != 'd' && c != 'i' && c != 'l' && c != 's') continue;
        CItem item;
        item.cType = c;
        item.pVar = pList->apVars[i];
        visitor.Item(item);
    }
    visitor.ListDone();
}

void b_WalkMap(CTypeMap const* pMap, CTypeVisitor& visitor, t_MapWalk eMapWalk) {
    bool bData = eMapWalk == t_MapWalk::Data;
    for (; pMap && pMap->cType; ++pMap) {
        if (!bData && pMap->eScope != SCOPE_MEMBER_PUBLIC) continue;
        char c = pMap->cType;
        if (bData && (c == 'c' || c == 'C')) continue;
        if (c == 'c' || c == 't') {
            b_WalkMap(pMap->pSubMap, visitor, eMapWalk);
            continue;
        }
        if (c == 'e' || c == 'E') continue;
        CItem item;
        item.cType = c;
        item.pVar = pMap->pAddress;
        if (s_IsArrayLetter(c)) {
            item.pMap = pMap;
            item.nStride = pMap->nSize;
        }
        visitor.Item(item);
    }
}

void b_WalkRecordArray(CTypeMap const* pDesc, int rows, int cols, CTypeVisitor& visitor, t_MapWalk eMapWalk) {
    if (!pDesc || !pDesc->pSubMap || !pDesc->piDim1) return;
    int nDims = pDesc->piDims ? *pDesc->piDims : 1;
    int iExt1 = *pDesc->piDim1;
    int iExt2 = nDims == 2 && pDesc->piDim2 ? *pDesc->piDim2 : 1;
    int iBase = static_cast<int>(b_lArrayBase);
    // dialect quirk: indices run to the extent minus 1 under either array
    // base, so under base 1 the last element is not transferred; stored
    // records depend on this field order.
    int iLast1 = iExt1 - 1;
    int iLast2 = nDims == 2 ? iExt2 - 1 : 1;
    long long nLimit = static_cast<long long>(rows) * cols;
    long long nDone = 0;
    char const* pFirst = reinterpret_cast<char const*>(pDesc->pSubMap);
    for (int i = 1; i <= iLast1; ++i) {
        for (int j = 1; j <= iLast2; ++j) {
            if (nLimit != 0 && nDone >= nLimit) return;
            long long k = nDims == 2 ? static_cast<long long>(i - iBase) * iExt2 + (j - iBase) : i - iBase;
            b_WalkMap(reinterpret_cast<CTypeMap const*>(pFirst + k * pDesc->nSize), visitor, eMapWalk);
            ++nDone;
        }
    }
}

void b_RaiseTypeCode(QXFILE* pFile) {
    if (pFile) pFile->iErrno = MORKA_ETYPECODE;
    throw static_cast<int>(MORKA_ETYPECODE);
}

void b_WalkTypes(char const* pszTypes, va_list* pAp, t_Pass ePass, char const* pszAccepted,
                 bool bMatEnd, CTypeVisitor& visitor, QXFILE* pFile, t_MapWalk eMapWalk) {
    b_WalkTypesStatic(pszTypes, pAp, ePass, pszAccepted, bMatEnd, visitor, pFile, eMapWalk);
}

}  // namespace morka
