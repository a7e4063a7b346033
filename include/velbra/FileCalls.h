// FileCalls: the file utility routines that programs reach with CALL. Each
// returns its status and stores it in CALL_RETURN_VALUE: 0 success, -1
// failure or end of file, another number an error caught inside the routine
// (none is raised, except 12, out of memory, in SEQ_FREAD and SEQ_FWRITE).
// FILE_ENGINE leaves CALL_RETURN_VALUE alone; RECORD_FIELDS stores it only
// when it returns -1. Routines on an open file take its channel record
// (GetFile) and check it like a statement: sequential output (0x10, output)
// for SPOOLER_REPORT, SEQ_FWRITE and SEQ_WRITE, sequential input for
// SEQ_FREAD and SEQ_READ, string-keyed output (0x806) for IND_WRITE,
// record-number output (0x1208) for DIR_WRITE. IND_WRITE and DIR_WRITE wait
// for a record held by another program like WRITE KEY (1024 past the OPTION
// LOCK limit), so that a write is never dropped without a word.
#pragma once

#include <morka/CBString.h>
#include <morka/FileMngr.h>
#include <velbra/NumClasses.h>

namespace morka {

// count = the fields fetched from the channel's current record; -1 (and the
// result -1) when the channel is not open.
int RECORD_FIELDS(QXFILE* pFile, CInt16& count);
// n = bytes spooled so far by a printer channel (0 for another channel).
int SPOOLER_REPORT(QXFILE* pFile, CInt32& n);
int SPOOLER_REPORT(QXFILE* pFile, CDfp& n);
// The Linux user id of a user name, and its legacy id (-1 when unknown).
int USERID(CBString name);
int TUSERID(CBString name);
// The bytes of data to the channel; -1 when the channel's output failed.
int SEQ_FWRITE(QXFILE* pFile, CBString& data);
// The bytes of data as one record: the bytes, then the end byte 0.
int SEQ_WRITE(QXFILE* pFile, CBString data);
// Up to count bytes read from the channel into data; -1 on a read error.
int SEQ_FREAD(QXFILE* pFile, CBString& data, CDfp count);
// The next tagged record, tags included, with each BCD number (tag 2) turned
// into a decimal64 field (tag 3). 0, or 1 when the record holds a field
// other than 16-bit integers, numbers and strings of tags 4 and 5 (the walk
// stops there); -1 with "" at the end of the file. SEQ_READ_128TO231 also
// turns every string byte 128 into 231.
int SEQ_READ(QXFILE* pFile, CBString& record);
int SEQ_READ_128TO231(QXFILE* pFile, CBString& record);
// The record string stored under a string key / a record number (the string
// cut to the record buffer, zero bytes after it).
int IND_WRITE(QXFILE* pFile, CBString key, CBString record);
int DIR_WRITE(QXFILE* pFile, CDfp number, CBString record);
// COPY with its options: the result of t_Copy(from, to, a != 0, b != 0, c, d).
int FILE_COPY_EX(CBString from, CBString to, CInt16 a, CInt16 b, CBString c, CBString d);
// CREATE: type I, K or L (any case) a string-keyed file with recordSize-byte
// records and keys of keyLength bytes; D a record-number file; any other
// type (or an empty one) 35. extra is not used.
int FILE_CREATE_EX(CBString name, CBString type, CDfp recordSize, CInt16 keyLength, CDfp extra);
// Name translations: -1 with "" for a name that is no disk file, 46 when the
// name gives no path.
int MORKA_TO_LINUX_FILENAME(CBString& out, CBString name);
int LINUX_TO_MORKA_FILENAME(CBString& out, CBString name);
// out = the storage engine of the file ("LMDB", "STDIO", "" none).
int FILE_ENGINE(CBString& out, CBString name);
// out = the current directory in the system's form ("/:s" when unknown).
int CURRENT_DIRECTORY(CBString& out);
// count = the records of a file: keyed and record-number files as stored,
// tagged sequential files by their end bytes, text files by their line ends.
// -1 (ERR set from errno) when the name is no disk file or not found; a name
// that is a directory is reported to the error handler first (1034).
int FILE_RECORDS(CBString name, CDfp& count);
// Everything t_Locate tells about a file (same failure rule as FILE_RECORDS):
// size, the file time as day number and seconds of the day, organisation,
// protection (255 less 1 owner read, 2|8 owner write, 4 owner execute, 16
// group read, 32|128 group write), the owner's legacy id, the record size
// (number2), the maximum key length (number1), the device type (byteItem),
// the Linux path, the engine name (text1) and the owner's name (text2).
int FIND_FILE_EX(CBString name, CDfp& size, CDfp& days, CDfp& seconds, CInt16& organisation, CInt16& protection,
                 CInt16& owner, CDfp& number2, CInt16& number1, CInt16& byteItem, CBString& path, CBString& text1,
                 CBString& text2);

}  // namespace morka
