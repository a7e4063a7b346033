// TypeBase: type-code letters, type maps, prepared variable lists, the array
// header CTypeBase, the one walker of type-code strings and the one frame in
// which every statement runs.
//
// Letters: lower case a single value, upper case an array of that kind.
//   d CDfp  i CInt16  l CInt32  s string  z constant text  c/t record (map)
//   r IoList  p print end  '\t' TAB(n)  e ENUM (maps only)  D I L S C T arrays
// Output statements pass values ('d' a dfp_t, 'i'/'l' an int, 's' a
// CBString const*, 'z' a char const*); input statements pass addresses. The
// walker turns both into CItem records that always carry an address, so a
// statement's worker handles one shape.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <velbra/ErrorTrap.h>
#include <velbra/Events.h>
#include <velbra/NumClasses.h>

namespace morka {

struct QXFILE;

// One entry of a type map emitted by the compiler; a map ends with cType 0.
struct CTypeMap {
    char cType;
    int eScope;
    char const* pszTypeName;
    char const* pszName;
    void* pAddress;
    CTypeMap const* pSubMap;
    int* piDims;
    int* piDim1;
    int* piDim2;
    int64_t nSize;
};

// Storage classes of CTypeMap::eScope.
enum : int {
    SCOPE_UNDEFINED = 0, SCOPE_CONSTANT = 1, SCOPE_COMMON = 2, SCOPE_PUBLIC = 3,
    SCOPE_SHARED = 4, SCOPE_LOCAL = 5, SCOPE_AUTO = 6, SCOPE_STATIC = 7,
    SCOPE_MAINLOCAL = 8, SCOPE_MEMBER_PUBLIC = 9, SCOPE_MEMBER_LOCAL = 10,
    SCOPE_MEMBER_PUBLIC_STATIC = 11, SCOPE_MEMBER_LOCAL_STATIC = 12,
};
// The text shown for each storage class (0..12).
extern char const* const b_acszScope[13];

// A prepared variable list (Iolist): the type letters and one address each.
struct IoList {
    std::unique_ptr<char[]> pszTypes;
    std::unique_ptr<void*[]> apVars;
};

// Releases the list's previous arrays, copies types and stores one variadic
// pointer per letter.
void Iolist(IoList* pList, char const* pszTypes, ...);

// Array header that compiled code builds its own typed arrays on.
class CTypeBase {
public:
    int iDim1 = 0;
    int iDim2 = 0;
    int nDims = 0;
    CTypeMap tMap;

