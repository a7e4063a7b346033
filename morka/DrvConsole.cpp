// DrvConsole: the console as a channel (channel 0, and OPEN of "CON"): output
// on standard output, input from standard input, no lock, never closed from
// under the program. Every flush point writes at once: the console is read by
// a person or a pipe. On a terminal the run-time writes through the terminal
// layer and uses this driver for input only.
#include "DrvStream.h"

#include <morka/Term.h>

#include <cstdio>
#include <unistd.h>

namespace morka {

namespace {

class CConsoleDriver : public CStreamDriver {
public:
    void Describe(QXFILE* pFile, CBString const&) override {
        pFile->iClass = TermHasNCurses() ? CLASS_TERM_SCREEN : CLASS_TERM_STREAM;
    }

    bool Open(QXFILE* pFile) override {
        pFile->pStream = stdout;
        pFile->eInDevType = DEV_TERMINAL;
        // Every console channel writes the one standard output: one state.
        pFile->pDriverState = &m_state;
        t_SetRecordSize(pFile, s_kBufferSize);
        Describe(pFile, pFile->sName);
        return true;
    }

    void Close(QXFILE* pFile) override {
        if (pFile->pStream) std::fflush(pFile->pStream);
        pFile->pStream = nullptr;
        pFile->pDriverState = nullptr;
    }

    void Flush(QXFILE* pFile, bool) override { CStreamDriver::Flush(pFile, true); }

    bool Eof(QXFILE* pFile) override {
        // A person at the keyboard has no end of input until the reads meet one.
        if (::isatty(STDIN_FILENO)) return pFile->bEndOfFile != 0;
        return CStreamDriver::Eof(pFile);
    }

    void Attach(QXFILE* pFile, int iDriver) override {
        CDriver::Attach(pFile, iDriver);
        Open(pFile);
    }

    CBString SaveState(QXFILE* pFile) override {
        if (pFile->pStream) std::fflush(pFile->pStream);
        return CBString();
    }

    void RestoreState(QXFILE*, CBString const&) override {}

protected:
    FILE* InStream(QXFILE*) override { return stdin; }

private:
    CStreamState m_state;
};

CConsoleDriver s_Console;

}  // namespace

CDriver& t_ConsoleDriver() { return s_Console; }

}  // namespace morka
