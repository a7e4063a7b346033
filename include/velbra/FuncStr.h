// FuncStr: the string functions of the language. Every function returns a new
// value and leaves its arguments alone; none raises a BASIC error (only the
// allocator's std::bad_alloc can escape). Positions count bytes from 1, a
// search that finds nothing answers 0, a predicate answers -1 (true) or 0.
// Each string argument comes as CBString const& or char const* (a null
// char const* reads as the empty string), in every combination.
#pragma once

#include <morka/CBString.h>

namespace morka {

// The dynamic-field separators (field 222, sub-field 221 at load), read by
// every field function and changed only by ExtDelims.
extern unsigned char b_cField;
extern unsigned char b_cSub;

// Ext: field `field` of s (sub < 1: the whole field, sub-field separators
// included), or sub-field `sub` of it. Empty when field < 1, s is empty or the
// field or sub-field does not exist.
CBString Ext(CBString const& s, int field, int sub);
CBString Ext(char const* s, int field, int sub);

// Del: s without field `field` (sub < 1) or without sub-field `sub`, with the
// separator that goes with it; then every trailing separator of either kind
// is dropped. field < 1 or an empty s gives the empty string.
CBString Del(CBString const& s, int field, int sub);
CBString Del(char const* s, int field, int sub);

// Ins: text inserted as field field+1 (sub < 1; field 1 when field < 1) or as
// sub-field sub+1 of field `field`, appending the separators that are
// missing; trailing separators are dropped. field < 1 with sub >= 1 inserts
// into field 1.
CBString Ins(CBString const& s, int field, int sub, CBString const& text);
CBString Ins(CBString const& s, int field, int sub, char const* text);
CBString Ins(char const* s, int field, int sub, CBString const& text);
CBString Ins(char const* s, int field, int sub, char const* text);

// Rep: sub-field `sub` of field `field` replaced by text (numbers below 1
// count as 1), appending the separators that are missing; trailing
// separators are dropped.
CBString Rep(CBString const& s, int field, int sub, CBString const& text);
CBString Rep(CBString const& s, int field, int sub, char const* text);
CBString Rep(char const* s, int field, int sub, CBString const& text);
CBString Rep(char const* s, int field, int sub, char const* text);

// ExtDelims: sets the separators (0 restores 222 / 221; each cut to a byte)
// and returns the new field separator (0..255).
int ExtDelims(int field, int sub);

// Left: the first n bytes (n <= 0: empty; n past the end: all of s).
CBString Left(CBString const& s, int n);
CBString Left(char const* s, int n);
// Mid: n bytes from position start (start < 1 counts as 1; stops at the end;
// empty when n <= 0 or start lies past the end).
CBString Mid(CBString const& s, int start, int n);
CBString Mid(char const* s, int start, int n);
// Right: the bytes from position start to the end (start < 1: all of s).
CBString Right(CBString const& s, int start);
CBString Right(char const* s, int start);
// Ovr: text cut or space-filled to n bytes written over s from position start
// (start < 1 counts as 1); s grows past its end, a gap is filled with spaces.
// n <= 0 returns s unchanged.
CBString Ovr(CBString const& s, int start, int n, CBString const& text);
CBString Ovr(CBString const& s, int start, int n, char const* text);
CBString Ovr(char const* s, int start, int n, CBString const& text);
CBString Ovr(char const* s, int start, int n, char const* text);

// Lpad, Rpad, Cpad: spaces on the left, the right or both sides (an odd
// extra space goes right) up to width n; a longer s is returned whole.
CBString Lpad(CBString const& s, int n);
CBString Lpad(char const* s, int n);
CBString Rpad(CBString const& s, int n);
CBString Rpad(char const* s, int n);
CBString Cpad(CBString const& s, int n);
CBString Cpad(char const* s, int n);
// Ltrim, Rtrim: leading / trailing spaces (code 32 only) removed. Trim: both,
// and every inner run of spaces reduced to one.
CBString Trim(CBString const& s);
CBString Trim(char const* s);
CBString Ltrim(CBString const& s);
CBString Ltrim(char const* s);
CBString Rtrim(CBString const& s);
CBString Rtrim(char const* s);

// Space: n spaces. Rpt: s repeated n times. Both empty for n < 1.
CBString Space(int n);
CBString Rpt(int n, CBString const& s);
CBString Rpt(int n, char const* s);
// Chr: one byte, the low byte of code (0 gives a one-byte string holding NUL).
CBString Chr(int code);
// At: the cursor sequence DLE, a+31, b+31 (each cut to a byte).
CBString At(int a, int b);
// Cls: one form feed.
CBString Cls();

// Ucase, Lcase: s in upper / lower case by the case mapping of the active
// character set (t_strupr, t_strlwr).
CBString Ucase(CBString const& s);
CBString Ucase(char const* s);
CBString Lcase(CBString const& s);
CBString Lcase(char const* s);

// Replace: every non-overlapping occurrence of find, left to right, replaced
// by with (replaced text is not searched again). An empty find changes
// nothing.
CBString Replace(CBString const& s, CBString const& find, CBString const& with);
CBString Replace(CBString const& s, CBString const& find, char const* with);
CBString Replace(CBString const& s, char const* find, CBString const& with);
CBString Replace(CBString const& s, char const* find, char const* with);
CBString Replace(char const* s, CBString const& find, CBString const& with);
CBString Replace(char const* s, CBString const& find, char const* with);
CBString Replace(char const* s, char const* find, CBString const& with);
CBString Replace(char const* s, char const* find, char const* with);

// Sch: position of the first find at or after start (start < 1: from 1;
// start past the end: 0), else 0. An empty find is found at the start.
int Sch(int start, CBString const& s, CBString const& find);
int Sch(int start, CBString const& s, char const* find);
int Sch(int start, char const* s, CBString const& find);
int Sch(int start, char const* s, char const* find);
// Rsch: position of the last find that begins at or before start (start
// outside 1..length: the length of s), else 0. An empty find is found at the
// search position.
int Rsch(int start, CBString const& s, CBString const& find);
int Rsch(int start, CBString const& s, char const* find);
int Rsch(int start, char const* s, CBString const& find);
int Rsch(int start, char const* s, char const* find);

// Match: -1 when s matches the wildcard pattern of the system layer's
// strmatch (* any run, ? one byte, [set]), else 0.
int Match(CBString const& s, CBString const& pattern);
int Match(CBString const& s, char const* pattern);
int Match(char const* s, CBString const& pattern);
int Match(char const* s, char const* pattern);

// Is...: -1 when the first byte of s is of the class of the active character
// set (t_isalnum ... t_isupper), else 0 (0 for an empty or null string).
int Isalnum(CBString const& s);
int Isalnum(char const* s);
int Isalpha(CBString const& s);
int Isalpha(char const* s);
int Isdigit(CBString const& s);
int Isdigit(char const* s);
int Islower(CBString const& s);
int Islower(char const* s);
int Isprint(CBString const& s);
int Isprint(char const* s);
int Isspace(CBString const& s);
int Isspace(char const* s);
int Issymbol(CBString const& s);
int Issymbol(char const* s);
int Isupper(CBString const& s);
int Isupper(char const* s);

}  // namespace morka
