// Record: the tagged field codec of binary records (WRITE, WRITE KEY, READ,
// READ KEY and their MAT forms). A record is a sequence of fields, each a tag
// byte and its value, ended by a 0 byte (stream) or by the record length and
// the zero fill (record buffer). Multi-byte integers are little-endian.
//   tag 1 CInt16 (2 bytes)   2 legacy BCD number (8, morka/Bcd.h)
//   tag 3 decimal64 BID (8)  6 IEEE double (8)       9 CInt32 (4)
//   tag 4 string, 1-byte length   12 string, 2-byte length   5 string, 4-byte signed length
// Numbers are written as tag 2. A value the BCD form cannot hold exactly
// enough is written so that it is not changed: beyond the BCD range (or not
// finite) the IEEE flavour writes tag 6; the decimal flavour writes tag 3 for
// every value that is not exact in 14 digits.
//
// All operations take the channel first. An error is stored in the channel's
// iErrno and thrown as an int.
#pragma once

#include <cstdarg>
#include <morka/FileMngr.h>
#include <velbra/TypeBase.h>

namespace morka {

enum : unsigned char {
    TAG_END = 0,
    TAG_INT16 = 1,
    TAG_BCD = 2,
    TAG_DECIMAL = 3,
    TAG_STRING8 = 4,
    TAG_STRING32 = 5,
    TAG_DOUBLE = 6,
    TAG_INT32 = 9,
    TAG_STRING16 = 12,
};

// Appending to the record buffer at iWritePos. Each field must fit whole
// between iWritePos and nBufferSize, else 1028 is raised and neither the
// buffer nor iWritePos changes. Strings are converted to the channel's
// character set first (t_strconvout); 255 bytes or fewer take tag 4.
void _BAppendInt16(QXFILE* pFile, int n);
void _BAppendLong(QXFILE* pFile, int n);
void _BAppendDfp(QXFILE* pFile, dfp_t x);
void _BAppendString(QXFILE* pFile, char const* pBytes, int nLen);
// A record's public members, in map order (nested records in place).
void _BAppendType(QXFILE* pFile, CTypeMap const* pMap);
// The operands of WRITE KEY: letters c d i l r s t z, passed as for PRINT;
// any other letter raises 1030.
void _Vars2Buffer(QXFILE* pFile, char const* pszTypes, va_list* pAp);
// The operands of MAT WRITE KEY: C D I L S T, each (array, rows, cols).
void _Arrays2Buffer(QXFILE* pFile, char const* pszTypes, va_list* pAp);

// Writing the same bytes to a sequential channel (its output driver). Strings
// are converted unless bit 4 of Morka.uStreamFlags is set. A write error
// raises its system number; bytes already written stay in the stream.
void _FWriteInt16(QXFILE* pFile, int n);
void _FWriteLong(QXFILE* pFile, int n);
void _FWriteDfp(QXFILE* pFile, dfp_t x);
void _FWriteString(QXFILE* pFile, char const* pBytes, int nLen);
void _FWriteType(QXFILE* pFile, CTypeMap const* pMap);
// WRITE and MAT WRITE operands, as _Vars2Buffer and _Arrays2Buffer.
void _Vars2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp);
void _Arrays2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp);
// A whole WRITE (bArrays false) or MAT WRITE record: the operands' fields
// and the end byte, handed to the channel's driver in one piece
// (CDriver::PutRecord: the record's end is a flush point). When an operand
// fails, the fields before it are written without the end byte.
void _FWriteRecord(QXFILE* pFile, char const* pszTypes, va_list* pAp, bool bArrays);
// Ends a stream record: byte 0, then a flush point of the channel (the
// stream driver hands the output to the system there, unless b_flushdelay
// allows it to wait some milliseconds); raises the system number of a failure.
void _FWriteEor(QXFILE* pFile);

// Fetching the next field of the record buffer, converted to the kind asked
// for. Past the record's end (or after a 0 tag) the end-of-record flag is set
// and the result is 0 or "". An invalid tag raises 1088 (flag set, field not
// counted); a string field reaching past the record length, or a negative
// length, raises 1087; a fixed-size field cut by the record length raises
// 1088. Each field fetched counts in nFields.
dfp_t _BFetchDfp(QXFILE* pFile);
int _BFetchInteger(QXFILE* pFile);
CBString _BFetchString(QXFILE* pFile);
// Fills a record's public members in map order.
void _BufferToType(QXFILE* pFile, CTypeMap const* pMap);
// READ: fills the variables (letters c d i l r s t, by address; 1030 for any
// other), then counts the remaining fields of the record, so that nFields
// holds the record's field count (from the last io list, when there is one).
void _Buffer2Vars(QXFILE* pFile, char const* pszTypes, va_list* pAp);
// MAT READ: fills arrays (C D I L S T, each with rows and cols).
void _Buffer2Arrays(QXFILE* pFile, char const* pszTypes, va_list* pAp);

// Reads the next record of a sequential channel into the record buffer
// (through its driver: the console reads standard input; a channel of
// another organisation reads with the driver's ReadRecord).
// At the end of the stream bEndOfFile is set; no error is raised for it. A
// byte that cannot start a field ends the record: the reader skips to the
// next byte that can (left for the next record), past a 0 byte, or to the end.
void _Read(QXFILE* pFile);

}  // namespace morka
