// Startup: the frame of a compiled program: b_Init before the first
// statement, b_Terminate (END, STOP, QUIT, fatal errors, signals) or the exit
// handler at the end, the GOSUB stack, ON EXIT GOTO/CALL, OPTION statements
// and TRACE. Exit codes: 253 fatal run-time error, 254 break, 200 + n signal n.
#pragma once

#include <csetjmp>
#include <cstdint>

namespace morka {

extern char const b_szVersion[];   // "26.01.15"
extern char const b_szBanner[];    // "Velbra Runtime 26.01.15"

extern char* b_ReservedNew;        // 1024-byte reserve from the array allocator
extern void* b_ReservedMalloc;     // 1024-byte reserve from malloc
extern jmp_buf* b_gosub_stack;     // one jump buffer per pending GOSUB
extern uint16_t b_gosub_calls;     // entries in use
extern uint16_t b_gosub_max;       // entries allocated (32 at start, +16 each growth)
extern bool b_bOnExitGoto;
extern jmp_buf b_exit_goto;
extern int (*b_OnExitCall)();
extern int CMDARGS;                // command-line arguments after the program name
extern bool b_bUseLink;            // started by a linking parent
extern int CSI_RETURN_CODE;        // result of the last SYSTEM command
extern int CALL_RETURN_VALUE;      // result of the last CALL routine

// Initialises the run-time; returns true. Exits the process on failure
// (status 12 out of memory, 1 system layer start-up error).
bool b_Init(int argc, char** argv, bool flag);
// Ends the program with code. Returns only when an ON EXIT CALL handler
// answers 2 (codes below 253 only).
void b_Terminate(int code);
// The clean-up run once at the end (also registered with atexit).
void Exit();
// Signal handler of SIGINT/SIGQUIT/SIGTERM (code 254) and SIGSEGV (200 + n).
void b_Signal(int sig);

// ON EXIT GOTO: arms or disarms it, clears ON EXIT CALL, returns the buffer.
jmp_buf* OnExitGoto(bool on);
// ON EXIT CALL: disarms ON EXIT GOTO and installs handler (null removes it).
void OnExitCall(int (*handler)());

// Next free GOSUB entry for the program to fill with setjmp. Raises 12 when
// the stack cannot grow.
jmp_buf* b_AllocGosub();

// TRACE: the formatted text cut to 39 characters, to the terminal.
void b_Trace(char const* pszFormat, ...) __attribute__((format(printf, 1, 2)));

void OptionCase(char const* s);
void OptionComma();
void OptionNocomma();
void OptionDateform(int n);
void OptionDateform(char const* s);
void OptionDatein(int n);
void OptionDateout(int n);
void OptionPrompt(char const* s);
void OptionPriv(int level);
void OptionLock(int mode);
void OptionVersion(char const*, char const*);

}  // namespace morka
