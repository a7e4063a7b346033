// FileRawApi: raw record statements. The program gives or receives a record
// as an uninterpreted byte string; nothing is encoded or decoded. Sequential
// channels (mask 0x10), string-keyed channels (0x806) and raw record-number
// channels (0x200 only). Keys as for the record statements (velbra/
// FileRecord.h): a string key too long for a write, or a negative record
// number, raises 1029 (BASIC 34); reads cut a long key. A string longer than
// the record buffer raises 1028 (BASIC 47). The writes wait for a record
// held by another program like WRITE KEY (1024, BASIC 48, past the OPTION
// LOCK limit), so that a write is never dropped without a word; so do the
// reads. Errors go to the error handler with the channel; a true answer runs
// the statement again.
#pragma once

#include <morka/CBString.h>
#include <velbra/NumClasses.h>

namespace morka {

// The string as one record of a sequential file: its bytes, then the end
// byte 0 (1028 when longer than the channel's record buffer).
void RawWrite(int channel, CBString const& record);
// The bytes of the string (or of the text up to its NUL) stored under the key.
void RawWriteKey(int channel, char const* key, CBString const& record);
void RawWriteKey(int channel, CBString const* key, CBString const& record);
void RawWriteKey(int channel, char const* key, char const* record);
void RawWriteKey(int channel, CBString const* key, char const* record);
void RawWriteKey(int channel, CInt32 key, char const* record);
void RawWriteKey(int channel, CInt32 key, CBString const& record);
// The next tagged record of a sequential file, tags included, without its end
// byte ("" at the end of the file).
void RawRead(int channel, CBString& record);
// The record of the key: all buffer-size bytes of the record buffer.
void RawReadKey(int channel, char const* key, CBString& record);
void RawReadKey(int channel, CBString const* key, CBString& record);
void RawReadKey(int channel, CInt32 key, CBString& record);
// Positional reads: the record's own bytes; the key found is returned (a
// string key as stored, without character-set conversion; a record number
// as it is, narrowed for CInt16).
void RawReadTop(int channel, CBString* key, CBString& record);
void RawReadNext(int channel, CBString* key, CBString& record);
void RawReadPrev(int channel, CBString* key, CBString& record);
void RawReadEnd(int channel, CBString* key, CBString& record);
void RawReadTop(int channel, CInt32* key, CBString& record);
void RawReadNext(int channel, CInt32* key, CBString& record);
void RawReadPrev(int channel, CInt32* key, CBString& record);
void RawReadEnd(int channel, CInt32* key, CBString& record);
void RawReadTop(int channel, CInt16* key, CBString& record);
void RawReadNext(int channel, CInt16* key, CBString& record);
void RawReadPrev(int channel, CInt16* key, CBString& record);
void RawReadEnd(int channel, CInt16* key, CBString& record);
void RawReadTop(int channel, CDfp* key, CBString& record);
void RawReadNext(int channel, CDfp* key, CBString& record);
void RawReadEnd(int channel, CDfp* key, CBString& record);

}  // namespace morka
