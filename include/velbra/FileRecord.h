// FileRecord: the record statements. READ, WRITE and their MAT forms move
// tagged records (velbra/Record.h) on sequential channels (mask 0x10); READ
// KEY, WRITE KEY, DELETE and the positional reads READ NEXT / PREV / TOP /
// END work on keyed channels: a string key (mask 0x806) or a record number
// (mask 0x1208, CInt32 keys and numeric key variables). UNGET pushes
// characters back into a channel's input (mask 0x110).
//
// Every statement runs in the statement frame: an error goes to
// b_ErrorHandler with the channel, and a true answer runs the statement again
// from the start with its arguments taken afresh. A record held by another
// program is waited for in half-second steps; past the OPTION LOCK limit the
// statement raises 1024 (BASIC 48).
// Errors: 1029 (34) a string key too long for a writing statement or a
// negative record number (reading statements and DELETE cut a long key);
// 1028 (47) a record that does not fit the record buffer; 1087/1088 (87/88)
// a damaged record; 1030 a type code the statement does not take; 1025 (64)
// no record with the key, 1063 (65) the end of the file in a positional
// read; the channel errors of b_CheckOpen; the system error of a failed
// stream write.
//
// Type codes: scalar forms 'c' 'd' 'i' 'l' 'r' 's' 't', and 'z' for the
// writes; values for WRITE / WRITE KEY ('d' a dfp_t, 'i' 'l' an int, 's' a
// CBString const*, 'z' a char const*), addresses for the reads. MAT forms:
// 'C' 'D' 'I' 'L' 'S' 'T', each with (array, rows, cols).
#pragma once

#include <morka/CBString.h>
#include <velbra/NumClasses.h>

namespace morka {

// READ / MAT READ: the next record of a sequential file. At the end of the
// file the variables get 0 or "" and EOF becomes true; no error is raised.
void Read(int channel, char const* types, ...);
void MatRead(int channel, char const* types, ...);
// WRITE / MAT WRITE: one record to a sequential file, ended by a 0 byte.
void Write(int channel, char const* types, ...);
void MatWrite(int channel, char const* types, ...);

// READ KEY / MAT READ KEY: the record of a record number or a string key.
void ReadKey(int channel, CInt32 key, char const* types, ...);
void ReadKey(int channel, char const* key, char const* types, ...);
void ReadKey(int channel, CBString const* key, char const* types, ...);
void MatReadKey(int channel, CInt32 key, char const* types, ...);
void MatReadKey(int channel, char const* key, char const* types, ...);
void MatReadKey(int channel, CBString const* key, char const* types, ...);

// READ NEXT / PREV / TOP / END and their MAT forms: the record after or
// before the channel's position in key order, the first, the last. The key
// of the record found is stored in the key variable before its fields are
// fetched: a string key converted from the channel's character set, a record
// number as it is (CInt16: narrowed by the 16-bit rule).
void ReadNext(int channel, CBString* key, char const* types, ...);
void ReadPrev(int channel, CBString* key, char const* types, ...);
void ReadTop(int channel, CBString* key, char const* types, ...);
void ReadEnd(int channel, CBString* key, char const* types, ...);
void ReadNext(int channel, CDfp* key, char const* types, ...);
void ReadPrev(int channel, CDfp* key, char const* types, ...);
void ReadTop(int channel, CDfp* key, char const* types, ...);
void ReadEnd(int channel, CDfp* key, char const* types, ...);
void ReadNext(int channel, CInt32* key, char const* types, ...);
void ReadPrev(int channel, CInt32* key, char const* types, ...);
void ReadTop(int channel, CInt32* key, char const* types, ...);
void ReadEnd(int channel, CInt32* key, char const* types, ...);
void ReadNext(int channel, CInt16* key, char const* types, ...);
void ReadPrev(int channel, CInt16* key, char const* types, ...);
void ReadTop(int channel, CInt16* key, char const* types, ...);
void ReadEnd(int channel, CInt16* key, char const* types, ...);
void MatReadNext(int channel, CBString* key, char const* types, ...);
void MatReadPrev(int channel, CBString* key, char const* types, ...);
void MatReadTop(int channel, CBString* key, char const* types, ...);
void MatReadEnd(int channel, CBString* key, char const* types, ...);
void MatReadNext(int channel, CDfp* key, char const* types, ...);
void MatReadPrev(int channel, CDfp* key, char const* types, ...);
void MatReadTop(int channel, CDfp* key, char const* types, ...);
void MatReadEnd(int channel, CDfp* key, char const* types, ...);
void MatReadNext(int channel, CInt32* key, char const* types, ...);
void MatReadPrev(int channel, CInt32* key, char const* types, ...);
void MatReadTop(int channel, CInt32* key, char const* types, ...);
void MatReadEnd(int channel, CInt32* key, char const* types, ...);
void MatReadNext(int channel, CInt16* key, char const* types, ...);
void MatReadPrev(int channel, CInt16* key, char const* types, ...);
void MatReadTop(int channel, CInt16* key, char const* types, ...);
void MatReadEnd(int channel, CInt16* key, char const* types, ...);

// WRITE KEY / MAT WRITE KEY: the fields into the record buffer, the rest of
// the buffer zero, then the record stored under the key (replacing one of
// the same key). Both wait for a held record.
void WriteKey(int channel, CInt32 key, char const* types, ...);
void WriteKey(int channel, char const* key, char const* types, ...);
void WriteKey(int channel, CBString const* key, char const* types, ...);
void MatWriteKey(int channel, CInt32 key, char const* types, ...);
void MatWriteKey(int channel, char const* key, char const* types, ...);
void MatWriteKey(int channel, CBString const* key, char const* types, ...);

// DELETE: removes the record of the key (1025 when there is none).
void Delete(int channel, CInt32 key);
void Delete(int channel, char const* key);
void Delete(int channel, CBString const* key);

// UNGET: for each operand one character is pushed back: 'd' the number
// truncated, 'i' 'l' the integer, 's' 'z' the first byte of the text
// (nothing for ""). The form without a channel uses channel 0.
void Unget(int channel, char const* types, ...);
void Unget(char const* types, ...);

}  // namespace morka
