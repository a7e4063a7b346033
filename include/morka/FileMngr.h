// FileMngr: the channel table of the system layer. A channel is a QXFILE
// record; channel 0 is the console and is always open. Each open channel
// names its device driver by index into the driver table (morka/Driver.h: one
// driver object per organisation or device). The fixed fields come first, in
// the order the run-time and the link image rely on; strings come last.
// Errors: 9 channel not open, 1011 organisation unfit, 1019 access unfit,
// 1053 channel outside the table, 1054 channel already in use, 1003 no free
// channel; operating-system numbers from the files themselves.
#pragma once

#include <cstdint>
#include <cstdio>
#include <unistd.h>
#include <vector>
#include <morka/CBString.h>
#include <morka/Console.h>

namespace morka {

class CDriver;

// File organisations, one bit each.
enum t_FileOrg : int {
    ORG_NONE = 0,
    ORG_KEYED = 0x02,
    ORG_KEYED2 = 0x04,
    ORG_DIRECT = 0x08,
    ORG_SEQUENTIAL = 0x10,
    ORG_TEXT = 0x100,
    ORG_RAW = 0x200,
    ORG_ISAM = 0x400,
    ORG_KEYED3 = 0x800,
    ORG_DIRECT2 = 0x1000,
};

// Organisation masks of the statement families.
enum : int {
    MASK_ANY = 0,
    MASK_TEXT = ORG_SEQUENTIAL | ORG_TEXT,                 // 0x110
    MASK_STRING_KEY = ORG_KEYED | ORG_KEYED2 | ORG_KEYED3,  // 0x806
    MASK_NUMBER_KEY = ORG_DIRECT | ORG_RAW | ORG_DIRECT2,   // 0x1208
};

// Access bits: 1 input, 2 output; 6 is append.
enum t_FileAccess : int {
    ACC_NONE = 0,
    ACC_INPUT = 1,
    ACC_OUTPUT = 2,
    ACC_UPDATE = 3,
    ACC_APPEND = 6,
};

// Device types (t_Device): 0 no device, 1 terminal, 2 disk file, 3 printer.
enum t_DevType : int {
    DEV_NONE = 0,
    DEV_TERMINAL = 1,
    DEV_DISK = 2,
    DEV_PRINTER = 3,
};

// The flags argument of OPEN (t_Open). Bits 0x04..0x20 are copied to uFlags as
// they are; the line-end style (0xC0) is taken from the flags only when
// OPEN_EOL_GIVEN is set, otherwise the default style applies: LF when the
// environment value b_opennl reads non-zero, else CR (the system's own line
// end). Bit 26 (wide characters) is copied too.
enum : unsigned {
    OPEN_NOLOCK = 0x04,     // take no lock: other programs may open the file freely
    OPEN_NOCREATE = 0x08,   // output, update and append refuse to create a missing file (error 2)
    OPEN_QUOTE = 0x10,      // quote (delimited) mode
    OPEN_CC = 0x20,         // carriage-control mode
    OPEN_EOL_NONE = 0x100,  // explicit line-end styles
    OPEN_EOL_LF = 0x140,
    OPEN_EOL_CR = 0x180,
    OPEN_EOL_CRLF = 0x1C0,
    OPEN_EOL_GIVEN = 0x100,
    OPEN_WIDE = 1u << 26,
};

// uFlags bits of an open channel.
enum : unsigned {
    UF_NOLOCK = 0x04,
    UF_NOCREATE = 0x08,
    UF_QUOTE = 0x10,
    UF_CC = 0x20,
    UF_EOL_MASK = 0xC0,
    UF_EOL_LF = 0x40,
    UF_EOL_CR = 0x80,
    UF_EOL_CRLF = 0xC0,
    UF_WIDE = 1u << 26,
};

// The open-channel record. The run-time reads and writes these fields
// directly; the driver of the channel owns what pDriverState points at.
struct QXFILE {
    bool bOpen = false;             // the channel is in use
    int eOrg = ORG_NONE;            // one t_FileOrg bit
    int eAccess = ACC_NONE;         // t_FileAccess
    unsigned uFlags = 0;            // UF_* bits
    int eDevType = DEV_NONE;        // t_DevType of the output side
    int eInDevType = DEV_NONE;      // t_DevType of the input side (1: the keyboard)
    int iDriver = 0;                // index in the driver table
    int iDriverOut = 0;             // when non-zero, the driver of character output
    FILE* pStream = nullptr;        // stdio stream of a stream channel
    void* pDriverState = nullptr;   // the driver's own per-channel state
    char* pKey = nullptr;           // key buffer: nKeyLen + 1 bytes (keyed channels)
    unsigned char* pRecord = nullptr; // record buffer: nBufferSize bytes
    unsigned char bEndOfRecord = 0; // record fully read; text: line end written or pending
    int16_t bEndOfFile = 0;         // end of input met
    int iErrno = 0;                 // error number stored before the run-time raises it
    int nFields = 0;
    int iRecord = 0;                // record number (integer key)
    int nKeyRead = 0;               // key bytes returned by a positional read
    int nKeyLen = 0;                // longest string key of the file
    int nRecordLen = 0;             // valid bytes in the record buffer
    int nBufferSize = 0;            // capacity of the record buffer
    int iReadPos = 0;
    int iWritePos = 0;              // text channels: the print column, 0 at line start
    int iPrtLine = 1;               // printer: line counter, 1-based
    int iPrtPage = 1;               // printer: page counter, 1-based
    int iChannel = 0;               // this record's channel number
    int iClass = 0;                 // device class (Class): see Driver.h
    int iLockSlot = -1;             // entry in the file-lock table, -1 none
    int iLastChar = -1;             // printer: last byte written (CR LF counts once)
    bool bFresh = false;            // nothing written since a carriage-control channel was opened empty
    CBString sPath;                 // the Linux path of the file
    CBString sName;                 // the name with which the channel was opened
};

class CFileMngr {
public:
    CFileMngr() = default;
    CFileMngr(CFileMngr const&) = delete;
    CFileMngr& operator=(CFileMngr const&) = delete;
    // Frees the buffers the channel records still hold.
    ~CFileMngr();

