// TermImpl: what the terminal's modules share inside libmorka. A full-screen
// mode is a screen driver: the output interpreter (TermOutput) turns the
// control codes into the driver's cell operations on a window, the key reader
// (TermInput) takes raw keys from it, and TermInit starts and stops it.
// Mode 2 is TermDirect (terminfo strings, no screen image), mode 3 is
// TermCurses (curses, one panel per window).
#pragma once

#include <morka/Term.h>

#include <csignal>
#include <cstdint>
#include <string>

namespace morka {

// A raw key from a driver: a character of the system set (0..255),
// TERM_KEY_SPECIAL + code in the xterm numbering, or one of these.
enum : int {
    RAWKEY_NONE = -1,     // nothing came in time (or the wait was interrupted)
    RAWKEY_EOF = -2,      // the keyboard is gone
    RAWKEY_RESIZE = -3,   // the screen changed size
    RAWKEY_SKIP = -4,     // input that is no key of the system set
};

// What a cell shows: a Unicode character, or line-drawing character iLine
// (0..25 for the bytes 160..185).
struct CGlyph {
    uint32_t uChar = ' ';
    int iLine = -1;
    // The Unicode character shown (line drawing as box-drawing characters).
    uint32_t Char() const;
};

// A line-drawing character: its Unicode form and the letter of the VT100
// alternate character set that draws it where Unicode cannot be shown.
struct CLineGlyph {
    uint32_t uChar;
    char cAcs;
};
extern CLineGlyph const t_aLineGlyphs[26];

// Glyph of a printable byte of the system set (Term.iCharset).
CGlyph t_TermGlyph(unsigned char c);
// The system-set byte of a typed Unicode character; -1 when the set lacks it.
int t_TermFromUnicode(uint32_t uChar);
// ANSI / curses colour number of a colour of the PC palette (0..7).
int t_TermAnsiColor(int iPc);

class CScreenDriver {
public:
    virtual ~CScreenDriver() = default;
    // Takes over the terminal through the descriptors (owned from now on);
    // false when this terminal cannot be driven (then nothing was changed).
    virtual bool Start(int iInFd, int iOutFd) = 0;
    // Gives the terminal back in its former modes and closes the descriptors.
    virtual void Stop() = 0;
    // Bytes that reset the screen (attributes, cursor, keypad, normal
    // screen) when Stop cannot be called; taken once after Start.
    virtual std::string ResetBytes() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    virtual void Size(int& nRows, int& nCols) = 0;
    // Creates or moves/resizes the driver's side of window w.
    virtual void Place(CTermWin& w) = 0;
    // Draws one cell with the window's pen; the cursor is not changed.
    virtual void Cell(CTermWin& w, int iRow, int iCol, CGlyph g) = 0;
    // Scrolls the window up by one line; the new line is blank.
    virtual void ScrollUp(CTermWin& w) = 0;
    virtual void ClearEol(CTermWin& w, int iRow, int iCol) = 0;
    virtual void ClearEos(CTermWin& w, int iRow, int iCol) = 0;
    virtual void InsertLine(CTermWin& w, int iRow) = 0;
    virtual void DeleteLine(CTermWin& w, int iRow) = 0;
    virtual void InsertChar(CTermWin& w, int iRow, int iCol) = 0;
    virtual void DeleteChar(CTermWin& w, int iRow, int iCol) = 0;
    // Blanks the cells of the window that were not written dim.
    virtual void EraseUnprotected(CTermWin& w) = 0;
    virtual void Bell() = 0;
    virtual void CursorShape(int iShape) = 0;
    // Shows all output with the terminal cursor at window w's cursor.
    virtual void Update(CTermWin const& w) = 0;
    // One raw key, waiting at most iMs milliseconds (-1: no limit).
    virtual int ReadKey(int iMs) = 0;
};

CScreenDriver* t_NewDirectDriver();
CScreenDriver* t_NewCursesDriver();

// The driver of the running full-screen mode; null in mode 1.
extern CScreenDriver* t_pScreen;
// Code 2 holds screen updates back until code 3 (or a key read).
extern bool t_bTermHold;

// Interprets one output byte in full-screen mode.
void t_TermOut(unsigned char c);
// Forgets a control sequence in progress (mode change).
void t_TermOutReset();
// Window 0 takes the size of the screen (start, resize).
void t_TermFitScreen();
// Gives the terminal back its modes if a key read of mode 1 changed them.
void t_TermRestoreStreamKeys();
// Mode 1: notes whether standard input and output are UTF-8 terminals
// (Term.bUtf8In, Term.bUtf8Out).
void t_TermStreamEncoding();
// Forgets the keys kept by TermKeyReady (mode change).
void t_TermForgetKeys();

// Nested terminal calls in progress. A signal that ends the program while it
// is above 0 must not enter the driver again: TermExit then only writes the
// reset bytes and the saved tty modes.
extern volatile sig_atomic_t t_iTermBusy;
struct CTermBusy {
    CTermBusy() { t_iTermBusy = t_iTermBusy + 1; }
    ~CTermBusy() { t_iTermBusy = t_iTermBusy - 1; }
    CTermBusy(CTermBusy const&) = delete;
    CTermBusy& operator=(CTermBusy const&) = delete;
};

}  // namespace morka
