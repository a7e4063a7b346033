// ErrorTrap: error numbers, the BASIC error variables, the error and trap
// state shared with compiled code, and the ON ERROR GOTO protocol.
//
// Error numbers: 1..999 operating-system numbers, 1000..2999 system-layer
// numbers, 3000 + k BASIC error k. Only numbers with a BASIC equivalent can be
// trapped; every other number ends the program with its message and code 253.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <morka/CBString.h>

namespace morka {

// The error and trap state. Compiled code keeps pszLine/iLine/iSrcLine (and
// the file and procedure names) up to date as it runs.
struct CErrorState {
    int iTrap = 0;                   // 0 none, 1 error, 2 timeout, 3 key, 4 mouse, 5 event, 6 exit
    bool bThrow = false;             // re-raise errors as their BASIC number
    bool bOnErrorGoto = false;       // ON ERROR GOTO armed
    char const* pszSource = nullptr; // path of the current source file
    char const* pszLine = nullptr;   // label or line text of the current statement
    char const* pszErrLine = nullptr;// pszLine saved when a trap is taken
    char const* pszFile = nullptr;   // current source file name
    char const* pszProc = nullptr;   // current procedure name
    int iRawError = 0;               // raw number of the last error handled
    int aiSaved[2] = {0, 0};         // iLine, iSrcLine saved when a trap is taken
    int iLine = 0;                   // BASIC line number of the current statement
    int iSrcLine = 0;                // source line of the current statement
    jmp_buf jmpOnError;              // ON ERROR GOTO target, filled by the program
};

extern CErrorState Error;

// BASIC error variables ERR, ERL, ERP and the failing channel.
extern int16_t iERR;
extern int iERL;
extern int iERP;
extern int16_t iERF;

// Clears the trap state (start-up).
void b_ErrorInit();
// Handles error number `error` raised by a statement on `channel`. Returns
// true when the statement is to be repeated (error 0), false when the program
// goes on after it. May instead jump to the ON ERROR GOTO target, raise the
// BASIC number again (bThrow), or end the program with code 253.
bool b_ErrorHandler(int error, int channel);
// Arms or disarms ON ERROR GOTO; returns the jump buffer to fill with setjmp.
jmp_buf* OnErrorGoto(bool on);
// Ends the trap being served (RESUME, end of a trap routine): returns the old
// trap kind and restores the saved line state.
int b_ErrorResume();
// True when the program may skip refilling its trap jump buffer before the
// next statement (no GOTO-form trap armed, or a trap is being served).
bool b_SkipSetJmp();
// Prints the message of n with the location of the current statement.
void b_ErrorPrint(int n);
// Prints the message of n and ends the program with code 253.
[[noreturn]] void b_ErrorFatalHandler(int n);
// Sets iERR from the mapping table; 0 when n has a BASIC number (or is 0),
// else 1 with iERR = 0.
int b_QxErrno2Berror(int n);
// The raw number of BASIC error k (reverse table); other numbers unchanged.
int b_Berror2QxErrno(int k);
// Message text of error number n (system-layer text up to 2999).
CBString ErrorMessage(int n);
// The SIGFPE handler: raises error 3050 (Division by zero).
void b_Sigfpe(int sig);

// Turns the exception in flight into an error number: an int as it is,
// std::bad_alloc as 12, anything else as the internal-failure number. Called
// only from inside a catch (...) block.
int b_CurrentErrorNumber();

}  // namespace morka
