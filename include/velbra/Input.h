// Input: the input statements INPUT, MAT INPUT, LINPUT, LINPUT USING and GET,
// their keyed forms, and the console line editors behind them. A line is read
// into the channel's record buffer and taken apart field by field (',' or ';'
// when b_bConformToDoc and the decimal separator is not '.'); fields are
// never rejected: numbers convert as far as they can, missing fields give 0
// or "". Every statement runs in the statement frame; letters other than
// d i l s c t r (INPUT), D I L S C T (MAT INPUT), d i l s (GET) raise 1030.
#pragma once

#include <cstddef>
#include <morka/CBString.h>
#include <morka/Term.h>
#include <velbra/NumClasses.h>

namespace morka {

// Exit key of the last line input (0 after a normal end).
extern int INP;
// Cleared at the start of every line input.
extern int ON_KEY_TOKEN;

// Plain entry into pBuffer (at most nSize - 1 characters, NUL-terminated);
// returns the count. A stacked line is taken whole. INP: 0, or the control
// key that ended an empty entry (8, 24, ...). End of input ends the entry.
int b_ConInput(char* pBuffer, std::size_t nSize);
// Field editing at the cursor of the current window: edit keeps text and
// starts at position (1-based); otherwise text is a new entry of length
// characters. Key 18 toggles overwrite/insert. Returns INP.
int b_ConEdit(bool edit, CBString& text, int position, int length, bool autoReturn);
int editTerminal(CTermWin* pWin, bool edit, CBString& text, int position, int length, bool autoReturn);

// INPUT: channel 0 writes Morka.sPrompt first (keyboard of a terminal only).
void Input(char const* types, ...);
void Input(int channel, char const* types, ...);
// Keyed forms: the record of the key (masks 0x1208 / 0x806), then fields.
void InputKey(int channel, CInt32 key, char const* types, ...);
void InputKey(int channel, char const* key, char const* types, ...);
void InputKey(int channel, CBString const* key, char const* types, ...);
// MAT INPUT: operands (array, rows, columns); 0 or too many rows/columns take
// the array's upper bound; elements row by row from index 1.
void MatInput(char const* types, ...);
void MatInput(int channel, char const* types, ...);
void MatInputKey(int channel, CInt32 key, char const* types, ...);
void MatInputKey(int channel, char const* key, char const* types, ...);
void MatInputKey(int channel, CBString const* key, char const* types, ...);
// LINPUT: the whole line into var.
void Linput(CBString* var);
void Linput(char const* prompt, CBString* var);
void Linput(CBString const* prompt, CBString* var);
void Linput(int channel, CBString* var);
void LinputKey(int channel, CInt32 key, CBString* var);
void LinputKey(int channel, char const* key, CBString* var);
void LinputKey(int channel, CBString const* key, CBString* var);
// LINPUT USING: a mask gives a new entry of its length ('!' first: ends by
// itself when the field is full); a text is edited. An empty mask raises 1025.
void LinputUsing(char const* mask, CBString* var);
void LinputUsing(CBString const* text, CBString* var);
void LinputUsing(char const* prompt, char const* mask, CBString* var, CInt32 position);
void LinputUsing(CBString const* prompt, char const* mask, CBString* var, CInt32 position);
void LinputUsing(char const* prompt, CBString const* text, CBString* var, CInt32 position);
void LinputUsing(CBString const* prompt, CBString const* text, CBString* var, CInt32 position);
// GET: one character per letter; never waits on the keyboard. No character:
// bEndOfFile is set and the value is 0 / "".
void Get(char const* types, ...);
void Get(int channel, char const* types, ...);

}  // namespace morka
