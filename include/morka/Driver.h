// Driver: the device drivers of the channel table. A driver is one object per
// organisation or device; a channel names it by QXFILE::iDriver (index in the
// table below). Every operation takes the channel record first. Operations
// raise int error numbers and store the number in the channel's iErrno first;
// the keyed operations answer false when another program holds the record
// (the run-time waits and retries, see velbra/LockWait.h). The base class
// answers every operation a driver does not support with error 1011 (wrong
// organisation), so a driver overrides only what its organisation does.
#pragma once

#include <cstddef>
#include <morka/CBString.h>
#include <morka/FileMngr.h>

namespace morka {

// Slots of the driver table. A channel on slot 8 or 9 is not handed to a
// linked program (printers and pipes are closed by LINK).
enum t_DriverIndex : int {
    DRV_CONSOLE = 0,     // the terminal: channel 0 and OPEN of "CON"
    DRV_SEQUENTIAL = 1,  // 0x10 over stdio
    DRV_TEXT = 2,        // 0x100 over stdio
    DRV_KEYED = 3,       // 0x02, 0x04, 0x800: string keys
    DRV_DIRECT = 4,      // 0x08, 0x1000: record numbers
    DRV_RAW = 5,         // 0x200: raw record numbers
    DRV_ISAM = 6,        // 0x400
    DRV_SPARE = 7,
    DRV_PRINTER = 8,     // printers: a spool file per printer name
    DRV_PIPE = 9,
    DRV_COUNT = 10,
};

// Device classes reported by Describe (the Class function).
enum : int {
    CLASS_NONE = 0,
    CLASS_TERM_STREAM = 1,   // terminal in the plain stream mode
    CLASS_TERM_SCREEN = 2,   // terminal under the full-screen library
    CLASS_PRT_SPOOL = 1,     // printer spooled to a file
};

// What CREATE passes to the driver of the new file's organisation.
struct CCreateArgs {
    int eOrg = ORG_NONE;
    int nRecordSize = 0;             // bytes of one record (keyed, direct), 0: the driver's default
    int nKeyLen = 0;                 // longest string key, 0: the driver's default
    char const* pszExtra = nullptr;  // CREATE's text argument; ISAM: the record description
    char const* pszIndex = nullptr;  // ISAM: the index description
};

class CDriver {
public:
    virtual ~CDriver() = default;

    // --- Life of a channel ---------------------------------------------------
    // Fills the device items of a scratch record for name (iClass). Default:
    // class 0.
    virtual void Describe(QXFILE* pFile, CBString const& sName);
    // Opens the file of pFile. On entry eOrg, eAccess, uFlags, eDevType,
    // eInDevType, iDriver, sName and sPath are set and bOpen is false. The
    // driver opens the file, takes the lock between programs, and sets up
    // pStream or pDriverState, the record buffer (pRecord, nBufferSize; use
    // t_SetRecordSize) and for keyed files the key buffer (t_SetKeyLen).
    // Returns false when another program holds the file, after releasing all
    // it took. Raises the operating-system number of a failed open.
    virtual bool Open(QXFILE* pFile) = 0;
    // Releases what Open took (stream, driver state, lock). Raises the
    // operating-system number when the last write-back fails, but releases
    // everything first. t_Close frees the record and key buffers afterwards.
    virtual void Close(QXFILE* pFile) = 0;

    // --- Characters ----------------------------------------------------------
    // Writes one byte / n bytes (already in the channel's character set).
    // Errors may surface here or at the next Flush.
    virtual void PutChar(QXFILE* pFile, int c);
    virtual void Write(QXFILE* pFile, char const* pBytes, std::size_t n);
    // A flush point of the statements. bNow: the output reaches the file
    // before returning. Otherwise a driver of a regular file may keep it at
    // most a few milliseconds longer (the rest of the system flushes all
    // channels before it starts other programs or touches files by name).
    // Raises the operating-system number of a failed write (also one
    // remembered from an earlier write-back).
    virtual void Flush(QXFILE* pFile, bool bNow);
    // Writes one whole stream record (its end mark included) and makes its
    // end a flush point. A driver that defers the write-back hands records to
    // the system only whole. Default: Write, then Flush(pFile, false).
    virtual void PutRecord(QXFILE* pFile, char const* pBytes, std::size_t n);
    // Raises the error of an earlier failed write or read, if any (the
    // stream's error indicator; end of file is no error). Default: nothing.
    virtual void CheckError(QXFILE* pFile);
    // Reads one byte; -1 at end of file (bEndOfFile is then set).
    virtual int GetChar(QXFILE* pFile);
    // Pushes one byte back so that the next GetChar returns it.
    virtual void UngetChar(QXFILE* pFile, int c);
    // Reads up to n bytes; returns the count read (short at end of file).
    virtual std::size_t Read(QXFILE* pFile, void* pBytes, std::size_t n);
    // True when no further input is there. Stream drivers look ahead (a
    // regular file at its end is at end of file before a read meets it).
    // Default: bEndOfFile of the channel.
    virtual bool Eof(QXFILE* pFile);
    // Reads one line of text into the record buffer (grown as needed): the
    // bytes as stored, without the line end (LF, CR or CR LF), nRecordLen
    // their count, iReadPos 0. Returns false at end of file with nRecordLen
    // 0 and bEndOfFile set.
    virtual bool ReadLine(QXFILE* pFile);

