// TermCurses: the screen driver of mode 3, on ncursesw with panels. Each open
// window is a curses window on its own panel; the screen is updated only at
// Update (output between updates costs no terminal traffic). The keyboard is
// read in raw mode through a pad, which curses never repaints, with the
// keypad on and a 100 ms wait for the rest of an escape sequence. Special
// keys are reported in the xterm numbering: the codes curses gives the
// modifier keys of this terminal's description are mapped through their
// capability names. Line-drawing characters use the curses wide line
// graphics, which follow the terminal's own alternate character set.
#define NCURSES_WIDECHAR 1
#include "TermImpl.h"

#include <morka/TermKeys.h>

#include <algorithm>
#include <cerrno>
#include <curses.h>
#include <cstdio>
#include <cstring>
#include <panel.h>
#include <poll.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace morka {

namespace {

constexpr int ESC_WAIT_MS = 100;

// Appends terminfo string capability pszCap (without padding) to s.
void s_AppendCap(std::string& s, char const* pszCap) {
    char* psz = tigetstr(const_cast<char*>(pszCap));
    if (!psz || psz == reinterpret_cast<char*>(-1)) return;
    for (char const* p = psz; *p; ++p) {
        if (p[0] == '$' && p[1] == '<') {
            char const* pEnd = std::strchr(p, '>');
            if (pEnd) {
                p = pEnd;
                continue;
            }
        }
        s += *p;
    }
}

class CCursesDriver : public CScreenDriver {
public:
    bool Start(int iInFd, int iOutFd) override;
    void Stop() override;
    std::string ResetBytes() override;
    void Suspend() override;
    void Resume() override;
    void Size(int& nRows, int& nCols) override;
    void Place(CTermWin& w) override;
    void Cell(CTermWin& w, int iRow, int iCol, CGlyph g) override;
    void ScrollUp(CTermWin& w) override;
    void ClearEol(CTermWin& w, int iRow, int iCol) override;
    void ClearEos(CTermWin& w, int iRow, int iCol) override;
    void InsertLine(CTermWin& w, int iRow) override;
    void DeleteLine(CTermWin& w, int iRow) override;
    void InsertChar(CTermWin& w, int iRow, int iCol) override;
    void DeleteChar(CTermWin& w, int iRow, int iCol) override;
    void EraseUnprotected(CTermWin& w) override;
    void Bell() override;
    void CursorShape(int iShape) override;
    void Update(CTermWin const& w) override;
    int ReadKey(int iMs) override;

private:
    short Pair(CTermWin const& w, bool bReverse);
    void Pen(CTermWin const& w, attr_t& uAttr, short& iPair);
    void Blank(CTermWin const& w, cchar_t& cc);
    void SetBackground(CTermWin& w);
    static WINDOW* Win(CTermWin const& w) { return static_cast<WINDOW*>(w.pWin); }

