// Term: terminal output of the system layer. For now every program runs in the
// plain stream mode: output goes to standard output. The system's line end on
// the terminal is CR; the stream mode writes it as a new line ("\n") and
// swallows an LF that directly follows a CR, so "\r\n" is one line end too.
#pragma once

#include <cstddef>

namespace morka {

class CTermState {
public:
    int iColumn = 0;        // 0-based column of the cursor
    int iLine = 1;          // 1-based line of the cursor
    int iPage = 1;          // 1-based page
    int iMode = 1;          // 1 plain stream; full-screen modes come with the terminal driver
    bool bLastWasCR = false;
};
extern CTermState Term;

// Writes nLen bytes (nLen < 0: up to the NUL).
void TermWrite(char const* pText, int nLen = -1);
// Writes one byte.
void TermPut(int c);
// Formatted output (printf rules) through TermWrite.
void TermPrintf(char const* pszFormat, ...) __attribute__((format(printf, 1, 2)));
// Moves to column iColumn (0-based) with blanks; nothing when the cursor is
// already at or past it.
void TermTab(int iColumn);
// Makes written output visible (flushes the stream).
void TermRefresh();
// Cursor line (1-based), page number (1-based).
int TermLine();
int TermPage();
// True when the terminal runs under the full-screen terminal library.
bool TermHasNCurses();

}  // namespace morka
