// RecordOps: driver operations with the lock wait (runtime/files/RecordOps.h).
#include "runtime/files/RecordOps.h"

#include <velbra/LockWait.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

void _ReadKey(QXFILE* pFile) {
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] { return pDriver->ReadKey(pFile); });
}

void _ReadPositional(QXFILE* pFile, int eOp) {
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] {
        switch (eOp) {
        case POS_END: return pDriver->ReadEnd(pFile);
        case POS_NEXT: return pDriver->ReadNext(pFile);
        case POS_PREV: return pDriver->ReadPrev(pFile);
        default: return pDriver->ReadTop(pFile);
        }
    });
}

void _WriteRecord(QXFILE* pFile) {
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] { return pDriver->WriteRecord(pFile); });
}

void _Delete(QXFILE* pFile) {
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] { return pDriver->DeleteRecord(pFile); });
}

std::string_view _FoundKey(QXFILE const* pFile) {
    if (!pFile->pKey) return {};
    std::size_t nMax = pFile->nKeyRead > 0 ? static_cast<std::size_t>(pFile->nKeyRead) : 0;
    return std::string_view(pFile->pKey, strnlen(pFile->pKey, nMax));
}

void _SetRecordBytes(QXFILE* pFile, char const* pBytes, int nLen, bool bStrict) {
    if (nLen > pFile->nBufferSize) {
        if (bStrict) {
            pFile->iErrno = MORKA_EBUFFER;
            throw static_cast<int>(MORKA_EBUFFER);
        }
        nLen = pFile->nBufferSize;
    }
    if (nLen < 0) nLen = 0;
    if (nLen) std::memcpy(pFile->pRecord, pBytes, static_cast<std::size_t>(nLen));
    std::memset(pFile->pRecord + nLen, 0, static_cast<std::size_t>(pFile->nBufferSize - nLen));
    pFile->iWritePos = nLen;
}

}  // namespace morka
