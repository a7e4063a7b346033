// FileRawApi: raw record statements (velbra/FileRawApi.h). RawWrite ends the
// record with its 0 byte even when the string fills the record buffer, so
// that the record stays apart from the next one. The raw writes
// wait for a held record like WRITE KEY instead of calling the driver once
// and ignoring a "held" answer, which would lose the write silently. The
// CInt16 and CDfp forms of the positional reads run the CInt32 form into a
// temporary and convert afterwards.
#include <velbra/FileRawApi.h>
#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/Record.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>
#include "runtime/files/RecordOps.h"

#include <cstring>

namespace morka {

namespace {

constexpr int MASK_RAW_NUMBER = ORG_RAW;

void s_WriteBytes(int channel, int iMask, char const* pszKey, int iRecord, char const* pBytes, int nLen) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_OUTPUT);
        if (iMask == MASK_STRING_KEY) _SetStringKey(pFile, pszKey, true);
        else _SetIntegerKey(pFile, iRecord);
        _SetRecordBytes(pFile, pBytes, nLen, true);
        _WriteRecord(pFile);
    });
}

void s_ReadKey(int channel, int iMask, char const* pszKey, int iRecord, CBString& record) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_INPUT);
        if (iMask == MASK_STRING_KEY) _SetStringKey(pFile, pszKey, false);
        else _SetIntegerKey(pFile, iRecord);
        _ReadKey(pFile);
        record = CBString(reinterpret_cast<char const*>(pFile->pRecord), pFile->nBufferSize);
    });
}

CBString s_Record(QXFILE const* pFile) {
    int nLen = pFile->nRecordLen < pFile->nBufferSize ? pFile->nRecordLen : pFile->nBufferSize;
    return CBString(reinterpret_cast<char const*>(pFile->pRecord), nLen);
}

void s_Positional(int channel, CBString* pKey, int eOp, CBString& record) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_STRING_KEY, ACC_INPUT);
        _ReadPositional(pFile, eOp);
        if (pKey) *pKey = _FoundKey(pFile);
        record = s_Record(pFile);
    });
}

void s_Positional(int channel, CInt32* pKey, int eOp, CBString& record) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_RAW_NUMBER, ACC_INPUT);
        _ReadPositional(pFile, eOp);
        if (pKey) pKey->iValue = pFile->iRecord;
        record = s_Record(pFile);
    });
}

void s_Positional(int channel, CInt16* pKey, int eOp, CBString& record) {
    CInt32 n(0);
    s_Positional(channel, &n, eOp, record);
    if (pKey) *pKey = CInt16(n);
}

void s_Positional(int channel, CDfp* pKey, int eOp, CBString& record) {
    CInt32 n(0);
    s_Positional(channel, &n, eOp, record);
    if (pKey) *pKey = CDfp(n);
}

}  // namespace

void RawWrite(int channel, CBString const& record) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, ORG_SEQUENTIAL, ACC_OUTPUT);
        if (record.length() > pFile->nBufferSize) {
            pFile->iErrno = MORKA_EBUFFER;
            throw static_cast<int>(MORKA_EBUFFER);
        }
        t_DriverOut(pFile)->Write(pFile, record.data(), static_cast<std::size_t>(record.length()));
        _FWriteEor(pFile);
    });
}

void RawWriteKey(int channel, char const* key, CBString const& record) {
    s_WriteBytes(channel, MASK_STRING_KEY, key, 0, record.data(), record.length());
}
void RawWriteKey(int channel, CBString const* key, CBString const& record) {
    s_WriteBytes(channel, MASK_STRING_KEY, key ? key->c_str() : "", 0, record.data(), record.length());
}
void RawWriteKey(int channel, char const* key, char const* record) {
    s_WriteBytes(channel, MASK_STRING_KEY, key, 0, record, record ? static_cast<int>(std::strlen(record)) : 0);
}
void RawWriteKey(int channel, CBString const* key, char const* record) {
    s_WriteBytes(channel, MASK_STRING_KEY, key ? key->c_str() : "", 0, record, record ? static_cast<int>(std::strlen(record)) : 0);
}
void RawWriteKey(int channel, CInt32 key, char const* record) {
    s_WriteBytes(channel, MASK_RAW_NUMBER, nullptr, key, record, record ? static_cast<int>(std::strlen(record)) : 0);
}
void RawWriteKey(int channel, CInt32 key, CBString const& record) {
    s_WriteBytes(channel, MASK_RAW_NUMBER, nullptr, key, record.data(), record.length());
}

void RawRead(int channel, CBString& record) {
    record = CBString();
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, ORG_SEQUENTIAL, ACC_INPUT);
        _Read(pFile);
        record = s_Record(pFile);
    });
}

void RawReadKey(int channel, char const* key, CBString& record) { s_ReadKey(channel, MASK_STRING_KEY, key, 0, record); }
void RawReadKey(int channel, CBString const* key, CBString& record) {
    s_ReadKey(channel, MASK_STRING_KEY, key ? key->c_str() : "", 0, record);
}
void RawReadKey(int channel, CInt32 key, CBString& record) { s_ReadKey(channel, MASK_RAW_NUMBER, nullptr, key, record); }

void RawReadTop(int channel, CBString* key, CBString& record) { s_Positional(channel, key, POS_TOP, record); }
void RawReadNext(int channel, CBString* key, CBString& record) { s_Positional(channel, key, POS_NEXT, record); }
void RawReadPrev(int channel, CBString* key, CBString& record) { s_Positional(channel, key, POS_PREV, record); }
void RawReadEnd(int channel, CBString* key, CBString& record) { s_Positional(channel, key, POS_END, record); }
void RawReadTop(int channel, CInt32* key, CBString& record) { s_Positional(channel, key, POS_TOP, record); }
void RawReadNext(int channel, CInt32* key, CBString& record) { s_Positional(channel, key, POS_NEXT, record); }
void RawReadPrev(int channel, CInt32* key, CBString& record) { s_Positional(channel, key, POS_PREV, record); }
void RawReadEnd(int channel, CInt32* key, CBString& record) { s_Positional(channel, key, POS_END, record); }
void RawReadTop(int channel, CInt16* key, CBString& record) { s_Positional(channel, key, POS_TOP, record); }
void RawReadNext(int channel, CInt16* key, CBString& record) { s_Positional(channel, key, POS_NEXT, record); }
void RawReadPrev(int channel, CInt16* key, CBString& record) { s_Positional(channel, key, POS_PREV, record); }
void RawReadEnd(int channel, CInt16* key, CBString& record) { s_Positional(channel, key, POS_END, record); }
void RawReadTop(int channel, CDfp* key, CBString& record) { s_Positional(channel, key, POS_TOP, record); }
void RawReadNext(int channel, CDfp* key, CBString& record) { s_Positional(channel, key, POS_NEXT, record); }
void RawReadEnd(int channel, CDfp* key, CBString& record) { s_Positional(channel, key, POS_END, record); }

}  // namespace morka
