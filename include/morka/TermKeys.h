// TermKeys: the special keys of the keyboard. Each row ties a terminfo key
// capability to the curses key code that the xterm description gives it and
// to its key token. TermServGetch reports a special key as TERM_KEY_SPECIAL
// plus that code on every terminal: the codes curses assigns at run time to
// the modifier keys of other descriptions are translated to these.
// Key tokens are the key number (256 Escape, 257 Up, 258 Down, 259 Left,
// 260 Right, 261 Home, 262 End, 263 Page Up, 264 Page Down, 265 Tab,
// 266 Backspace, 267 Insert, 268 Delete, 269..280 F1..F12) plus the modifier
// group: 0x1000 Shift, 0x2000 Ctrl, 0x3000 Ctrl+Shift, 0x4000 Alt,
// 0x5000 Alt+Shift, 0x6000 Ctrl+Alt. Keypad Enter has token 0.
#pragma once

namespace morka {

struct t_KeyCode {
    char const* pszCap;   // terminfo capability name
    int iCode;            // curses key code in the xterm numbering
    int iToken;           // key number + modifier group
};

// The table; it ends with a row whose iCode is -1.
extern t_KeyCode const t_aKeyCodes[];
// The row of a curses code (xterm numbering) or of a token; null when none.
t_KeyCode const* t_KeyByCode(int iCode);
t_KeyCode const* t_KeyByToken(int iToken);

// The key code a key name of the keyboard-stack notation stands for, the
// same code TermServGetch reports for that key; -1 for an unknown name.
// Names (any case): ENTER (or CR, RETURN) 13, ESC, TAB, BS (the byte 127 a
// Backspace key sends), UP, DOWN, LEFT, RIGHT, HOME, END, PGUP, PGDN, INS,
// DEL, F1..F12, each special key optionally prefixed by modifiers S- (Shift),
// C- (Ctrl) and A- (Alt) in any order (C-S-F1, A-UP); ^A..^Z the control
// characters 1..26; LT the character '<'; a decimal number that code itself.
int t_KeyFromName(char const* pszName, int nLen);

}  // namespace morka