    CTypeBase();
    CTypeBase(CTypeBase const&) = delete;
    CTypeBase& operator=(CTypeBase const&) = delete;
    // Upper bound of dimension n (1 or 2); 0 for any other n.
    int Ubound(int n) const;
    // MAT bounds to extents (0 means the whole extent); raises 3029 when a
    // bound is negative or the product exceeds the storage. Returns the product.
    int Normalize(int& rows, int& cols) const;
};

// The MAT bounds rule shared by CTypeBase and the array classes: rows/cols of
// 0 take the whole extent, others are upper bounds (+1 under base 0); raises
// 3029 for a negative bound or a product beyond iDim1 x iDim2.
int b_NormalizeBounds(int iDim1, int iDim2, int nDims, int& rows, int& cols);

// One operand as the walker hands it to a statement's worker.
struct CItem {
    char cType = 0;                 // d i l s z p '\t' D I L S C T
    void* pVar = nullptr;           // CDfp*, CInt16*, CInt32*, CBString*, char const* (z), array object
    int iEnd = 0;                   // 'p' print end, TAB column, MAT print end
    int iRows = 0;                  // MAT forms
    int iCols = 0;
    CTypeMap const* pMap = nullptr; // 'C'/'T': first element map
    int64_t nStride = 0;            // 'C'/'T': distance between element maps
};

class CTypeVisitor {
public:
    virtual ~CTypeVisitor() = default;
    virtual void Item(CItem const& item) = 0;
    // Called before the first and after the last variable of an IoList ('r').
    virtual void ListBegin() {}
    virtual void ListDone() {}
};

enum class t_Pass { Output, Input };

// How a record map is walked. Members: the public members (storage class 9),
// CLASS ('c') and STRUCTURE ('t') fields recursively (PRINT, INPUT, records
// in files). Data: every field whatever its storage class, STRUCTURE fields
// recursively, CLASS fields and arrays of CLASS records stepped over (DATA).
enum class t_MapWalk { Members, Data };

// Walks pszTypes left to right, consuming operands from *pAp. Letters not in
// pszAccepted raise 1030 (pFile->iErrno set first when pFile is given). MAT
// letters take (array, rows, cols) and, when bMatEnd, a print end too.
// Records ('c', 't') are walked with eMapWalk.
void b_WalkTypes(char const* pszTypes, va_list* pAp, t_Pass ePass, char const* pszAccepted,
                 bool bMatEnd, CTypeVisitor& visitor, QXFILE* pFile = nullptr,
                 t_MapWalk eMapWalk = t_MapWalk::Members);
// The variables of an io list ('r'): d i l s in order (other letters stepped
// over), between ListBegin and ListDone (both also for an empty list).
void b_WalkList(IoList const* pList, CTypeVisitor& visitor);
// Stores 1030 in pFile->iErrno (when given) and raises it.
[[noreturn]] void b_RaiseTypeCode(QXFILE* pFile);
// Walks a record map in order, as eMapWalk says; array fields arrive as one
// item each (rows and cols 0: the whole array).
void b_WalkMap(CTypeMap const* pMap, CTypeVisitor& visitor, t_MapWalk eMapWalk = t_MapWalk::Members);
// Walks the element records of an array of records. pDesc is the array's
// descriptor entry: pSubMap the first element's map, piDims/piDim1/piDim2 the
// dimensions and extents E1, E2, nSize the stride between element maps.
// Elements 1..E1-1 (and 1..E2-1 for each of them in two dimensions), the
// element (i, j) lying ((i - base) x E2 + (j - base)) x stride after the
// first; at most rows x cols elements when that product is not 0. Each
// element is walked with b_WalkMap.
void b_WalkRecordArray(CTypeMap const* pDesc, int rows, int cols, CTypeVisitor& visitor,
                       t_MapWalk eMapWalk = t_MapWalk::Members);
// Hands the elements of an array item ('D' 'I' 'L' 'S' with the array object
// in pVar, 'C' 'T' with the descriptor in pMap) to the visitor one by one:
// numeric and string elements as 'd' 'i' 'l' 's' items, records through
// b_WalkRecordArray. Numeric and string arrays transfer the elements 1..rows
// (and 1..cols of each row in two dimensions), where rows is the item's rows
// when that is non-zero and below the upper bound U1, else U1 (cols likewise
// against U2); element 0 never; a negative count transfers nothing.
void b_WalkArray(CItem const& item, CTypeVisitor& visitor, t_MapWalk eMapWalk = t_MapWalk::Members);

// The walk of b_WalkTypes with the visitor's Item bound at compile time (a
// final visitor class): b_WalkTypes is this walk through CTypeVisitor, and
// the record codec, run once per field of every record, uses it directly.
template <class TVisitor>
void b_WalkTypesStatic(char const* pszTypes, va_list* pAp, t_Pass ePass, char const* pszAccepted,
                       bool bMatEnd, TVisitor& visitor, QXFILE* pFile = nullptr,
                       t_MapWalk eMapWalk = t_MapWalk::Members) {
    if (!pszTypes) return;
    bool bOut = ePass == t_Pass::Output;
    // The accepted letters as a bit set (letters are 64..127, the others
    // 0..63), kept in registers: one test per letter.
    uint64_t uLow = 0, uHigh = 0;
    for (char const* p = pszAccepted; *p; ++p) {
        auto u = static_cast<unsigned char>(*p);
        if (u < 64) uLow |= 1ULL << u;
        else if (u < 128) uHigh |= 1ULL << (u - 64);
    }
    for (char const* p = pszTypes; *p; ++p) {
        char c = *p;
        auto u = static_cast<unsigned char>(c);
        bool bAccepted = u < 64 ? (uLow >> u & 1) : u < 128 ? (uHigh >> (u - 64) & 1) : false;
        if (!bAccepted) b_RaiseTypeCode(pFile);
        CItem item;
        item.cType = c;
        // Values of output statements live here while the visitor runs.
        CDfp xValue;
        CInt16 iValue16;
        CInt32 iValue32;
        switch (c) {
        case 'd':
            if (bOut) {
                xValue.xValue = va_arg(*pAp, dfp_t);
                item.pVar = &xValue;
            } else {
                item.pVar = va_arg(*pAp, CDfp*);
            }
            break;
        case 'i':
            if (bOut) {
                iValue16 = CInt16(va_arg(*pAp, int));
                item.pVar = &iValue16;
            } else {
                item.pVar = va_arg(*pAp, CInt16*);
            }
            break;
        case 'l':
            if (bOut) {
                iValue32 = CInt32(va_arg(*pAp, int));
                item.pVar = &iValue32;
            } else {
                item.pVar = va_arg(*pAp, CInt32*);
            }
            break;
        case 's':
        case 'z':
            item.pVar = va_arg(*pAp, void*);
            break;
        case 'c':
        case 't':
            b_WalkMap(va_arg(*pAp, CTypeMap const*), visitor, eMapWalk);
            continue;
        case 'r':
            b_WalkList(va_arg(*pAp, IoList const*), visitor);
            continue;
        case 'p':
        case '\t':
            item.iEnd = va_arg(*pAp, int);
            break;
        case 'D':
        case 'I':
        case 'L':
        case 'S':
        case 'C':
        case 'T':
            item.pVar = va_arg(*pAp, void*);
            item.iRows = va_arg(*pAp, int);
            item.iCols = va_arg(*pAp, int);
            if (bMatEnd) item.iEnd = va_arg(*pAp, int);
            if (c == 'C' || c == 'T') {
                item.pMap = static_cast<CTypeMap const*>(item.pVar);
                item.nStride = item.pMap ? item.pMap->nSize : 0;
            }
            break;
        default:
            b_RaiseTypeCode(pFile);
        }
        visitor.Item(item);
    }
}

// The statement frame: poll events, run the work (which checks its channel and
// does the statement), hand a raised error to b_ErrorHandler and repeat the
// statement while the handler answers true.
template <class TWork>
void b_StatementFrame(int iChannel, TWork&& work) {
    for (;;) {
        int iError;
        try {
            b_CheckAll();
            work();
            return;
        } catch (...) {
            iError = b_CurrentErrorNumber();
        }
        if (!b_ErrorHandler(iError, iChannel)) return;
    }
}

// Owns a va_copy for one run of a statement's worker, so that a repeated
// statement starts with a fresh argument list.
class CVaCopy {
public:
    explicit CVaCopy(va_list ap) { va_copy(m_ap, ap); }
    ~CVaCopy() { va_end(m_ap); }
    CVaCopy(CVaCopy const&) = delete;
    CVaCopy& operator=(CVaCopy const&) = delete;
    va_list* Get() { return &m_ap; }

private:
    va_list m_ap;
};

}  // namespace morka
