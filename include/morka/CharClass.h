// CharClass: character classes and case mapping of the active system set
// (Morka.iCharset: 512 MORKA, any other value Zezir). The classes follow the
// Unicode character of each byte: letters include the accented ones, ß, µ, ÿ,
// ª and º; digits are 0-9 only; blanks are tab, LF, VT, FF, CR, space and the
// no-break space; printable is everything but control codes, DEL and the
// codes a set leaves free; a symbol is a printable byte that is neither
// letter, digit nor blank (punctuation, signs, line drawing). A letter whose
// other case the set lacks (in Zezir: à has no À) keeps its byte.
#pragma once

#include <morka/CBString.h>

namespace morka {

// Each takes a byte (masked to 0-255; -1 answers false).
bool t_isalnum(int c);
bool t_isalpha(int c);
bool t_isdigit(int c);
bool t_islower(int c);
bool t_isprint(int c);
bool t_isspace(int c);
bool t_issymbol(int c);
bool t_isupper(int c);
// The other case of byte c in the active set, or c itself; -1 stays -1.
int t_toupper(int c);
int t_tolower(int c);
// Case conversion in place: of a NUL-terminated text (null: nothing; returns
// psz) or of every byte of a CBString (returns s).
char* t_strupr(char* psz);
char* t_strlwr(char* psz);
CBString& t_strupr(CBString& s);
CBString& t_strlwr(CBString& s);

// The same classes for an explicit set (512 MORKA, other values Zezir).
bool t_isalpha(int c, int iCharset);
int t_toupper(int c, int iCharset);
int t_tolower(int c, int iCharset);

}  // namespace morka
