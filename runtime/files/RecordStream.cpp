// RecordStream: the reader that assembles one tagged record from the stdio
// stream of a sequential channel into the record buffer.
// Room is made as bytes arrive: 2048 more bytes before a fixed-size part that
// would not fit, and string bytes in steps of at most 64 KiB, so a damaged
// length never allocates more than the stream really holds. Every byte read
// counts in the record length, so a field cut by the end of the stream is
// seen by the fetch (1087 for a string, 1088 for a fixed-size field).
// A negative 4-byte string length ends the record after the length (the
// fetch then reports 1087); the bytes after it are read as the next record.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <algorithm>
#include <cstdio>

namespace morka {

namespace {

constexpr int GROW_FIXED = 2048;
constexpr int STRING_STEP = 64 * 1024;

bool s_StartsField(int c) { return (c >= 1 && c <= 6) || c == 9 || c == 12; }

void s_Room(QXFILE* pFile, int nNeed, int nGrow) {
    if (static_cast<long long>(pFile->nRecordLen) + nNeed > pFile->nBufferSize) t_GrowRecord(pFile, nGrow);
}

// Reads up to n bytes into the record; returns how many arrived.
int s_ReadBytes(QXFILE* pFile, FILE* fp, int n) {
    std::size_t nGot = fread_unlocked(pFile->pRecord + pFile->nRecordLen, 1, static_cast<std::size_t>(n), fp);
    pFile->nRecordLen += static_cast<int>(nGot);
    return static_cast<int>(nGot);
}

}  // namespace

void _Read(QXFILE* pFile) {
    pFile->nFields = 0;
    pFile->iReadPos = 0;
    pFile->nRecordLen = 0;
    pFile->bEndOfRecord = 0;
    FILE* fp = pFile->pStream == stdout ? stdin : pFile->pStream;
    if (!fp) {
        pFile->bEndOfFile = 1;
        return;
    }
    for (;;) {
        int c = getc_unlocked(fp);
        if (c == EOF) {
            pFile->bEndOfFile = 1;
            return;
        }
        if (c == TAG_END) return;
        if (!s_StartsField(c)) {
            // Resynchronise on the next byte that can start a field.
            for (;;) {
                c = getc_unlocked(fp);
                if (c == EOF) {
                    pFile->bEndOfFile = 1;
                    return;
                }
                if (c == TAG_END) return;
                if (s_StartsField(c)) {
                    ungetc(c, fp);
                    return;
                }
            }
        }
        unsigned char cTag = static_cast<unsigned char>(c);
        int nFixed = cTag == TAG_INT16 ? 2 : cTag == TAG_INT32 ? 4 : cTag == TAG_STRING8 ? 1 : cTag == TAG_STRING16 ? 2
                   : cTag == TAG_STRING32 ? 4 : 8;
        s_Room(pFile, 1 + nFixed, GROW_FIXED);
        pFile->pRecord[pFile->nRecordLen++] = cTag;
        int iPrefix = pFile->nRecordLen;
        if (s_ReadBytes(pFile, fp, nFixed) < nFixed) {
            pFile->bEndOfFile = 1;
            return;
        }
        if (cTag != TAG_STRING8 && cTag != TAG_STRING16 && cTag != TAG_STRING32) continue;
        unsigned char const* p = pFile->pRecord + iPrefix;
        long long nLen = cTag == TAG_STRING8 ? p[0]
                       : cTag == TAG_STRING16 ? (p[0] | p[1] << 8)
                       : static_cast<long long>(static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24));
        if (nLen < 0) return;
        while (nLen > 0) {
            int nStep = static_cast<int>(std::min<long long>(nLen, STRING_STEP));
            s_Room(pFile, nStep, nStep);
            int nGot = s_ReadBytes(pFile, fp, nStep);
            nLen -= nGot;
            if (nGot < nStep) break;  // the end of the stream shows at the next tag read
        }
    }
}

}  // namespace morka