    int nChannels = 258;            // OPEN accepts 0..nChannels-3
    int iLockMode = 0;              // OPTION LOCK: seconds to wait for a lock, 0 forever
    std::vector<QXFILE> aFiles;     // nChannels records, set up by t_InitFiles
    CConsole Console;               // keys given back to the console
};
extern CFileMngr FileMngr;

// Sets up the table with the console on channel 0 (safe to call again: the
// open channels are closed first).
void t_InitFiles();
// The QXFILE of channel ch, or null outside the table (0..nChannels-1).
QXFILE* t_GetFile(int ch);
// The channel number of a channel record; -1 for null.
int t_GetFileNum(QXFILE const* pFile);
// The record of channel ch when it may be opened: raises 1053 outside the
// table and 1054 when the channel is in use.
QXFILE* t_CheckFree(int ch);
// The channel record when it is open and fits the organisation mask (0: any)
// and the access bits: raises 1053 outside the table, 9 when the channel is
// not open, 1011 when the organisation does not fit, 1019 when the access
// does not; iErrno of an existing record is set first.
QXFILE* t_CheckOpen(int ch, int orgMask, int access);
// Opens channel ch on name for device type devType (1, 2 or 3), organisation
// org and access (1, 2, 3 or 6); flags as OPEN_* above. Returns true when
// opened, false when another program holds the file (the caller waits and
// retries). Raises 1053/1054 for the channel, 1009 for a malformed name, 19
// when the name is no device, 1011 for an organisation without a driver, 22
// for an unknown access, and the operating-system number of a failed open.
// Sets t_sMorkaFname/t_sLinuxFname before anything can fail.
bool t_Open(int ch, char const* name, int devType, int org, int access, unsigned flags);
// Closes channel ch: writes a pending carriage-control line end, flushes,
// releases the file lock and the buffers. Channel 0, closed channels and
// numbers outside the table: nothing. Raises the operating-system number when
// the last flush fails (the channel is closed all the same).
void t_Close(int ch);
// Closes every channel but the console; errors are stored, not raised.
void t_CloseAll();
// Hands every open channel's buffered output to the operating system; a
// failure is kept in the channel (iErrno and the stream's error indicator)
// and raised by its next statement. Call before fork, exec or SYSTEM.
void t_FlushAll();
// The lowest free channel number from 1; raises 1003 when none is free.
int t_NextFile();
// True when the channel writes to a terminal (the console and devices opened
// on a terminal).
bool isatty(QXFILE const* pFile);
using ::isatty;

}  // namespace morka
