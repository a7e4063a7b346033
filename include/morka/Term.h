// Term: the terminal of the system layer: output with the system's control
// codes, windows and cursor, keys, and the terminal modes.
//
// Modes. 1: a plain stream (standard output; CR is the line end and is
// written as "\n", an LF that directly follows a CR is swallowed). 2: a
// terminal driven directly through terminfo: raw keyboard, the control codes
// rendered in place, the normal screen kept (what was written stays after the
// program ends). 3: full screen under ncurses on the alternate screen, with
// windows as curses panels. TermInit picks the mode (see there); every mode
// but 1 interprets the control codes below.
//
// Output control codes (one byte each, in the system's character set):
//   1 home   2 hold updates   3 release and update   4/5 dim on/off
//   6 right  7 bell   8 left   9 tab (every 8 columns)   10 down
//   11/22 underline on/off   12 clear window, cursor home   13 new line
//   14/15 reverse on/off   16 c r cursor address (column + 31, row + 31,
//   both counted from 1)   17/18 insert/delete line   19/20 insert/delete
//   character   21/25 cursor off/on   23 erase to end of line   24 erase to
//   end of window   26 up   27 0x7F f b f2 b2: colour change (four digits
//   '0'..'7')   28 erase unprotected (cells not written dim), cursor home
//   29/30 blink on/off   128 new line.
// Codes 0, 31, 127 and 129..133 have no function on this terminal; an ESC
// not followed by 0x7F is dropped. Bytes 160..185 are the line-drawing
// characters (corners, tees, lines, shades, single and double), drawn with
// the terminal's line graphics.
#pragma once

#include <cstdio>

