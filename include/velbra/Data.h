// Data: the DATA statements. The compiler emits the items of all DATA
// statements as one table in program order and registers it at start-up;
// READ takes items in order, RESTORE moves the read pointer to a line.
#pragma once

#include <cstdint>

namespace morka {

// One DATA item: the line of its DATA statement and its text as written.
struct Data {
    unsigned uLine;
    char const* pszValue;
};

extern Data const* pData;          // the registered table
extern unsigned long ulDataMax;    // items in it
extern unsigned long ulDataNext;   // index of the next item to read
extern uint32_t b_ulDataNext;      // exported for compiled code; the statements leave it alone

// Registers the table (called once at start-up); the next item is the first.
void b_InitData(Data* pTable, unsigned nCount);
// RESTORE line: the next item is the first whose line is at or after line.
// No such item: error 3123 (BASIC 123, "Restore to unknown line"), the
// pointer unchanged.
void Restore(unsigned line);
// READ: letters d (CDfp*), i (CInt16*), l (CInt32*), s (CBString*) and t (a
// STRUCTURE's map; every field whatever its storage class, CLASS fields
// stepped over). A number takes the leading number of the item's text (0
// when there is none), a CInt16 the leading integer narrowed by b_I, a
// string the whole text. No item left: 3036 (BASIC 36, "Out of data");
// another letter: 1030. Items taken stay taken when the statement fails.
void ReadData(char const* pszTypes, ...);
// MAT READ: letters D I L S T, each with (array, rows, cols); elements 1 to
// rows (and 1 to cols of each row), rows and cols 0 or above the upper bound
// meaning the whole array. Runs in the statement frame like READ, so an
// error reaches the error handler. Another letter is reported to the error
// handler (1030) and the statement goes on with the next letter.
void MatReadData(char const* pszTypes, ...);

}  // namespace morka
