// ConsoleWait: WAIT on the console, the ON TIMEOUT statements, COLOR and the
// redirection of the standard streams.
#pragma once

#include <csetjmp>
#include <cstdio>

namespace morka {

// ON TIMEOUT CALL handler (null: none) and the ON TIMEOUT GOTO target.
extern int (*pOnTimeoutCall)();
extern jmp_buf jmpTimeoutGoto;

// ON TIMEOUT seconds CALL handler: 0 seconds removes the handler and clears
// trap bit 0x01; otherwise installs it, sets the bit and disarms the GOTO form.
void OnTimeoutCall(int seconds, int (*handler)());
// ON TIMEOUT seconds GOTO: removes the handler; seconds != 0 or on arms it
// (bit 0x01, b_bOnTimeoutGoto), else disarms. Returns the buffer to setjmp.
jmp_buf* OnTimeoutGoto(int seconds, bool on);
// ON TIMEOUT ON / OFF: polls events, then sets or clears trap bit 0x01.
void OnTimeoutOn(bool on);
// The seconds a key read may wait before the timeout trap (0: no limit).
int b_TimeoutSeconds();
// The timeout trap: the CALL handler's result, or (GOTO form) Error.iTrap 2
// and a jump to jmpTimeoutGoto with value 1.
int b_TimeoutTrap();

// COLOR: foreground, background and the reverse pair of the current window;
// nothing in the plain stream mode.
void Color(int fg, int bg, int fg2, int bg2);

// Reopens stdin (for reading), stdout or stderr (for writing) on path; when
// that fails on "/dev/tty", then "/dev/null". The console channel follows
// standard input and output (device type 1 on a terminal, else 2).
void b_ConRedirect(FILE* stream, char const* path);

}  // namespace morka
