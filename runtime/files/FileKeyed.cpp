// FileKeyed: READ KEY, WRITE KEY, DELETE and the positional reads, with their
// MAT forms, on keyed channels. MAT WRITE KEY waits for a held record like
// WRITE KEY, so that a write is never dropped without a word.
#include <velbra/FileRecord.h>
#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/Record.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>
#include "runtime/files/RecordOps.h"

#include <cstring>

namespace morka {

namespace {

// A key of a statement: a record number or a string.
struct CKey {
    bool bNumber;
    int iNumber;
    char const* pszText;
    int Mask() const { return bNumber ? MASK_NUMBER_KEY : MASK_STRING_KEY; }
    // Sets the key in the channel; bStrict for the writing statements.
    void Set(QXFILE* pFile, bool bStrict) const {
        if (bNumber) _SetIntegerKey(pFile, iNumber);
        else _SetStringKey(pFile, pszText ? pszText : "", bStrict);
    }
};

CKey s_Key(CInt32 n) { return CKey{true, n.iValue, nullptr}; }
CKey s_Key(char const* psz) { return CKey{false, 0, psz}; }
CKey s_Key(CBString const* p) { return CKey{false, 0, p ? p->c_str() : ""}; }

void s_ReadKey(int channel, CKey key, bool bArrays, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        CVaCopy args(ap);
        QXFILE* pFile = b_CheckOpen(channel, key.Mask(), ACC_INPUT);
        key.Set(pFile, false);
        _ReadKey(pFile);
        if (bArrays) _Buffer2Arrays(pFile, types, args.Get());
        else _Buffer2Vars(pFile, types, args.Get());
    });
}

void s_WriteKey(int channel, CKey key, bool bArrays, char const* types, va_list ap) {
    b_StatementFrame(channel, [&] {
        CVaCopy args(ap);
        QXFILE* pFile = b_CheckOpen(channel, key.Mask(), ACC_OUTPUT);
        key.Set(pFile, true);
        if (bArrays) _Arrays2Buffer(pFile, types, args.Get());
        else _Vars2Buffer(pFile, types, args.Get());
        // The zero fill is the record's end mark.
        if (pFile->iWritePos < pFile->nBufferSize)
            std::memset(pFile->pRecord + pFile->iWritePos, 0, static_cast<std::size_t>(pFile->nBufferSize - pFile->iWritePos));
        _WriteRecord(pFile);
    });
}

void s_Delete(int channel, CKey key) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, key.Mask(), ACC_OUTPUT);
        key.Set(pFile, false);
        _Delete(pFile);
    });
}

// Stores the key of the record found in the key variable.
void s_StoreKey(QXFILE* pFile, CBString* p) {
    std::string_view sFound = _FoundKey(pFile);
    p->str().assign(sFound);
    t_ConvertBytes(t_ConvInTable(pFile), sFound.data(), p->data(), sFound.size());
}
void s_StoreKey(QXFILE* pFile, CInt32* p) { p->iValue = pFile->iRecord; }
void s_StoreKey(QXFILE* pFile, CDfp* p) { *p = CDfp(pFile->iRecord); }
void s_StoreKey(QXFILE* pFile, CInt16* p) { p->iValue = static_cast<int16_t>(b_I(pFile->iRecord)); }

int s_MaskOf(CBString*) { return MASK_STRING_KEY; }
template <class T>
int s_MaskOf(T*) { return MASK_NUMBER_KEY; }

// READ NEXT / PREV / TOP / END: the key variable is set before the fetch, so
// a failed fetch leaves it set.
template <class TKey>
void _ReadENPT(int channel, TKey* pKey, char const* types, int eOp, va_list ap, bool bArrays) {
    b_StatementFrame(channel, [&] {
        CVaCopy args(ap);
        QXFILE* pFile = b_CheckOpen(channel, s_MaskOf(pKey), ACC_INPUT);
        _ReadPositional(pFile, eOp);
        if (pKey) s_StoreKey(pFile, pKey);
        if (bArrays) _Buffer2Arrays(pFile, types, args.Get());
        else _Buffer2Vars(pFile, types, args.Get());
    });
}

}  // namespace

void ReadKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void ReadKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void ReadKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void MatReadKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void MatReadKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void MatReadKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_ReadKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void WriteKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void WriteKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void WriteKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), false, types, ap);
    va_end(ap);
}

void MatWriteKey(int channel, CInt32 key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void MatWriteKey(int channel, char const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void MatWriteKey(int channel, CBString const* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    s_WriteKey(channel, s_Key(key), true, types, ap);
    va_end(ap);
}

void Delete(int channel, CInt32 key) { s_Delete(channel, s_Key(key)); }
void Delete(int channel, char const* key) { s_Delete(channel, s_Key(key)); }
void Delete(int channel, CBString const* key) { s_Delete(channel, s_Key(key)); }

void ReadNext(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, false);
    va_end(ap);
}

void ReadPrev(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, false);
    va_end(ap);
}

void ReadTop(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, false);
    va_end(ap);
}

void ReadEnd(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, false);
    va_end(ap);
}

void MatReadNext(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, true);
    va_end(ap);
}

void MatReadPrev(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, true);
    va_end(ap);
}

void MatReadTop(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, true);
    va_end(ap);
}

void MatReadEnd(int channel, CBString* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, true);
    va_end(ap);
}

void ReadNext(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, false);
    va_end(ap);
}

void ReadPrev(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, false);
    va_end(ap);
}

void ReadTop(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, false);
    va_end(ap);
}

void ReadEnd(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, false);
    va_end(ap);
}

void MatReadNext(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, true);
    va_end(ap);
}

void MatReadPrev(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, true);
    va_end(ap);
}

void MatReadTop(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, true);
    va_end(ap);
}

void MatReadEnd(int channel, CDfp* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, true);
    va_end(ap);
}

void ReadNext(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, false);
    va_end(ap);
}

void ReadPrev(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, false);
    va_end(ap);
}

void ReadTop(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, false);
    va_end(ap);
}

void ReadEnd(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, false);
    va_end(ap);
}

void MatReadNext(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, true);
    va_end(ap);
}

void MatReadPrev(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, true);
    va_end(ap);
}

void MatReadTop(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, true);
    va_end(ap);
}

void MatReadEnd(int channel, CInt32* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, true);
    va_end(ap);
}

void ReadNext(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, false);
    va_end(ap);
}

void ReadPrev(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, false);
    va_end(ap);
}

void ReadTop(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, false);
    va_end(ap);
}

void ReadEnd(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, false);
    va_end(ap);
}

void MatReadNext(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_NEXT, ap, true);
    va_end(ap);
}

void MatReadPrev(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_PREV, ap, true);
    va_end(ap);
}

void MatReadTop(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_TOP, ap, true);
    va_end(ap);
}

void MatReadEnd(int channel, CInt16* key, char const* types, ...) {
    va_list ap;
    va_start(ap, types);
    _ReadENPT(channel, key, types, POS_END, ap, true);
    va_end(ap);
}

}  // namespace morka
