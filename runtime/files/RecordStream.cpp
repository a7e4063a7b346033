// RecordStream: the reader that assembles one tagged record from a
// sequential channel into the record buffer. The first byte comes through the
// channel's driver (which readies an update stream for reading and notes the
// end of the file); the tags and fixed-size parts after it are read from the
// channel's stdio stream (standard input when that is standard output), the
// string bytes through the driver's Read. Room is made as bytes arrive (the driver's GrowBuffer): 2048
// more bytes before a fixed-size part that would not fit, and string bytes
// in steps of at most 64 KiB, so a damaged length never allocates more than
// the stream really holds. Every byte read counts in the record length, so a
// field cut by the end of the stream is seen by the fetch (1087 for a
// string, 1088 for a fixed-size field). A negative 4-byte string length ends
// the record after the length (the fetch then reports 1087); the bytes after
// it are read as the next record.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace morka {

namespace {

constexpr int GROW_FIXED = 2048;
constexpr int STRING_STEP = 64 * 1024;

bool s_StartsField(int c) { return (c >= 1 && c <= 6) || c == 9 || c == 12; }

void s_Room(QXFILE* pFile, CDriver* pDriver, int nNeed, int nGrow) {
    if (static_cast<long long>(pFile->nRecordLen) + nNeed > pFile->nBufferSize) pDriver->GrowBuffer(pFile, nGrow);
}

// Reads up to n bytes into the record; returns how many arrived.
int s_ReadBytes(QXFILE* pFile, CDriver* pDriver, int n) {
    std::size_t nGot = pDriver->Read(pFile, pFile->pRecord + pFile->nRecordLen, static_cast<std::size_t>(n));
    pFile->nRecordLen += static_cast<int>(nGot);
    return static_cast<int>(nGot);
}

}  // namespace

void _Read(QXFILE* pFile) {
    pFile->nFields = 0;
    pFile->iReadPos = 0;
    pFile->nRecordLen = 0;
    pFile->bEndOfRecord = 0;
    CDriver* pDriver = t_Driver(pFile);
    if (!(pFile->eOrg & (ORG_SEQUENTIAL | ORG_TEXT))) {
        pDriver->ReadRecord(pFile);
        return;
    }
    FILE* fp = pFile->pStream == stdout ? stdin : pFile->pStream;
    bool bFirst = true;
    // The next byte of the stream; -1 at its end (bEndOfFile set, the stream
    // ready to be read again should the file grow).
    auto next = [&]() -> int {
        if (bFirst || !fp) {
            bFirst = false;
            return pDriver->GetChar(pFile);
        }
        int c = getc_unlocked(fp);
        if (c != EOF) return c;
        if (ferror_unlocked(fp)) {
            pFile->iErrno = errno ? errno : EIO;
            throw pFile->iErrno;
        }
        clearerr_unlocked(fp);
        pFile->bEndOfFile = 1;
        return -1;
    };
    for (;;) {
        int c = next();
        if (c < 0) return;
        if (c == TAG_END) return;
        if (!s_StartsField(c)) {
            // Resynchronise on the next byte that can start a field.
            do {
                c = next();
            } while (c > 0 && !s_StartsField(c));
            if (c > 0) pDriver->UngetChar(pFile, c);
            return;
        }
        unsigned char cTag = static_cast<unsigned char>(c);
        int nFixed = cTag == TAG_INT16 ? 2 : cTag == TAG_INT32 ? 4 : cTag == TAG_STRING8 ? 1 : cTag == TAG_STRING16 ? 2
                   : cTag == TAG_STRING32 ? 4 : 8;
        s_Room(pFile, pDriver, 1 + nFixed, GROW_FIXED);
        pFile->pRecord[pFile->nRecordLen++] = cTag;
        int iPrefix = pFile->nRecordLen;
        for (int k = 0; k < nFixed; ++k) {
            int b = next();
            if (b < 0) return;
            pFile->pRecord[pFile->nRecordLen++] = static_cast<unsigned char>(b);
        }
        if (cTag != TAG_STRING8 && cTag != TAG_STRING16 && cTag != TAG_STRING32) continue;
        unsigned char const* p = pFile->pRecord + iPrefix;
        long long nLen = cTag == TAG_STRING8 ? p[0]
                       : cTag == TAG_STRING16 ? (p[0] | p[1] << 8)
                       : static_cast<long long>(static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24));
        if (nLen < 0) return;
        while (nLen > 0) {
            int nStep = static_cast<int>(std::min<long long>(nLen, STRING_STEP));
            s_Room(pFile, pDriver, nStep, nStep);
            int nGot = s_ReadBytes(pFile, pDriver, nStep);
            nLen -= nGot;
            if (nGot < nStep) break;  // the end of the stream shows at the next tag read
        }
    }
}

}  // namespace morka
