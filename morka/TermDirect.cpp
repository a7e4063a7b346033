// TermDirect: the screen driver of mode 2. It writes terminfo strings straight
// to the terminal and keeps no image of the screen: it tracks only the
// terminal's cursor and pen to avoid needless strings. The screen is cleared
// at the start; at the end the cursor goes to the line after the last one
// written, so the output stays on the normal screen. Without a screen image,
// erase-unprotected clears the whole window, and a resumed screen is not
// redrawn. On terminals that wrap at once (am without xenl) the bottom-right
// cell is not written, as that would scroll. Keys are decoded from the
// terminfo key strings of the key table, with a 100 ms wait for the rest of
// a sequence; characters are read as UTF-8 in a UTF-8 locale. A SIGWINCH
// handler of its own interrupts a key wait so that a new screen size is seen
// at once; the former handler is put back at the end.
#include "TermImpl.h"

#include <morka/CharsetConv.h>
#include <morka/TermKeys.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <curses.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <term.h>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace morka {

namespace {

constexpr int ESC_WAIT_MS = 100;

std::string* s_pTputsOut = nullptr;

// Only interrupts a blocked key read (installed without SA_RESTART).
void s_OnResize(int) {}

int s_TputsPut(int c) {
    s_pTputsOut->push_back(static_cast<char>(c));
    return c;
}

char const* s_Cap(char const* pszName) {
    char* psz = tigetstr(const_cast<char*>(pszName));
    return psz && psz != reinterpret_cast<char*>(-1) && *psz ? psz : nullptr;
}

// ASCII stand-ins for the alternate-set letters on terminals without one.
char s_AsciiLine(char cAcs) {
    switch (cAcs) {
    case 'q': return '-';
    case 'x': return '|';
    case 'h': case 'a': case '0': return '#';
    default: return '+';
    }
}

class CDirectDriver : public CScreenDriver {
public:
    bool Start(int iInFd, int iOutFd) override;
    void Stop() override;
    std::string ResetBytes() override;
    void Suspend() override;
    void Resume() override;
    void Size(int& nRows, int& nCols) override;
    void Place(CTermWin&) override {}
    void Cell(CTermWin& w, int iRow, int iCol, CGlyph g) override;
    void ScrollUp(CTermWin& w) override;
    void ClearEol(CTermWin& w, int iRow, int iCol) override;
    void ClearEos(CTermWin& w, int iRow, int iCol) override;
    void InsertLine(CTermWin& w, int iRow) override;
    void DeleteLine(CTermWin& w, int iRow) override;
    void InsertChar(CTermWin& w, int iRow, int iCol) override;
    void DeleteChar(CTermWin& w, int iRow, int iCol) override;
    void EraseUnprotected(CTermWin& w) override { ClearEos(w, 0, 0); }
    void Bell() override;
    void CursorShape(int iShape) override;
    void Update(CTermWin const& w) override;
    int ReadKey(int iMs) override;

private:
    void Out(char const* psz);
    void OutParm(char const* pszCap, int iArg1, int iArg2 = 0);
    void MoveTo(int iRow, int iCol);
    void SetPen(CTermWin const& w, bool bNormal);
    // Line or character insert/delete at a cell: the one-step capability,
    // else the counted one with 1.
    void EditAt(CTermWin& w, int iRow, int iCol, char const* pszOne, char const* pszCount);
    void Flush();
    void RawModes();
    int Fill(int iMs);
    void LeaveStrings();

