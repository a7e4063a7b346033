// FileMngr: the channel table of the system layer. A channel is a QXFILE
// record; channel 0 is the console and is always open. Each open channel
// names its device driver by index into the driver table (one driver object
// per organisation or device).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>
#include <morka/CBString.h>
#include <morka/Console.h>

namespace morka {

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

// Access bits: 1 input, 2 output; 6 is append.
enum t_FileAccess : int {
    ACC_NONE = 0,
    ACC_INPUT = 1,
    ACC_OUTPUT = 2,
    ACC_UPDATE = 3,
    ACC_APPEND = 6,
};

// Device types.
enum t_DevType : int {
    DEV_NONE = 0,
    DEV_TERMINAL = 1,
    DEV_DISK = 2,
    DEV_PRINTER = 3,
};

// The open-channel record. Fields the run-time reads and writes directly.
struct QXFILE {
    bool bOpen = false;
    int eOrg = ORG_NONE;
    int eAccess = ACC_NONE;
    unsigned uFlags = 0;            // 0x10 quote, 0x20 carriage control, 0xC0 line end, bit 26 wide
    int eDevType = DEV_NONE;
    int eInDevType = DEV_NONE;
    int iDriver = 0;
    int iDriverOut = 0;
    FILE* pStream = nullptr;
    char* pKey = nullptr;
    unsigned char* pRecord = nullptr;
    unsigned char bEndOfRecord = 0;
    int16_t bEndOfFile = 0;
    int iErrno = 0;
    int nFields = 0;
    int iRecord = 0;
    int nKeyRead = 0;
    int nKeyLen = 0;
    int nRecordLen = 0;
    int nBufferSize = 0;
    int iReadPos = 0;
    int iWritePos = 0;
    int iPrtLine = 1;
    int iPrtPage = 1;
    int iChannel = 0;
    CBString sName;
};

class CFileMngr {
public:
    int nChannels = 258;            // OPEN accepts 0..nChannels-3
    int iLockMode = 0;              // OPTION LOCK: seconds to wait for a lock, 0 forever
    std::vector<QXFILE> aFiles;
    CConsole Console;               // keys given back to the console
};
extern CFileMngr FileMngr;

// Sets up the table with the console on channel 0.
void t_InitFiles();
// The QXFILE of channel ch, or null outside the table.
QXFILE* t_GetFile(int ch);
// The channel record when it is open and fits the organisation mask (0: any)
// and the access; raises 1019 when it is not open or unfit.
QXFILE* t_CheckOpen(int ch, int orgMask, int access);
// Closes channel ch (channel 0 and closed channels: nothing).
void t_Close(int ch);
// Closes every channel but the console.
void t_CloseAll();

}  // namespace morka
