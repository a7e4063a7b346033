// Console: keystrokes waiting for the program. The console queue holds keys
// given back by the program (UNGET, the key-trap poll) and is read first; the
// keyboard stack holds keystrokes queued ahead (scripted input), which the
// console statements take before the keyboard when they ask for them.
//
// Filling the stack: at start-up the environment value b_keys, then the file
// named by b_keyfile, are read in the key notation: every character is the
// key of that character; a line end in the text (LF, CR or CR LF) is Enter
// (13); <name> is a named key (see t_KeyFromName in TermKeys.h: <UP>, <F1>,
// <C-S-F1>, <ESC>, <^X>, <27>, <LT> for '<'); a '<' that does not open a known
// name is itself. b_keyshow set to a non-zero number turns on t_bStackShow.
#pragma once

#include <deque>

namespace morka {

class CConsole {
public:
    // True when a key can be read now: the queue or the keyboard stack holds
    // one, or (standard input being a terminal) a key has been typed.
    bool ConReady();
    // Takes the next key of the queue; -1 when it is empty.
    int ConGet();
    // Gives back one byte (c & 0xFF) / one key code; it is read next.
    void ConUnget(int c);
    void ConUngetW(int iKey);
    // Empties the queue.
    void ConClear();

private:
    std::deque<int> m_aQueue;
};

// Keyboard stack. Keys are key codes as TermServGetch reports them (the
// notation's named keys) or their TermConvIn translation (keys given back).
// True when at least one keystroke is stacked. The argument is accepted for
// the callers that pass it; the answer does not depend on it.
bool t_StackReady(bool bAny = false);
// Takes / looks at the next keystroke; -1 when the stack is empty.
int t_StackGet();
int t_StackPeek();
// Takes one line: the characters (codes 32..255) up to the next Enter, which
// is taken too; other keys on the line are dropped. At most nSize - 1
// characters are stored (the rest of the line is dropped) and a NUL is
// added. Returns the number of characters stored; -1 when the stack was
// empty.
int t_StackRead(char* pBuffer, int nSize);
// Puts a keystroke back in front.
void t_StackUnget(int iKey);
// Appends the keys of a text in the key notation; returns their number.
int t_StackKeys(char const* pszKeys);
// Empties the stack.
void t_StackClear();
// Text taken from the stack is echoed by the console statements.
extern bool t_bStackShow;

// Fills the stack from b_keys and b_keyfile and sets t_bStackShow from
// b_keyshow (start-up). Raises the system error number when b_keyfile names
// a file that cannot be read.
void t_StackInit();

}  // namespace morka