    int m_iIn = -1;
    int m_iOut = -1;
    termios m_tmSaved{};
    TERMINAL* m_pTerm = nullptr;
    bool m_bUtf8 = false;
    bool m_bSkipCorner = false;
    int m_nRows = 24;
    int m_nCols = 80;
    int m_iCurRow = -1;            // terminal cursor; -1: unknown
    int m_iCurCol = -1;
    bool m_bPenKnown = false;
    unsigned m_uPenAttr = 0;
    int m_iPenFg = -1;
    int m_iPenBg = -1;
    std::string m_sOut;
    std::string m_sIn;
    std::vector<std::pair<std::string, int>> m_aKeySeqs;   // key string -> xterm code
    std::string m_sAcs;            // the terminal's acsc pairs
    struct sigaction m_saResize{};  // SIGWINCH handler before the start
};

void CDirectDriver::Out(char const* psz) {
    if (!psz) return;
    s_pTputsOut = &m_sOut;
    tputs(psz, 1, s_TputsPut);
}

void CDirectDriver::OutParm(char const* pszCap, int iArg1, int iArg2) {
    if (pszCap) Out(tiparm(pszCap, iArg1, iArg2));
}

void CDirectDriver::Flush() {
    std::size_t nDone = 0;
    while (nDone < m_sOut.size()) {
        ssize_t n = write(m_iOut, m_sOut.data() + nDone, m_sOut.size() - nDone);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        nDone += static_cast<std::size_t>(n);
    }
    m_sOut.clear();
}

void CDirectDriver::RawModes() {
    termios tm = m_tmSaved;
    tm.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    tm.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tm.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tm.c_cflag = (tm.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB)) | CS8;
    tm.c_cc[VMIN] = 1;
    tm.c_cc[VTIME] = 0;
    tcsetattr(m_iIn, TCSADRAIN, &tm);
}

bool CDirectDriver::Start(int iInFd, int iOutFd) {
    int iErr = 0;
    if (setupterm(nullptr, iOutFd, &iErr) != OK || !s_Cap("cup") || tcgetattr(iInFd, &m_tmSaved) != 0) {
        if (iErr == 1 && cur_term) del_curterm(cur_term);
        close(iInFd);
        close(iOutFd);
        return false;
    }
    m_pTerm = cur_term;
    m_iIn = iInFd;
    m_iOut = iOutFd;
    m_bUtf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    m_bSkipCorner = tigetflag(const_cast<char*>("am")) > 0 && tigetflag(const_cast<char*>("xenl")) <= 0;
    if (char const* psz = s_Cap("acsc")) m_sAcs = psz;
    for (t_KeyCode const* p = t_aKeyCodes; p->iCode >= 0; ++p)
        if (char const* psz = s_Cap(p->pszCap)) m_aKeySeqs.emplace_back(psz, p->iCode);
    Size(m_nRows, m_nCols);
    RawModes();
    Out(s_Cap("smkx"));
    Flush();
    struct sigaction sa {};
    sa.sa_handler = s_OnResize;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGWINCH, &sa, &m_saResize);
    return true;
}

void CDirectDriver::LeaveStrings() {
    Out(s_Cap("sgr0"));
    Out(s_Cap("cnorm"));
    Out(s_Cap("rmkx"));
    m_bPenKnown = false;
}

void CDirectDriver::Stop() {
    CTermWin const& w = Term.aWins[0];
    LeaveStrings();
    MoveTo(w.iRow, 0);
    if (w.iColumn > 0) m_sOut += "\r\n";
    Flush();
    tcsetattr(m_iIn, TCSADRAIN, &m_tmSaved);
    sigaction(SIGWINCH, &m_saResize, nullptr);
    del_curterm(m_pTerm);
    m_pTerm = nullptr;
    close(m_iIn);
    close(m_iOut);
}

std::string CDirectDriver::ResetBytes() {
    std::string sSaved;
    sSaved.swap(m_sOut);
    LeaveStrings();
    m_sOut += "\r\n";
    sSaved.swap(m_sOut);
    return sSaved;
}

void CDirectDriver::Suspend() {
    LeaveStrings();
    Flush();
    tcsetattr(m_iIn, TCSADRAIN, &m_tmSaved);
}

void CDirectDriver::Resume() {
    RawModes();
    Out(s_Cap("smkx"));
    m_iCurRow = m_iCurCol = -1;
    Flush();
}

