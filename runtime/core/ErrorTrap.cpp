// ErrorTrap: the error handler, the mapping between raw error numbers and
// BASIC error numbers, the ON ERROR GOTO protocol and the SIGFPE handler.
// The handler jumps to the program's ON ERROR target with longjmp only from
// outside any catch block (the statement frame leaves its catch first), so no
// exception stays in flight across the jump.
// The keyed-file drivers raise 1025 for a missing key; it maps to BASIC error
// 64 so that a program can trap a missing record like a duplicate (63) or
// the end of a keyed file (65).
#include <velbra/ErrorTrap.h>
#include <velbra/Debug.h>
#include <velbra/Events.h>
#include <velbra/Hooks.h>
#include <velbra/NumClasses.h>
#include <velbra/Startup.h>
#include <morka/morka.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <new>

namespace morka {

CErrorState Error;
int16_t iERR = 0;
int iERL = 0;
int iERP = 0;
int16_t iERF = 0;

namespace {

struct CErrorPair {
    int iFrom;
    int iTo;
};

// Raw number to BASIC error number, sorted by raw number.
constexpr CErrorPair s_aRawToBasic[] = {
    {0, 0},       {2, 30},      {4, 254},     {9, 27},      {13, 33},     {17, 119},
    {19, 46},     {23, 121},    {24, 120},    {28, 31},     {30, 33},     {39, 118},
    {1003, 35},   {1005, 46},   {1011, 32},   {1014, 35},   {1019, 28},   {1023, 49},
    {1024, 48},   {1025, 64},   {1028, 47},   {1029, 34},   {1053, 38},   {1057, 63},   {1058, 41},
    {1059, 42},   {1060, 43},   {1061, 44},   {1062, 45},   {1063, 65},   {1064, 69},
    {1087, 87},   {1088, 88},
};

// BASIC error number to raw number, sorted by BASIC number.
constexpr CErrorPair s_aBasicToRaw[] = {
    {27, 9},      {28, 1019},   {30, 2},      {31, 28},     {32, 1011},   {33, 30},
    {34, 1029},   {35, 1014},   {38, 1053},   {41, 1058},   {42, 1059},   {43, 1060},
    {44, 1061},   {45, 1062},   {46, 19},     {47, 1028},   {48, 1024},   {49, 1023},
    {63, 1057},   {64, 1025},   {65, 1063},   {69, 1064},   {87, 1087},   {88, 1088},   {89, 1034},
    {118, 39},    {119, 17},    {120, 24},    {121, 23},    {254, 4},
};

template <std::size_t N>
CErrorPair const* s_Find(CErrorPair const (&aTable)[N], int iKey) {
    auto it = std::lower_bound(std::begin(aTable), std::end(aTable), iKey,
                               [](CErrorPair const& e, int k) { return e.iFrom < k; });
    return it != std::end(aTable) && it->iFrom == iKey ? it : nullptr;
}

void s_ReleaseReserves() {
    delete[] b_ReservedNew;
    b_ReservedNew = nullptr;
    std::free(b_ReservedMalloc);
    b_ReservedMalloc = nullptr;
}

}  // namespace

void b_ErrorInit() {
    Error.iTrap = 0;
    Error.bThrow = false;
    Error.bOnErrorGoto = false;
    Error.pszLine = nullptr;
    Error.pszErrLine = nullptr;
    Error.iRawError = 0;
    Error.aiSaved[0] = Error.aiSaved[1] = 0;
    Error.iLine = 0;
    Error.iSrcLine = 0;
}

int b_QxErrno2Berror(int n) {
    CErrorPair const* p = s_Find(s_aRawToBasic, n);
    iERR = static_cast<int16_t>(p ? p->iTo : 0);
    return p ? 0 : 1;
}

int b_Berror2QxErrno(int k) {
    if (k == -3000) return 0;
    CErrorPair const* p = s_Find(s_aBasicToRaw, k);
    return p ? p->iTo : k;
}

bool b_ErrorHandler(int error, int channel) {
    iERL = Error.iLine;
    iERP = Error.iSrcLine;
    iERR = static_cast<int16_t>(b_I(error));
    iERF = static_cast<int16_t>(b_I(channel));
    if (error == 0) return true;
    if (error == 12) s_ReleaseReserves();

    Error.iRawError = error;
    if (b_QxErrno2Berror(error) != 0) b_ErrorFatalHandler(error);
    if (Error.bThrow) throw static_cast<int>(iERR);

    Error.iTrap = 1;
    Error.pszErrLine = Error.pszLine;
    Error.aiSaved[0] = Error.iLine;
    Error.aiSaved[1] = Error.iSrcLine;
    if (Error.bOnErrorGoto) {
        if (DBG.bActive) DBG.OnErrorPush(Error.pszFile, Error.iSrcLine);
        longjmp(Error.jmpOnError, 1);
    }
    b_ErrorPrint(iERR ? 3000 + iERR : error);
    b_Terminate(253);
    return false;
}

jmp_buf* OnErrorGoto(bool on) {
    Error.bOnErrorGoto = on;
    return &Error.jmpOnError;
}

int b_ErrorResume() {
    int iOld = Error.iTrap;
    Error.iTrap = 0;
    Error.pszLine = Error.pszErrLine;
    Error.iLine = Error.aiSaved[0];
    Error.iSrcLine = Error.aiSaved[1];
    if (DBG.bActive) DBG.Pop();
    return iOld;
}

bool b_SkipSetJmp() {
    if (Error.iTrap != 0) return true;
    if (Error.bOnErrorGoto) return false;
    if (b_bOnEventGoto && (b_iOnSignalsTraps & 0x200)) return false;
    if (b_iOnKeyGoto > 0 && (b_iOnSignalsTraps & 0x100)) return false;
    if (b_bOnMouseGoto && (b_iOnSignalsTraps & 0xFE)) return false;
    if (b_bOnTimeoutGoto && (b_iOnSignalsTraps & 0x01)) return false;
    return true;
}

void b_ErrorPrint(int n) {
    TermPrintf("\r%s", ErrorMessage(n).c_str());
    if (Error.pszFile && Error.pszProc) TermPrintf(" in %s:%s", Error.pszFile, Error.pszProc);
    if (Error.pszLine && *Error.pszLine)
        TermPrintf(", line %s:%u\r", Error.pszLine, static_cast<unsigned>(iERP));
    else if (iERP != 0)
        TermPrintf(", line %u:%u\r", static_cast<unsigned>(iERL), static_cast<unsigned>(iERP));
    else
        TermPrintf("\r");
    if (TermHasNCurses()) b_ConGetW(0);
}

void b_ErrorFatalHandler(int n) {
    b_ErrorPrint(n);
    b_Terminate(253);
    // 253 never reaches ON EXIT handling, so b_Terminate does not return.
    t_Terminate(253);
}

void b_Sigfpe(int) {
    // Division by zero has no BASIC number: the handler prints it and ends
    // the program, so nothing returns into the faulting instruction.
    b_ErrorHandler(3050, 0);
    t_Terminate(253);
}

int b_CurrentErrorNumber() {
    try {
        throw;
    } catch (int n) {
        return n;
    } catch (std::bad_alloc const&) {
        return 12;
    } catch (...) {
        return MORKA_EINTERNAL;
    }
}

}  // namespace morka
