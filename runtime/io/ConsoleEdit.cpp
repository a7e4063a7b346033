// ConsoleEdit: the two line editors of the console. b_ConInput is plain entry
// (append, erase, the control key that ends an empty entry in INP);
// b_ConEdit edits a field of fixed length in the current window (overwrite
// or insert, cursor keys, auto-return). Both take a whole line or field from
// the keyboard stack when keystrokes are stacked, apply the keyboard case of
// Morka.cCase to typed characters and hand key codes to TermConvIn first.
// Drawing goes through TermWrite/TermMove; in the plain stream mode the cursor
// cannot be placed, so the field editor redraws from the cursor with
// backspaces.
#include <velbra/Hooks.h>
#include <velbra/Input.h>
#include <morka/morka.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <unistd.h>

namespace morka {

int INP = 0;
int ON_KEY_TOKEN = 0;

namespace {

// The keyboard case: 'U' upper case, 'L' inverted case, else as typed.
int s_Case(int c) {
    if (c > 255 || !std::isalpha(c)) return c;
    if (Morka.cCase == 'U') return std::toupper(c);
    if (Morka.cCase == 'L') return std::isupper(c) ? std::tolower(c) : std::toupper(c);
    return c;
}

int s_ReadKey(bool bTerminal) { return TermConvIn(b_ConGetW(bTerminal ? 7 : 0)); }

// Cursor back by n cells (the stream mode knows only backspace).
void s_Back(int n) {
    for (int i = 0; i < n; ++i) TermPut('\b');
}

}  // namespace

int b_ConInput(char* pBuffer, std::size_t nSize) {
    ON_KEY_TOKEN = 0;
    INP = 0;
    if (nSize == 0) return 0;
    pBuffer[0] = 0;
    int iShape = TermSetCursor(2);
    std::string sText;
    bool bTerminal = isatty(STDIN_FILENO);
    if (t_StackReady()) {
        int n = t_StackRead(pBuffer, static_cast<int>(nSize));
        if (n > 0 && t_bStackShow) TermWrite(pBuffer, n);
        TermSetCursor(iShape);
        TermRefresh();
        return n < 0 ? 0 : n;
    }
    for (;;) {
        TermRefresh();
        int iKey = s_ReadKey(bTerminal);
        if (iKey == -1) break;
        if (iKey == 24) {
            if (sText.empty()) {
                TermPut('\r');
                INP = 24;
                break;
            }
            s_Back(static_cast<int>(sText.size()));
            TermWrite(std::string(sText.size(), ' ').c_str());
            s_Back(static_cast<int>(sText.size()));
            sText.clear();
        } else if (iKey == 8 || iKey == 127) {
            if (sText.empty()) {
                if (iKey == 127) continue;
                TermPut('\r');
                INP = 8;
                break;
            }
            sText.pop_back();
            TermWrite("\b \b");
        } else if (iKey == 26) {
            continue;
        } else if (iKey >= 32 && iKey <= 255) {
            if (sText.size() + 1 >= nSize) continue;
            int c = bTerminal ? s_Case(iKey) : iKey;
            sText.push_back(static_cast<char>(c));
            TermPut(c);
        } else if (sText.empty()) {
            INP = iKey;
            break;
        } else if (iKey == 13) {
            break;
        }
        // Other control keys on a non-empty entry are ignored.
    }
    TermSetCursor(iShape);
    TermRefresh();
    std::copy(sText.begin(), sText.end(), pBuffer);
    pBuffer[sText.size()] = 0;
    return static_cast<int>(sText.size());
}

namespace {

// Field editing state: the text, the field length, the cursor index.
class CFieldEdit {
public:
    CFieldEdit(CBString& sText, int nLen) : m_sText(sText), m_nLen(nLen) {
        CTermWin* pWin = TermGetWin();
        m_bScreen = Term.iMode != TERM_STREAM && pWin;
        if (m_bScreen) {
            m_iRow0 = pWin->iRow;
            m_iCol0 = std::min(pWin->iColumn, pWin->nWidth - 1);
            m_nWidth = pWin->nWidth;
            m_nHeight = pWin->nHeight;
        }
    }

    // Draws the text (padded to the drawn width) and puts the cursor at iCur.
    void Draw(int iCur) {
        int nShow = std::max(m_nDrawn, m_sText.length());
        std::string s(m_sText.data(), m_sText.length());
        s.resize(static_cast<std::size_t>(nShow), ' ');
        if (m_bScreen) {
            Move(0);
            TermWrite(s.data(), static_cast<int>(s.size()));
            Move(iCur);
        } else {
            s_Back(m_iShown);
            TermWrite(s.data(), static_cast<int>(s.size()));
            s_Back(nShow - iCur);
            m_iShown = iCur;
        }
        m_nDrawn = m_sText.length();
        TermRefresh();
    }