namespace morka {

// Terminal modes (CTermState::iMode).
enum : int { TERM_STREAM = 1, TERM_DIRECT = 2, TERM_CURSES = 3 };

// Attribute bits of a window's pen (CTermWin::uAttr).
enum : unsigned { TATTR_REVERSE = 1, TATTR_UNDERLINE = 2, TATTR_DIM = 4, TATTR_BLINK = 8 };

// A text window. Window 0 is the whole screen and is always open; the window
// manager opens the others. Rows and columns count from 0.
struct CTermWin {
    bool bOpen = false;
    int iLeft = 0, iTop = 0;        // screen position of the top-left cell
    int nWidth = 80, nHeight = 24;
    int iRow = 0;                   // cursor row
    int iColumn = 0;                // cursor column; nWidth: a wrap is pending
    unsigned uAttr = 0;             // TATTR_* of the text written next
    bool bColored = false;          // aColor applies (else the terminal's own colours)
    int aColor[4] = {7, 0, 0, 7};   // foreground, background, and the pair for reverse text
    void* pWin = nullptr;           // mode 3: the curses WINDOW
    void* pPanel = nullptr;         // mode 3: its PANEL
};

// Highest window number.
constexpr int TERM_MAX_WIN = 250;

class CTermState {
public:
    int iMode = TERM_STREAM;
    bool bStopInput = false;        // keyboard gone: key reads give -1 at once
    bool bAttention = false;        // the attention key was pressed (set by the key reader)
    int iTimeout = 0;               // ON TIMEOUT seconds
    int iCharset = 256;             // system set shown and typed: 256 Zezir, 512 MORKA
    int iCursor = 1;                // cursor shape: 0 off, 1 normal, 2 very visible
    int iAttentionKey = 3;          // byte of the attention key in modes 2 and 3 (b_attnkey)
    bool bInRedirected = false;     // standard input redirected by the program
    bool bOutRedirected = false;    // standard output redirected by the program
    int iColumn = 0;                // mode 1: column of the output
    bool bUtf8Out = false;          // mode 1: standard output is a UTF-8 terminal
    bool bUtf8In = false;           // mode 1: standard input is a UTF-8 terminal
    bool bLastWasCR = false;        // the last byte written was a line end
    int iActive = 0;                // number of the active window
    CTermWin aWins[TERM_MAX_WIN + 1];
};
extern CTermState Term;

// Starts the terminal in iMode (1, 2 or 3). Modes 2 and 3 need standard input
// and output on a terminal whose TERM description has cursor addressing;
// otherwise, or when that terminal cannot be set up, mode 1 is used. t_Init
// calls it with the mode chosen by the environment value b_termmode ("1",
// "2" or "3"; unset: 3 on a terminal, 1 otherwise). A running full-screen
// mode is left first. Returns the mode in force.
int TermInit(int iMode);
// Restores the terminal (modes, attributes, cursor, normal screen) and goes
// back to mode 1. Idempotent; safe on the road of a signal that interrupted
// a terminal call (then only the saved tty modes and reset strings are
// written).
void TermExit();
// bResume false: leaves full-screen mode for a while (the tty back in its
// normal modes, e.g. around a shell command); true: takes it up again and
// redraws. Nothing in mode 1.
void TermSuspend(bool bResume);
// True in mode 3 (the terminal runs under ncurses).
bool TermHasNCurses();

// Writes nLen bytes (nLen < 0: up to the NUL) in the system's character set.
void TermWrite(char const* pText, int nLen = -1);
// Writes one byte.
void TermPut(int c);
// Formatted output (printf rules) through TermWrite, then TermRefresh.
void TermPrintf(char const* pszFormat, ...) __attribute__((format(printf, 1, 2)));
// Writes blanks up to column iColumn (0-based) of the cursor's line; nothing
// when the cursor is already at or past it.
void TermTab(int iColumn);
// Makes written output visible (flushes the stream, updates the screen). In
// full-screen mode code 2 holds this back until code 3.
void TermRefresh();
// Moves the cursor of the active window (clamped to the window).
void TermMove(int iRow, int iColumn);
// The record of window iWindow (-1: the active one); null when it is not open.
CTermWin* TermGetWin(int iWindow = -1);
// Number of the active window.
int TermGetActive();
// Line width (columns) of the active window.
int TermLine();
// Page length (rows) of window iWindow (-1: the active one).
int TermPage(int iWindow = -1);
// Cursor of the active window and the cursor shape (0 off, 1 normal, 2 very
// visible). The column is clamped to the window.
void TermGetCursor(int& iRow, int& iColumn, int& iShape);
// Sets the cursor shape; returns the previous one.
int TermSetCursor(int iShape);
// Colours of the active window's pen, 0..7 in the PC order (0 black, 1 blue,
// 2 green, 3 cyan, 4 red, 5 magenta, 6 brown, 7 white): foreground and
// background of text, and the pair used for reverse text. A negative value
// keeps that colour. Nothing in mode 1.
void TermColor(int iFg, int iBg, int iFg2, int iBg2);
// Selects the system character set shown and typed: 256 Zezir, 512 MORKA;
// other values change nothing.
void TermCharSet(int iCharset);
// The program has redirected standard input / output (or taken it back):
// full-screen modes keep working on their own descriptors of the terminal.
// A new standard input clears Term.bStopInput.
void TermRedirectIn(bool bRedirected);
void TermRedirectOut(bool bRedirected);

// Special keys come as TERM_KEY_SPECIAL plus the curses key number, in the
// numbering of the xterm description (see TermKeys.h) on every terminal.
constexpr int TERM_KEY_SPECIAL = 0x1000000;

// Reads one key from the keyboard. iWait > 0: at most iWait seconds; 0: as
// long as it takes; < 0: only a key already typed. Returns a character of
// the system set (0..255; Enter is 13, Backspace the byte the terminal
// sends), TERM_KEY_SPECIAL + code for a special key, 0 for the attention key
// (modes 2 and 3: the byte Term.iAttentionKey, Ctrl-C unless b_attnkey says
// otherwise), and -1 when no key came in time or the keyboard is gone (then
// Term.bStopInput is set). A key kept by TermKeyReady comes first.
int TermServGetch(int iWait);
// True when a key can be read at once (it is kept for TermServGetch).
bool TermKeyReady();
// The key code the editors and choice lists work with: characters and codes
// that are no special key unchanged; special keys without modifier to one
// byte (Up 11, Down 10, Left 8, Right 12, Home 20, End 25, Page Up 2, Page
// Down 16, Backspace 127, Insert 18, Delete 26, keypad Enter 13); every other
// special key in the table to its key token (key number 256..280 plus the
// modifier group, as ON KEY numbers them: F1 is 269, Shift+F1 0x1000 + 269);
// unknown special keys to 0; -1 stays -1.
int TermConvIn(int iKey);

// The character output the extension routines use: one byte, a text, and a
// cursor move (column, row, 0-based) in the active window.
void putch(int c);
void cputs(char const* psz);
void at(int iColumn, int iRow);

}  // namespace morka
