// Print: the PRINT family. PRINT and MAT PRINT write to the terminal or a text
// channel (mask 0x110, output access); PRINT KEY and MAT PRINT KEY write a
// text record into the record buffer of a keyed channel and store it under
// the key (record numbers: mask 0x1208; string keys: mask 0x806, a key longer
// than the file's keys raises 1029); PUT writes raw characters. Every entry
// runs in the statement frame (errors to b_ErrorHandler with the channel, a
// true answer repeats the statement). Type codes: 'c' 'd' 'i' 'l' 'p' 'r' 's'
// 't' 'z' and TAB for PRINT and PRINT KEY; 'C' 'D' 'I' 'L' 'S' 'T' (array,
// rows, columns, print end) for the MAT forms; 'd' 'i' 'l' 's' 'z' for PUT.
// Another letter raises 1030 (fatal). A failed write raises its system error
// number. The channel forms without a number use channel 0, the terminal.
#pragma once

#include <morka/CBString.h>
#include <velbra/NumClasses.h>
#include <velbra/PrintOut.h>

namespace morka {

void Print(char const* types, ...);
void Print(int channel, char const* types, ...);
void MatPrint(char const* types, ...);
void MatPrint(int channel, char const* types, ...);
// The record is stored with the driver's write; a record held by another
// program is waited for as OPEN waits (1024 when the OPTION LOCK limit
// passes). A full record buffer raises 1028 (BASIC 47).
void PrintKey(int channel, CInt32 key, char const* types, ...);
void PrintKey(int channel, char const* key, char const* types, ...);
void PrintKey(int channel, CBString const* key, char const* types, ...);
void MatPrintKey(int channel, CInt32 key, char const* types, ...);
void MatPrintKey(int channel, char const* key, char const* types, ...);
void MatPrintKey(int channel, CBString const* key, char const* types, ...);
// PUT: numbers write the character of their low 8 bits ('d' truncated
// first), strings their text as a block; the column does not move.
void Put(char const* types, ...);
void Put(int channel, char const* types, ...);

}  // namespace morka