    // --- Records -------------------------------------------------------------
    // Reads the next record of a non-stream sequential file into the record
    // buffer (nRecordLen bytes); false at end of file (bEndOfFile set).
    virtual bool ReadRecord(QXFILE* pFile);
    // Reads the record of the key set in the channel (pKey for string keys,
    // iRecord for record numbers) into the record buffer: nRecordLen bytes,
    // the rest of the buffer zero. Raises the driver's not-found number when
    // there is no such record. False: the record is held by another program.
    virtual bool ReadKey(QXFILE* pFile);
    // Positional reads in key order: the record after / before the current
    // position, the first, the last. They leave the record in the buffer,
    // its key in pKey (nKeyRead bytes) or its number in iRecord, and make it
    // the current position. Raise the driver's end-of-file number when there
    // is no such record. False: held by another program.
    virtual bool ReadNext(QXFILE* pFile);
    virtual bool ReadPrev(QXFILE* pFile);
    virtual bool ReadTop(QXFILE* pFile);
    virtual bool ReadEnd(QXFILE* pFile);
    // Stores the record buffer (nBufferSize bytes, zero-filled after the
    // data; nRecordLen or iWritePos tell the data's length) under the key set
    // in the channel, replacing a record of that key. False: held.
    virtual bool WriteRecord(QXFILE* pFile);
    // Deletes the record of the key set in the channel. False: held.
    virtual bool DeleteRecord(QXFILE* pFile);
    // Releases the record lock this channel holds, if any. Default: nothing.
    virtual void Unlock(QXFILE* pFile);
    // Enlarges the record buffer by nBytes (new bytes zero). Default: raises
    // 1028 (record buffer overflow); stream drivers grow.
    virtual void GrowBuffer(QXFILE* pFile, int nBytes);

    // --- Handing channels to a linked program, in this slot order -------------
    // Called in the new program for each inherited channel after its fixed
    // fields were copied (pointers in it are stale: the driver replaces them).
    virtual void Attach(QXFILE* pFile, int iDriver);
    // Called in the old program: flushes and returns the driver's state bytes
    // (may be empty). The descriptors stay open across exec.
    virtual CBString SaveState(QXFILE* pFile);
    // Called in the new program with the bytes SaveState returned.
    virtual void RestoreState(QXFILE* pFile, CBString const& sState);

    // --- Files by name (CREATE, ERASE, RENAME, TRUNCATE, COPY) ---------------
    // True when the file at sPath is in this driver's format (so the name
    // operations below go to this driver). Default: false.
    virtual bool Probe(CBString const& sPath);
    // Creates an empty file. Default: an empty regular file; 17 when it
    // exists.
    virtual void Create(CBString const& sPath, CCreateArgs const& args);
    // Removes / renames / empties / copies the file. Defaults work on one
    // regular file: unlink (rmdir for a directory), rename without replacing
    // (17 when the target exists), truncate to 0, and copy through a
    // temporary file renamed into place (17 when the target exists and
    // bReplace is false; bKeep also copies the permission bits and times).
    virtual void Remove(CBString const& sPath);
    virtual void Rename(CBString const& sFrom, CBString const& sTo);
    virtual void Clear(CBString const& sPath);
    virtual void Copy(CBString const& sFrom, CBString const& sTo, bool bReplace, bool bKeep);

protected:
    // Stores n in the channel's iErrno and raises it.
    [[noreturn]] static void Raise(QXFILE* pFile, int n);
};

// The driver of slot i (a driver that refuses every operation when the slot
// is empty); null outside 0..DRV_COUNT-1.
CDriver* t_GetDriver(int i);
// Puts a driver in slot i (keyed, direct and ISAM drivers register here).
void t_SetDriver(int i, CDriver* pDriver);
// The slot of a disk file's organisation; -1 for an unknown organisation.
int t_DriverOfOrg(int eOrg);
// The driver of a channel, and its character-output driver (iDriverOut when
// set, else iDriver).
CDriver* t_Driver(QXFILE const* pFile);
CDriver* t_DriverOut(QXFILE const* pFile);

// The line-end bytes of a line-end style (uFlags & 0xC0): 0x40 "\n",
// 0x80 "\r", 0xC0 "\r\n", 0 "".
char const* t_LineEndChars(unsigned uFlags);

// Record buffer of nSize bytes (kept bytes stay, new bytes zero); raises 12.
void t_SetRecordSize(QXFILE* pFile, int nSize);
// Key buffer of nKeyLen + 1 zero bytes; raises 12.
void t_SetKeyLen(QXFILE* pFile, int nKeyLen);

}  // namespace morka
