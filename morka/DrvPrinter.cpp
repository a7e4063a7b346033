// DrvPrinter: printers spooled to a file per printer name (t_PrinterSpool).
// A program holds its printer exclusively while the channel is open (a second
// program waits as for any locked file); output is appended. The driver
// counts lines and pages of what it writes: LF, CR and CR LF end a line (once
// each), FF starts a new page, and a page holds s_kPageLines lines.
#include "DrvStream.h"

#include <morka/FileName.h>
#include <morka/System.h>

#include <fcntl.h>

namespace morka {

namespace {

class CPrinterDriver : public CStreamDriver {
public:
    static constexpr int s_kPageLines = 66;

    void Describe(QXFILE* pFile, CBString const&) override { pFile->iClass = CLASS_PRT_SPOOL; }

    bool Open(QXFILE* pFile) override {
        if (pFile->eAccess & ACC_INPUT) Raise(pFile, MORKA_EBADDEVICE);
        int iFlags = O_WRONLY | O_APPEND | ((pFile->uFlags & UF_NOCREATE) ? 0 : O_CREAT);
        if (!OpenStream(pFile, iFlags, "a", true, false)) return false;
        pFile->iPrtLine = 1;
        pFile->iPrtPage = 1;
        pFile->iLastChar = -1;
        Describe(pFile, pFile->sName);
        return true;
    }

    void PutChar(QXFILE* pFile, int c) override {
        CStreamDriver::PutChar(pFile, c);
        Count(pFile, static_cast<unsigned char>(c));
    }

    void Write(QXFILE* pFile, char const* pBytes, std::size_t n) override {
        CStreamDriver::Write(pFile, pBytes, n);
        for (std::size_t i = 0; i < n; ++i) Count(pFile, static_cast<unsigned char>(pBytes[i]));
    }

private:
    static void Count(QXFILE* pFile, unsigned char c) {
        if (c == '\f') {
            ++pFile->iPrtPage;
            pFile->iPrtLine = 1;
        } else if (c == '\r' || (c == '\n' && pFile->iLastChar != '\r')) {
            if (++pFile->iPrtLine > s_kPageLines) {
                ++pFile->iPrtPage;
                pFile->iPrtLine = 1;
            }
        }
        pFile->iLastChar = c;
    }
};

CPrinterDriver s_Printer;

}  // namespace

CDriver& t_PrinterDriver() { return s_Printer; }

}  // namespace morka
