// TermOutput: the interpreter of the system's control codes in full-screen
// mode (the code table is in Term.h). It keeps the cursor of the active
// window and leaves the drawing to the screen driver. The cursor wraps late:
// after the last column it waits at nWidth, and only the next character moves
// it to the next line, so the bottom-right cell can be written without
// scrolling. CR and code 128 are the line end; an LF right after a line end
// is swallowed. Sequences (cursor address, colour change) may arrive byte by
// byte over several calls.
#include "TermImpl.h"

#include <algorithm>

namespace morka {

bool t_bTermHold = false;

namespace {

enum class t_Seq { None, AtColumn, AtRow, Esc, Color };

t_Seq s_eSeq = t_Seq::None;
int s_iSeqColumn = 0;
int s_aSeqColor[4] = {};
int s_nSeqColor = 0;

int s_Col(CTermWin const& w) { return std::min(w.iColumn, w.nWidth - 1); }

void s_NextLine(CTermWin& w) {
    if (w.iRow + 1 < w.nHeight)
        ++w.iRow;
    else
        t_pScreen->ScrollUp(w);
}

void s_NewLine(CTermWin& w) {
    w.iColumn = 0;
    s_NextLine(w);
}

void s_Print(CTermWin& w, unsigned char c) {
    if (w.iColumn >= w.nWidth) s_NewLine(w);
    t_pScreen->Cell(w, w.iRow, w.iColumn, t_TermGlyph(c));
    ++w.iColumn;
}

void s_Ignore(CTermWin&) {}
void s_Home(CTermWin& w) { w.iRow = w.iColumn = 0; }
void s_Hold(CTermWin&) { t_bTermHold = true; }
void s_Release(CTermWin& w) {
    t_bTermHold = false;
    t_pScreen->Update(w);
}
void s_DimOn(CTermWin& w) { w.uAttr |= TATTR_DIM; }
void s_DimOff(CTermWin& w) { w.uAttr &= ~TATTR_DIM; }
void s_Right(CTermWin& w) { w.iColumn = std::min(s_Col(w) + 1, w.nWidth - 1); }
void s_Bell(CTermWin&) { t_pScreen->Bell(); }
void s_Left(CTermWin& w) { w.iColumn = std::max(s_Col(w) - 1, 0); }
void s_Tab(CTermWin& w) { w.iColumn = std::min((s_Col(w) / 8 + 1) * 8, w.nWidth - 1); }
void s_Down(CTermWin& w) {
    w.iColumn = s_Col(w);
    s_NextLine(w);
}
void s_UnderlineOn(CTermWin& w) { w.uAttr |= TATTR_UNDERLINE; }
void s_Clear(CTermWin& w) {
    t_pScreen->ClearEos(w, 0, 0);
    s_Home(w);
}
void s_LineEnd(CTermWin& w) { s_NewLine(w); }
void s_ReverseOn(CTermWin& w) { w.uAttr |= TATTR_REVERSE; }
void s_ReverseOff(CTermWin& w) { w.uAttr &= ~TATTR_REVERSE; }
void s_At(CTermWin&) { s_eSeq = t_Seq::AtColumn; }
void s_InsertLine(CTermWin& w) { t_pScreen->InsertLine(w, w.iRow); }
void s_DeleteLine(CTermWin& w) { t_pScreen->DeleteLine(w, w.iRow); }
void s_InsertChar(CTermWin& w) { t_pScreen->InsertChar(w, w.iRow, s_Col(w)); }
void s_DeleteChar(CTermWin& w) { t_pScreen->DeleteChar(w, w.iRow, s_Col(w)); }
void s_CursorOff(CTermWin&) {
    Term.iCursor = 0;
    t_pScreen->CursorShape(0);
}
void s_UnderlineOff(CTermWin& w) { w.uAttr &= ~TATTR_UNDERLINE; }
void s_EraseEol(CTermWin& w) { t_pScreen->ClearEol(w, w.iRow, s_Col(w)); }
void s_EraseEos(CTermWin& w) { t_pScreen->ClearEos(w, w.iRow, s_Col(w)); }
void s_CursorOn(CTermWin&) {
    Term.iCursor = 1;
    t_pScreen->CursorShape(1);
}
void s_Up(CTermWin& w) {
    w.iColumn = s_Col(w);
    if (w.iRow > 0) --w.iRow;
}
void s_Esc(CTermWin&) { s_eSeq = t_Seq::Esc; }
void s_EraseUnprotected(CTermWin& w) {
    t_pScreen->EraseUnprotected(w);
    s_Home(w);
}
void s_BlinkOn(CTermWin& w) { w.uAttr |= TATTR_BLINK; }
void s_BlinkOff(CTermWin& w) { w.uAttr &= ~TATTR_BLINK; }

using t_Handler = void (*)(CTermWin&);

// The one-byte functions 0..31, by code.
constexpr t_Handler s_aControls[32] = {
    s_Ignore,       s_Home,       s_Hold,         s_Release,     s_DimOn,       s_DimOff,      s_Right,
    s_Bell,         s_Left,       s_Tab,          s_Down,        s_UnderlineOn, s_Clear,       s_LineEnd,
    s_ReverseOn,    s_ReverseOff, s_At,           s_InsertLine,  s_DeleteLine,  s_InsertChar,  s_DeleteChar,
    s_CursorOff,    s_UnderlineOff, s_EraseEol,   s_EraseEos,    s_CursorOn,    s_Up,          s_Esc,
    s_EraseUnprotected, s_BlinkOn, s_BlinkOff,   s_Ignore,
};

// Takes c as part of a sequence in progress; false when c is to be
// interpreted on its own.
bool s_Sequence(CTermWin& w, unsigned char c) {
    switch (s_eSeq) {
    case t_Seq::None:
        return false;
    case t_Seq::AtColumn:
        s_iSeqColumn = c - 32;
        s_eSeq = t_Seq::AtRow;
        return true;
    case t_Seq::AtRow:
        s_eSeq = t_Seq::None;
        w.iRow = std::clamp(c - 32, 0, w.nHeight - 1);
        w.iColumn = std::clamp(s_iSeqColumn, 0, w.nWidth - 1);
        return true;
    case t_Seq::Esc:
        s_eSeq = t_Seq::None;
        if (c != 0x7F) return false;
        s_eSeq = t_Seq::Color;
        s_nSeqColor = 0;
        return true;
    case t_Seq::Color:
        if (c < '0' || c > '7') {
            s_eSeq = t_Seq::None;
            return false;
        }
        s_aSeqColor[s_nSeqColor++] = c - '0';
        if (s_nSeqColor == 4) {
            s_eSeq = t_Seq::None;
            std::copy(s_aSeqColor, s_aSeqColor + 4, w.aColor);
            w.bColored = true;
        }
        return true;
    }
    return false;
}

}  // namespace

void t_TermOut(unsigned char c) {
    CTermWin& w = Term.aWins[Term.iActive];
    if (s_Sequence(w, c)) {
        Term.bLastWasCR = false;
        return;
    }
    bool bAfterLineEnd = Term.bLastWasCR;
    Term.bLastWasCR = c == '\r' || c == 128;
    if (c == '\n' && bAfterLineEnd) return;
    if (c < 32)
        s_aControls[c](w);
    else if (c == 128)
        s_NewLine(w);
    else if (c != 127 && (c < 129 || c > 133))
        s_Print(w, c);
}

void t_TermOutReset() {
    s_eSeq = t_Seq::None;
    t_bTermHold = false;
}

}  // namespace morka
