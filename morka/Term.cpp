// Term: the output entry points, windows, cursor and pen, for every mode.
// Mode 1 writes to standard output: CR is the line end and becomes "\n", an
// LF that directly follows a CR is swallowed so that "\r\n" (Printf) is one
// line end too, and every other byte goes out as it is while the column is
// counted; only on a UTF-8 terminal a byte of the system set above 127 goes
// out as its character in UTF-8 (line drawing as box-drawing characters), as
// the full-screen modes show it. The full-screen modes hand each byte to the interpreter of
// TermOutput, which draws into the active window through the screen driver.
#include "TermImpl.h"

#include <morka/CharsetConv.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace morka {

CTermState Term;
CScreenDriver* t_pScreen = nullptr;
volatile sig_atomic_t t_iTermBusy = 0;

namespace {

void s_StreamPut(unsigned char c) {
    bool bAfterCR = Term.bLastWasCR;
    Term.bLastWasCR = c == '\r';
    if (c == '\n' && bAfterCR) return;
    if (c == '\r' || c == '\n') {
        std::fputc('\n', stdout);
        Term.iColumn = 0;
        return;
    }
    if (c >= 0x80 && Term.bUtf8Out) {
        std::string s;
        t_utf8append(s, static_cast<wchar_t>(t_TermGlyph(c).Char()));
        std::fwrite(s.data(), 1, s.size(), stdout);
    } else {
        std::fputc(c, stdout);
    }
    if (c == '\f') {
        Term.iColumn = 0;
    } else if (c == '\b') {
        if (Term.iColumn > 0) --Term.iColumn;
    } else {
        ++Term.iColumn;
    }
}

CTermWin& s_Active() { return Term.aWins[Term.iActive]; }

}  // namespace

void TermWrite(char const* pText, int nLen) {
    if (!pText) return;
    if (nLen < 0) nLen = static_cast<int>(std::char_traits<char>::length(pText));
    if (!t_pScreen) {
        for (int i = 0; i < nLen; ++i) s_StreamPut(static_cast<unsigned char>(pText[i]));
        return;
    }
    CTermBusy busy;
    for (int i = 0; i < nLen; ++i) t_TermOut(static_cast<unsigned char>(pText[i]));
}

void TermPut(int c) {
    if (!t_pScreen) {
        s_StreamPut(static_cast<unsigned char>(c));
        return;
    }
    CTermBusy busy;
    t_TermOut(static_cast<unsigned char>(c));
}

void TermPrintf(char const* pszFormat, ...) {
    char aBuf[512];
    va_list ap;
    va_start(ap, pszFormat);
    va_list apCopy;
    va_copy(apCopy, ap);
    int n = std::vsnprintf(aBuf, sizeof aBuf, pszFormat, ap);
    va_end(ap);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof aBuf) {
        TermWrite(aBuf, n);
    } else if (n >= 0) {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), pszFormat, apCopy);
        TermWrite(big.data(), n);
    }
    va_end(apCopy);
    TermRefresh();
}

void TermTab(int iColumn) {
    if (!t_pScreen) {
        while (Term.iColumn < iColumn) s_StreamPut(' ');
        return;
    }
    CTermBusy busy;
    CTermWin& w = s_Active();
    iColumn = std::min(iColumn, w.nWidth);
    while (w.iColumn < iColumn) t_TermOut(' ');
}

void TermRefresh() {
    if (!t_pScreen) {
        std::fflush(stdout);
        return;
    }
    if (t_bTermHold) return;
    CTermBusy busy;
    t_pScreen->Update(s_Active());
}

void TermMove(int iRow, int iColumn) {
    CTermWin& w = s_Active();
    w.iRow = std::clamp(iRow, 0, w.nHeight - 1);
    w.iColumn = std::clamp(iColumn, 0, w.nWidth - 1);
    Term.bLastWasCR = false;
}

CTermWin* TermGetWin(int iWindow) {
    if (iWindow < 0) iWindow = Term.iActive;
    if (iWindow > TERM_MAX_WIN || !Term.aWins[iWindow].bOpen) return nullptr;
    return &Term.aWins[iWindow];
}

int TermGetActive() { return Term.iActive; }

int TermLine() { return s_Active().nWidth; }

int TermPage(int iWindow) {
    CTermWin const* pWin = TermGetWin(iWindow);
    return pWin ? pWin->nHeight : s_Active().nHeight;
}

void TermGetCursor(int& iRow, int& iColumn, int& iShape) {
    iShape = Term.iCursor;
    if (!t_pScreen) {
        iRow = 0;
        iColumn = Term.iColumn;
        return;
    }
    CTermWin const& w = s_Active();
    iRow = w.iRow;
    iColumn = std::min(w.iColumn, w.nWidth - 1);
}

int TermSetCursor(int iShape) {
    int iOld = Term.iCursor;
    Term.iCursor = std::clamp(iShape, 0, 2);
    if (t_pScreen) {
        CTermBusy busy;
        t_pScreen->CursorShape(Term.iCursor);
    }
    return iOld;
}

void TermColor(int iFg, int iBg, int iFg2, int iBg2) {
    if (!t_pScreen) return;
    CTermWin& w = s_Active();
    int const aNew[4] = {iFg, iBg, iFg2, iBg2};
    for (int i = 0; i < 4; ++i)
        if (aNew[i] >= 0) w.aColor[i] = aNew[i] % 8;
    w.bColored = true;
}

void TermCharSet(int iCharset) {
    if (iCharset == 256 || iCharset == 512) Term.iCharset = iCharset;
}

void TermRedirectIn(bool bRedirected) {
    Term.bInRedirected = bRedirected;
    // A new input may have keys again.
    Term.bStopInput = false;
    t_TermStreamEncoding();
}
void TermRedirectOut(bool bRedirected) {
    Term.bOutRedirected = bRedirected;
    t_TermStreamEncoding();
}

void t_TermStreamEncoding() {
    // The user's locale, read without making it the program's.
    bool bUtf8 = false;
    if (locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0))) {
        char const* psz = nl_langinfo_l(CODESET, loc);
        bUtf8 = psz && std::strcmp(psz, "UTF-8") == 0;
        freelocale(loc);
    }
    Term.bUtf8Out = bUtf8 && isatty(STDOUT_FILENO);
    Term.bUtf8In = bUtf8 && isatty(STDIN_FILENO);
}

bool TermHasNCurses() { return Term.iMode == TERM_CURSES; }

void putch(int c) { TermPut(c); }
void cputs(char const* psz) { TermWrite(psz); }
void at(int iColumn, int iRow) { TermMove(iRow, iColumn); }

}  // namespace morka
