// RecordBuffer: allocation of a channel's record and key buffers.
#include <morka/RecordBuffer.h>
#include <morka/FileMngr.h>
#include <morka/System.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace morka {

void t_SizeRecord(QXFILE* pFile, int nSize) {
    if (nSize < 0) nSize = 0;
    void* p = std::realloc(pFile->pRecord, nSize ? static_cast<std::size_t>(nSize) : 1);
    if (!p) throw 12;
    pFile->pRecord = static_cast<unsigned char*>(p);
    if (nSize > pFile->nBufferSize)
        std::memset(pFile->pRecord + pFile->nBufferSize, 0, static_cast<std::size_t>(nSize - pFile->nBufferSize));
    pFile->nBufferSize = nSize;
}

void t_GrowRecord(QXFILE* pFile, int nMore) {
    if (nMore <= 0) return;
    if (nMore > INT_MAX - pFile->nBufferSize) {
        pFile->iErrno = MORKA_EBUFFER;
        throw static_cast<int>(MORKA_EBUFFER);
    }
    t_SizeRecord(pFile, pFile->nBufferSize + nMore);
}

void t_SizeKey(QXFILE* pFile, int nKeyLen) {
    if (nKeyLen < 0) nKeyLen = 0;
    char* p = static_cast<char*>(std::calloc(static_cast<std::size_t>(nKeyLen) + 1, 1));
    if (!p) throw 12;
    std::free(pFile->pKey);
    pFile->pKey = p;
    pFile->nKeyLen = nKeyLen;
}

void t_FreeBuffers(QXFILE* pFile) {
    std::free(pFile->pRecord);
    std::free(pFile->pKey);
    pFile->pRecord = nullptr;
    pFile->pKey = nullptr;
    pFile->nBufferSize = 0;
    pFile->nKeyLen = 0;
}

}  // namespace morka