void CDirectDriver::Size(int& nRows, int& nCols) {
    winsize ws{};
    if (ioctl(m_iOut, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0) {
        nRows = ws.ws_row;
        nCols = ws.ws_col;
        return;
    }
    int n = tigetnum(const_cast<char*>("lines"));
    nRows = n > 0 ? n : 24;
    n = tigetnum(const_cast<char*>("cols"));
    nCols = n > 0 ? n : 80;
}

void CDirectDriver::MoveTo(int iRow, int iCol) {
    if (iRow == m_iCurRow && iCol == m_iCurCol) return;
    OutParm(s_Cap("cup"), iRow, iCol);
    m_iCurRow = iRow;
    m_iCurCol = iCol;
}

void CDirectDriver::SetPen(CTermWin const& w, bool bNormal) {
    unsigned uAttr = bNormal ? 0 : w.uAttr;
    bool bReverse = (uAttr & TATTR_REVERSE) != 0;
    int iFg = -1, iBg = -1;
    if (w.bColored) {
        // Coloured windows show reverse text in their second pair of colours.
        iFg = t_TermAnsiColor(w.aColor[bReverse ? 2 : 0]);
        iBg = t_TermAnsiColor(w.aColor[bReverse ? 3 : 1]);
        uAttr &= ~TATTR_REVERSE;
    }
    if (m_bPenKnown && uAttr == m_uPenAttr && iFg == m_iPenFg && iBg == m_iPenBg) return;
    Out(s_Cap("sgr0"));
    if (uAttr & TATTR_REVERSE) Out(s_Cap("rev"));
    if (uAttr & TATTR_UNDERLINE) Out(s_Cap("smul"));
    if (uAttr & TATTR_DIM) Out(s_Cap("dim"));
    if (uAttr & TATTR_BLINK) Out(s_Cap("blink"));
    if (iFg >= 0) OutParm(s_Cap("setaf"), iFg);
    if (iBg >= 0) OutParm(s_Cap("setab"), iBg);
    m_bPenKnown = true;
    m_uPenAttr = uAttr;
    m_iPenFg = iFg;
    m_iPenBg = iBg;
}

void CDirectDriver::Cell(CTermWin& w, int iRow, int iCol, CGlyph g) {
    int iScreenRow = w.iTop + iRow, iScreenCol = w.iLeft + iCol;
    if (m_bSkipCorner && iScreenRow == m_nRows - 1 && iScreenCol == m_nCols - 1) return;
    MoveTo(iScreenRow, iScreenCol);
    SetPen(w, false);
    if (g.iLine >= 0 && !m_bUtf8) {
        char cAcs = t_aLineGlyphs[g.iLine].cAcs;
        std::size_t iPair = m_sAcs.find(cAcs);
        char const* pszOn = s_Cap("smacs");
        if (pszOn && iPair != std::string::npos && iPair % 2 == 0 && iPair + 1 < m_sAcs.size()) {
            Out(pszOn);
            m_sOut += m_sAcs[iPair + 1];
            Out(s_Cap("rmacs"));
        } else {
            m_sOut += s_AsciiLine(cAcs);
        }
    } else {
        uint32_t u = g.Char();
        if (m_bUtf8)
            t_utf8append(m_sOut, static_cast<wchar_t>(u));
        else
            m_sOut += static_cast<char>(u < 256 ? u : '?');
    }
    // After the last column the terminal's cursor depends on its wrap rules.
    if (++m_iCurCol >= m_nCols) m_iCurRow = m_iCurCol = -1;
}

void CDirectDriver::ScrollUp(CTermWin& w) {
    MoveTo(w.iTop + w.nHeight - 1, 0);
    SetPen(w, true);
    char const* pszInd = s_Cap("ind");
    if (pszInd)
        Out(pszInd);
    else
        m_sOut += '\n';
}

void CDirectDriver::ClearEol(CTermWin& w, int iRow, int iCol) {
    MoveTo(w.iTop + iRow, w.iLeft + iCol);
    SetPen(w, true);
    Out(s_Cap("el"));
}

void CDirectDriver::ClearEos(CTermWin& w, int iRow, int iCol) {
    SetPen(w, true);
    char const* pszClear = s_Cap("clear");
    if (iRow == 0 && iCol == 0 && pszClear) {
        Out(pszClear);
        m_iCurRow = m_iCurCol = 0;
        return;
    }
    MoveTo(w.iTop + iRow, w.iLeft + iCol);
    Out(s_Cap("ed"));
}

void CDirectDriver::EditAt(CTermWin& w, int iRow, int iCol, char const* pszOne, char const* pszCount) {
    MoveTo(w.iTop + iRow, w.iLeft + iCol);
    SetPen(w, true);
    if (char const* psz = s_Cap(pszOne))
        Out(psz);
    else
        OutParm(s_Cap(pszCount), 1);
}

void CDirectDriver::InsertLine(CTermWin& w, int iRow) { EditAt(w, iRow, 0, "il1", "il"); }
void CDirectDriver::DeleteLine(CTermWin& w, int iRow) { EditAt(w, iRow, 0, "dl1", "dl"); }
void CDirectDriver::InsertChar(CTermWin& w, int iRow, int iCol) { EditAt(w, iRow, iCol, "ich1", "ich"); }
void CDirectDriver::DeleteChar(CTermWin& w, int iRow, int iCol) { EditAt(w, iRow, iCol, "dch1", "dch"); }

void CDirectDriver::Bell() {
    char const* psz = s_Cap("bel");
    if (psz)
        Out(psz);
    else
        m_sOut += '\a';
}

void CDirectDriver::CursorShape(int iShape) {
    char const* psz = iShape == 0 ? s_Cap("civis") : iShape == 2 ? s_Cap("cvvis") : nullptr;
    Out(psz ? psz : s_Cap("cnorm"));
}

void CDirectDriver::Update(CTermWin const& w) {
    MoveTo(w.iTop + w.iRow, w.iLeft + std::min(w.iColumn, w.nWidth - 1));
    Flush();
}

int CDirectDriver::Fill(int iMs) {
    pollfd p{m_iIn, POLLIN, 0};
    int n = poll(&p, 1, iMs);
    if (n < 0) return errno == EINTR ? RAWKEY_NONE : RAWKEY_EOF;
    if (n == 0) return RAWKEY_NONE;
    char aBuf[64];
    ssize_t nRead = read(m_iIn, aBuf, sizeof aBuf);
    if (nRead < 0) return errno == EINTR ? RAWKEY_NONE : RAWKEY_EOF;
    if (nRead == 0) return RAWKEY_EOF;
    m_sIn.append(aBuf, static_cast<std::size_t>(nRead));
    return 0;
}

int CDirectDriver::ReadKey(int iMs) {
    int nRows = 0, nCols = 0;
    Size(nRows, nCols);
    if (nRows != m_nRows || nCols != m_nCols) {
        m_nRows = nRows;
        m_nCols = nCols;
        return RAWKEY_RESIZE;
    }
    if (m_sIn.empty()) {
        Flush();
        int iFill = Fill(iMs);
        if (iFill != 0) return iFill;
    }
    for (;;) {
        std::size_t nBest = 0;
        int iBest = -1;
        bool bPrefix = false;
        for (auto const& [sSeq, iCode] : m_aKeySeqs) {
            if (m_sIn.size() >= sSeq.size()) {
                if (sSeq.size() > nBest && m_sIn.compare(0, sSeq.size(), sSeq) == 0) {
                    nBest = sSeq.size();
                    iBest = iCode;
                }
            } else if (sSeq.compare(0, m_sIn.size(), m_sIn) == 0) {
                bPrefix = true;
            }
        }
        // The start of a longer key string: wait a moment for its rest.
        if (bPrefix && Fill(ESC_WAIT_MS) == 0) continue;
        if (iBest >= 0) {
            m_sIn.erase(0, nBest);
            return TERM_KEY_SPECIAL + iBest;
        }
        break;
    }
    unsigned char c = static_cast<unsigned char>(m_sIn[0]);
    if (!m_bUtf8 || c < 0x80) {
        m_sIn.erase(0, 1);
        return c;
    }
    std::size_t nLen = static_cast<std::size_t>(1 + t_utf8more(c));
    while (m_sIn.size() < nLen && Fill(ESC_WAIT_MS) == 0) {}
    if (nLen <= 1 || m_sIn.size() < nLen) {
        m_sIn.erase(0, 1);
        return RAWKEY_SKIP;
    }
    char const* p = m_sIn.data();
    wchar_t wc = t_utf8next(&p, p + nLen);
    m_sIn.erase(0, static_cast<std::size_t>(p - m_sIn.data()));
    int iByte = wc == 0xFFFD ? -1 : t_TermFromUnicode(static_cast<uint32_t>(wc));
    return iByte >= 0 ? iByte : RAWKEY_SKIP;
}

}  // namespace

CScreenDriver* t_NewDirectDriver() { return new CDirectDriver; }

}  // namespace morka
