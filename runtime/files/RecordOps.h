// RecordOps: the driver operations of the record statements, each with the
// lock wait (1024 when a held record stays held past the OPTION LOCK limit),
// shared by the record statements, the raw statements and the file CALL
// routines.
#pragma once

#include <morka/FileMngr.h>

#include <string_view>

namespace morka {

// The positional reads, numbered as the statements pass them.
enum t_Positional : int { POS_END = 0, POS_NEXT = 1, POS_PREV = 2, POS_TOP = 3 };

void _ReadKey(QXFILE* pFile);
void _ReadPositional(QXFILE* pFile, int eOp);
void _WriteRecord(QXFILE* pFile);
void _Delete(QXFILE* pFile);
// The key of the record a positional read found, as stored (up to its first
// NUL byte or nKeyRead bytes): a view of the key buffer, valid until the
// channel's key changes.
std::string_view _FoundKey(QXFILE const* pFile);
// Fills the record buffer with the bytes and zero bytes after them up to the
// buffer size; iWritePos becomes the count. More bytes than the buffer
// holds: 1028 when bStrict, else they are cut.
void _SetRecordBytes(QXFILE* pFile, char const* pBytes, int nLen, bool bStrict);

}  // namespace morka