    // Cursor to the field start plus i, wrapping at the window width and
    // clamped to the window's last line.
    void Move(int i) {
        if (!m_bScreen) return;
        int iAbs = m_iCol0 + i;
        int iRow = std::min(m_iRow0 + iAbs / m_nWidth, m_nHeight - 1);
        TermMove(iRow, iAbs % m_nWidth);
    }

    CBString& m_sText;
    int m_nLen;
    bool m_bScreen = false;
    int m_iRow0 = 0, m_iCol0 = 0, m_nWidth = 80, m_nHeight = 24;
    int m_nDrawn = 0;   // characters on the screen
    int m_iShown = 0;   // stream mode: cursor index on the screen
};

}  // namespace

int editTerminal(CTermWin*, bool edit, CBString& text, int position, int length, bool autoReturn) {
    INP = 0;
    bool bTerminal = isatty(STDIN_FILENO);
    int iCur = 0;
    bool bEmptyEntry = false;
    if (edit) {
        length = text.length();
        iCur = std::clamp(position - 1, 0, std::max(length, 0));
        autoReturn = false;
    } else {
        text = CBString();
        bEmptyEntry = true;
    }
    int iShape = TermSetCursor(2);
    CFieldEdit field(text, length);
    field.Draw(iCur);
    if (t_StackReady()) {
        std::string sLine(static_cast<std::size_t>(length) + 1, '\0');
        int n = t_StackRead(sLine.data(), length + 1);
        sLine.resize(static_cast<std::size_t>(std::max(n, 0)));
        sLine.resize(static_cast<std::size_t>(length), ' ');
        text = CBString(sLine.data(), static_cast<int>(sLine.size()));
        if (t_bStackShow) field.Draw(0);
        iCur = text.length();
    } else {
        bool bInsert = false;
        for (;;) {
            int iKey = s_ReadKey(bTerminal);
            if (iKey == -1) break;
            if (iKey == 0 || iKey == 255) continue;
            if (bEmptyEntry && (iKey == 8 || iKey == 12 || iKey == 26) && text.length() == 0) {
                INP = iKey;
                break;
            }
            std::string s(text.data(), text.length());
            if (iKey == 18) {
                bInsert = !bInsert;
                continue;
            } else if (iKey == 127) {
                if (iCur == 0) continue;
                s.erase(static_cast<std::size_t>(--iCur), 1);
                if (edit) s.push_back(' ');
            } else if (iKey == 8) {
                if (iCur > 0) --iCur;
            } else if (iKey == 12) {
                if (iCur < static_cast<int>(s.size())) ++iCur;
            } else if (iKey == 26) {
                if (iCur < static_cast<int>(s.size())) s.erase(static_cast<std::size_t>(iCur), 1);
                if (edit) s.push_back(' ');
            } else if (iKey >= 32 && iKey <= 255) {
                if (iCur >= length) continue;
                char c = static_cast<char>(bTerminal ? s_Case(iKey) : iKey);
                if (iCur >= static_cast<int>(s.size())) {
                    s.push_back(c);
                } else if (bInsert) {
                    s.insert(static_cast<std::size_t>(iCur), 1, c);
                    if (static_cast<int>(s.size()) > length) s.resize(static_cast<std::size_t>(length));
                } else {
                    s[static_cast<std::size_t>(iCur)] = c;
                }
                ++iCur;
                bEmptyEntry = false;
            } else {
                INP = iKey == 13 && iCur != 0 ? 0 : iKey;
                break;
            }
            text = CBString(s.data(), static_cast<int>(s.size()));
            field.Draw(iCur);
            if (iKey >= 32 && iCur >= length && autoReturn) break;
        }
    }
    // Cursor behind the text.
    if (field.m_bScreen) {
        field.Move(text.length());
    } else {
        TermWrite(text.data() + field.m_iShown, text.length() - field.m_iShown);
    }
    TermSetCursor(iShape);
    TermRefresh();
    return INP;
}

int b_ConEdit(bool edit, CBString& text, int position, int length, bool autoReturn) {
    ON_KEY_TOKEN = 0;
    INP = 0;
    return editTerminal(TermGetWin(), edit, text, position, std::max(length, 1), autoReturn);
}

}  // namespace morka