    SCREEN* m_pScreen = nullptr;
    FILE* m_pIn = nullptr;
    FILE* m_pOut = nullptr;
    int m_iInFd = -1;
    WINDOW* m_pKeys = nullptr;
    bool m_bColors = false;
    std::vector<bool> m_abPairs;                 // colour pairs set up so far
    std::unordered_map<int, int> m_aKeyCodes;    // this terminal's code -> xterm code
};

bool CCursesDriver::Start(int iInFd, int iOutFd) {
    m_pOut = fdopen(iOutFd, "w");
    m_pIn = fdopen(iInFd, "r");
    if (m_pOut && m_pIn) m_pScreen = newterm(nullptr, m_pOut, m_pIn);
    // An unknown TERM gives no screen; one without cursor addressing is no
    // full-screen terminal.
    char* pszCup = m_pScreen ? tigetstr(const_cast<char*>("cup")) : nullptr;
    if (!pszCup || pszCup == reinterpret_cast<char*>(-1)) {
        if (m_pScreen) {
            endwin();
            delscreen(m_pScreen);
            m_pScreen = nullptr;
        }
        if (m_pOut) std::fclose(m_pOut); else close(iOutFd);
        if (m_pIn) std::fclose(m_pIn); else close(iInFd);
        m_pOut = m_pIn = nullptr;
        return false;
    }
    m_iInFd = iInFd;
    raw();
    noecho();
    nonl();
    set_escdelay(ESC_WAIT_MS);
    if (has_colors() && start_color() == OK) {
        use_default_colors();
        m_bColors = COLOR_PAIRS > 64;
        m_abPairs.assign(65, false);
    }
    m_pKeys = newpad(1, 1);
    keypad(m_pKeys, TRUE);
    for (t_KeyCode const* p = t_aKeyCodes; p->iCode >= 0; ++p) {
        char* psz = tigetstr(const_cast<char*>(p->pszCap));
        if (!psz || psz == reinterpret_cast<char*>(-1)) continue;
        int iHere = key_defined(psz);
        if (iHere > 0 && iHere != p->iCode) m_aKeyCodes[iHere] = p->iCode;
    }
    return true;
}

void CCursesDriver::Stop() {
    for (CTermWin& w : Term.aWins) {
        if (w.pPanel) del_panel(static_cast<PANEL*>(w.pPanel));
        if (w.pWin) delwin(Win(w));
        w.pPanel = w.pWin = nullptr;
    }
    if (m_pKeys) delwin(m_pKeys);
    m_pKeys = nullptr;
    endwin();
    delscreen(m_pScreen);
    m_pScreen = nullptr;
    std::fclose(m_pOut);
    std::fclose(m_pIn);
    m_pOut = m_pIn = nullptr;
}

std::string CCursesDriver::ResetBytes() {
    std::string s;
    for (char const* pszCap : {"sgr0", "cnorm", "rmkx", "rmcup"}) s_AppendCap(s, pszCap);
    return s;
}

void CCursesDriver::Suspend() {
    def_prog_mode();
    endwin();
}

void CCursesDriver::Resume() {
    reset_prog_mode();
    clearok(curscr, TRUE);
    Update(Term.aWins[Term.iActive]);
}

void CCursesDriver::Size(int& nRows, int& nCols) {
    nRows = LINES;
    nCols = COLS;
}

void CCursesDriver::Place(CTermWin& w) {
    if (!w.pWin) {
        WINDOW* pWin = newwin(w.nHeight, w.nWidth, w.iTop, w.iLeft);
        if (!pWin) return;
        w.pWin = pWin;
        w.pPanel = new_panel(pWin);
    } else {
        wresize(Win(w), w.nHeight, w.nWidth);
        move_panel(static_cast<PANEL*>(w.pPanel), w.iTop, w.iLeft);
    }
    scrollok(Win(w), FALSE);
    idlok(Win(w), TRUE);
}

short CCursesDriver::Pair(CTermWin const& w, bool bReverse) {
    if (!m_bColors || !w.bColored) return 0;
    int iFg = w.aColor[bReverse ? 2 : 0] & 7;
    int iBg = w.aColor[bReverse ? 3 : 1] & 7;
    short iPair = static_cast<short>(1 + iFg * 8 + iBg);
    if (!m_abPairs[static_cast<std::size_t>(iPair)]) {
        init_pair(iPair, static_cast<short>(t_TermAnsiColor(iFg)), static_cast<short>(t_TermAnsiColor(iBg)));
        m_abPairs[static_cast<std::size_t>(iPair)] = true;
    }
    return iPair;
}

void CCursesDriver::Pen(CTermWin const& w, attr_t& uAttr, short& iPair) {
    bool bReverse = (w.uAttr & TATTR_REVERSE) != 0;
    uAttr = A_NORMAL;
    // Coloured windows show reverse text in their second pair of colours.
    if (bReverse && !(m_bColors && w.bColored)) uAttr |= A_REVERSE;
    if (w.uAttr & TATTR_UNDERLINE) uAttr |= A_UNDERLINE;
    if (w.uAttr & TATTR_DIM) uAttr |= A_DIM;
    if (w.uAttr & TATTR_BLINK) uAttr |= A_BLINK;
    iPair = Pair(w, bReverse);
}

void CCursesDriver::Blank(CTermWin const& w, cchar_t& cc) {
    wchar_t const aBlank[2] = {L' ', 0};
    setcchar(&cc, aBlank, A_NORMAL, Pair(w, false), nullptr);
}

void CCursesDriver::SetBackground(CTermWin& w) {
    cchar_t cc;
    Blank(w, cc);
    wbkgrndset(Win(w), &cc);
}

void CCursesDriver::Cell(CTermWin& w, int iRow, int iCol, CGlyph g) {
    if (!w.pWin) return;
    attr_t uAttr;
    short iPair;
    Pen(w, uAttr, iPair);
    wchar_t aText[CCHARW_MAX + 1] = {static_cast<wchar_t>(g.uChar), 0};
    if (g.iLine >= 0) {
        cchar_t const* pLine = nullptr;
        switch (g.iLine) {
        case 11: case 13: break;   // light and dark shade: no curses line graphic
        case 12: pLine = WACS_CKBOARD; break;
        case 14: pLine = WACS_BLOCK; break;
        default: {
            cchar_t const* const aLines[] = {
                WACS_ULCORNER, WACS_URCORNER, WACS_LRCORNER, WACS_LLCORNER, WACS_PLUS, WACS_LTEE,
                WACS_RTEE, WACS_TTEE, WACS_BTEE, WACS_HLINE, WACS_VLINE, nullptr, nullptr, nullptr, nullptr,
                WACS_D_ULCORNER, WACS_D_URCORNER, WACS_D_LRCORNER, WACS_D_LLCORNER, WACS_D_PLUS,
                WACS_D_LTEE, WACS_D_RTEE, WACS_D_TTEE, WACS_D_BTEE, WACS_D_HLINE, WACS_D_VLINE,
            };
            pLine = aLines[g.iLine];
        }
        }
        if (pLine) {
            attr_t uLineAttr = 0;
            short iLinePair = 0;
            getcchar(pLine, aText, &uLineAttr, &iLinePair, nullptr);
            uAttr |= uLineAttr;
        } else {
            aText[0] = static_cast<wchar_t>(t_aLineGlyphs[g.iLine].uChar);
            aText[1] = 0;
        }
    }
    cchar_t cc;
    setcchar(&cc, aText, uAttr, iPair, nullptr);
    // Writing the bottom-right cell reports an error (the cursor cannot
    // advance) but the cell is written.
    mvwadd_wch(Win(w), iRow, iCol, &cc);
}

void CCursesDriver::ScrollUp(CTermWin& w) {
    if (!w.pWin) return;
    SetBackground(w);
    scrollok(Win(w), TRUE);
    wscrl(Win(w), 1);
    scrollok(Win(w), FALSE);
}

void CCursesDriver::ClearEol(CTermWin& w, int iRow, int iCol) {
    if (!w.pWin) return;
    SetBackground(w);
    wmove(Win(w), iRow, iCol);
    wclrtoeol(Win(w));
}

void CCursesDriver::ClearEos(CTermWin& w, int iRow, int iCol) {
    if (!w.pWin) return;
    SetBackground(w);
    wmove(Win(w), iRow, iCol);
    wclrtobot(Win(w));
}

void CCursesDriver::InsertLine(CTermWin& w, int iRow) {
    if (!w.pWin) return;
    SetBackground(w);
    wmove(Win(w), iRow, 0);
    winsertln(Win(w));
}

void CCursesDriver::DeleteLine(CTermWin& w, int iRow) {
    if (!w.pWin) return;
    SetBackground(w);
    wmove(Win(w), iRow, 0);
    wdeleteln(Win(w));
}

void CCursesDriver::InsertChar(CTermWin& w, int iRow, int iCol) {
    if (!w.pWin) return;
    cchar_t cc;
    Blank(w, cc);
    mvwins_wch(Win(w), iRow, iCol, &cc);
}

void CCursesDriver::DeleteChar(CTermWin& w, int iRow, int iCol) {
    if (!w.pWin) return;
    SetBackground(w);
    mvwdelch(Win(w), iRow, iCol);
}

void CCursesDriver::EraseUnprotected(CTermWin& w) {
    if (!w.pWin) return;
    cchar_t ccBlank;
    Blank(w, ccBlank);
    for (int iRow = 0; iRow < w.nHeight; ++iRow) {
        for (int iCol = 0; iCol < w.nWidth; ++iCol) {
            cchar_t cc;
            if (mvwin_wch(Win(w), iRow, iCol, &cc) != OK) continue;
            wchar_t aText[CCHARW_MAX + 1];
            attr_t uAttr = 0;
            short iPair = 0;
            getcchar(&cc, aText, &uAttr, &iPair, nullptr);
            if (!(uAttr & A_DIM)) mvwadd_wch(Win(w), iRow, iCol, &ccBlank);
        }
    }
}

void CCursesDriver::Bell() { beep(); }

void CCursesDriver::CursorShape(int iShape) { curs_set(iShape); }

void CCursesDriver::Update(CTermWin const& w) {
    update_panels();
    int iCol = std::min(w.iColumn, w.nWidth - 1);
    setsyx(w.iTop + w.iRow, w.iLeft + iCol);
    doupdate();
}

int CCursesDriver::ReadKey(int iMs) {
    wtimeout(m_pKeys, iMs);
    wint_t wch = 0;
    errno = 0;
    int iResult = wget_wch(m_pKeys, &wch);
    if (iResult == ERR) {
        if (errno == EINTR) return RAWKEY_NONE;
        pollfd p{m_iInFd, POLLIN, 0};
        bool bGone = poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        return bGone || iMs < 0 ? RAWKEY_EOF : RAWKEY_NONE;
    }
    if (iResult == KEY_CODE_YES) {
        int iCode = static_cast<int>(wch);
        if (iCode == KEY_RESIZE) return RAWKEY_RESIZE;
        auto it = m_aKeyCodes.find(iCode);
        if (it != m_aKeyCodes.end()) iCode = it->second;
        return TERM_KEY_SPECIAL + iCode;
    }
    if (wch < 0x80) return static_cast<int>(wch);
    int c = t_TermFromUnicode(static_cast<uint32_t>(wch));
    return c >= 0 ? c : RAWKEY_SKIP;
}

}  // namespace

CScreenDriver* t_NewCursesDriver() { return new CCursesDriver; }

}  // namespace morka
