// PrintKey: PRINT KEY and MAT PRINT KEY. The key is set first (a string key
// longer than the file's keys is an error: this is a writing statement), the
// items are rendered into the record buffer from position 0, the rest of the
// buffer is zero-filled and the driver stores the record. A record held by
// another program is waited for like WRITE KEY (1024 past the OPTION LOCK
// limit) rather than dropped.
#include "runtime/io/PrintWalk.h"

#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/LockWait.h>
#include <velbra/Print.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

namespace {

template <class TSetKey>
void s_PrintKey(int channel, int iMask, TSetKey&& setKey, bool bMat, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, iMask, ACC_OUTPUT);
        setKey(pFile);
        CVaCopy args(ap);
        CPrintOut out(pFile, true);
        b_PrintWalk(out, types, args.Get(), bMat);
        b_StoreKeyRecord(pFile);
    });
}

auto s_NumberKey(CInt32 key) {
    return [key](QXFILE* pFile) { _SetIntegerKey(pFile, key); };
}

auto s_TextKey(char const* key) {
    return [key](QXFILE* pFile) { _SetStringKey(pFile, key, true); };
}

}  // namespace

void b_StoreKeyRecord(QXFILE* pFile) {
    if (pFile->iWritePos < pFile->nBufferSize)
        std::memset(pFile->pRecord + pFile->iWritePos, 0, static_cast<std::size_t>(pFile->nBufferSize - pFile->iWritePos));
    CDriver* pDriver = t_Driver(pFile);
    b_LockWait(pFile, MORKA_ERECLOCKED, [&] { return pDriver->WriteRecord(pFile); });
}

void PrintKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_NUMBER_KEY, s_NumberKey(key), false, types, ap);
    va_end(ap);
}

void PrintKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_STRING_KEY, s_TextKey(key), false, types, ap);
    va_end(ap);
}

void PrintKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_STRING_KEY, s_TextKey(key ? key->c_str() : ""), false, types, ap);
    va_end(ap);
}

void MatPrintKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_NUMBER_KEY, s_NumberKey(key), true, types, ap);
    va_end(ap);
}

void MatPrintKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_STRING_KEY, s_TextKey(key), true, types, ap);
    va_end(ap);
}

void MatPrintKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_PrintKey(channel, MASK_STRING_KEY, s_TextKey(key ? key->c_str() : ""), true, types, ap);
    va_end(ap);
}

}  // namespace morka
