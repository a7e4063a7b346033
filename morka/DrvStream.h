// DrvStream: the stdio stream driver shared by the sequential (0x10) and
// text-stream (0x100) organisations, the console and the printers. Output is
// written with the unlocked stdio calls (the system is single-threaded).
// Every flush point of PRINT hands the output to the system, so other programs
// see each line as soon as it is printed. A site that prefers throughput may
// set the environment value b_flushdelay (milliseconds): flush points of a
// regular file then write back at most that often (terminals, pipes and
// devices still every time); close, t_FlushAll, the name operations, forks
// and waits always flush at once.
// Records (PutRecord) of a sequential file whose exclusive lock this channel
// alone holds (nobody else may read it) gather in a 64 KiB stream buffer and
// go to the system whole: when the next record would not fit, when a second
// has passed since the last write-back, and at every flush above (OPEN
// flushes all channels first, so a channel opened later in this program
// reads every record written before). A record that fits is copied straight
// into the stream's buffer, as putc_unlocked does with a byte (through the
// GNU C library's FILE fields, which its own putc_unlocked macro uses).
#pragma once

#include <morka/Driver.h>

#include <cstdint>
#include <memory>

namespace morka {

// Per-channel state of a stream driver (QXFILE::pDriverState).
struct CStreamState {
    int64_t tLastFlush = 0;   // coarse monotonic time of the last write-back, ms
    bool bRegular = false;    // a regular file: flush points may be deferred
    int iError = 0;           // errno of the first failed write, kept for later checks
    bool bUpdate = false;     // read and write on one stream (access 3)
    bool bWriting = false;    // update: the last operation wrote
    std::unique_ptr<char[]> pBuffer;  // the stream's buffer: a sequential file gathers records in it
};

class CStreamDriver : public CDriver {
public:
    // Milliseconds a regular file's flush points may be deferred (b_flushdelay, default 0).
    static int FlushDelayMs();
    static constexpr int s_kBufferSize = 2048;
    // The stream buffer of a sequential file and the longest time a record
    // waits in it for the write-back.
    static constexpr std::size_t s_kRecordBuffer = 64 * 1024;
    static constexpr int s_kRecordDelayMs = 1000;

    bool Open(QXFILE* pFile) override;
    void Close(QXFILE* pFile) override;
    void PutChar(QXFILE* pFile, int c) override;
    void Write(QXFILE* pFile, char const* pBytes, std::size_t n) override;
    void Flush(QXFILE* pFile, bool bNow) override;
    void PutRecord(QXFILE* pFile, char const* pBytes, std::size_t n) override;
    void CheckError(QXFILE* pFile) override;
    int GetChar(QXFILE* pFile) override;
    void UngetChar(QXFILE* pFile, int c) override;
    std::size_t Read(QXFILE* pFile, void* pBytes, std::size_t n) override;
    bool Eof(QXFILE* pFile) override;
    bool ReadLine(QXFILE* pFile) override;
    void GrowBuffer(QXFILE* pFile, int nBytes) override;
    void Attach(QXFILE* pFile, int iDriver) override;
    CBString SaveState(QXFILE* pFile) override;
    void RestoreState(QXFILE* pFile, CBString const& sState) override;

protected:
    // The stream reads come from (the console reads standard input).
    virtual FILE* InStream(QXFILE* pFile) { return pFile->pStream; }
    // Opens sPath with the open(2) flags, takes the lock (unless UF_NOLOCK),
    // empties the file when bTruncate (only once the lock is held) and sets up
    // stream, state and record buffer. False when another program holds it.
    bool OpenStream(QXFILE* pFile, int iOpenFlags, char const* pszMode, bool bExclusive, bool bTruncate);
    // Stores the errno of a failed write in the state and raises it.
    [[noreturn]] void WriteFailed(QXFILE* pFile);
    // An update stream must be positioned between writing and reading.
    static void Turn(QXFILE* pFile, bool bWrite);
};

}  // namespace morka
