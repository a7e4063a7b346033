// libFuzzer target of the tagged record codec: the input is read as a
// sequential file by the stream record reader, and as a keyed record by the
// fetches, into a record buffer of exactly its size, so that AddressSanitizer
// sees any byte read past the record. Errors raised as ints are expected.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace morka;

namespace {

void s_Free(QXFILE& t) {
    std::free(t.pRecord);
    std::free(t.pKey);
}

// Fetches every field of the current record, cycling through the kinds.
void s_FetchAll(QXFILE* pFile, unsigned uSeed) {
    for (int i = 0; i < 10000 && !pFile->bEndOfRecord; ++i) {
        try {
            switch ((uSeed + static_cast<unsigned>(i)) % 3) {
            case 0: _BFetchDfp(pFile); break;
            case 1: _BFetchInteger(pFile); break;
            default: _BFetchString(pFile); break;
            }
        } catch (int) {
            return;
        }
    }
}

void s_Vars(QXFILE* pFile, ...) {
    va_list ap;
    va_start(ap, pFile);
    try {
        _Buffer2Vars(pFile, "dsli", &ap);
    } catch (int) {
    }
    va_end(ap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* pData, size_t nSize) {
    unsigned uSeed = nSize ? pData[0] : 0;

    // As a sequential file.
    if (nSize > 0) {
        QXFILE tFile;
        tFile.iDriver = DRV_SEQUENTIAL;
        tFile.eOrg = ORG_SEQUENTIAL;
        tFile.pStream = fmemopen(const_cast<uint8_t*>(pData), nSize, "r");
        if (tFile.pStream) {
            for (int n = 0; n < 1000 && !tFile.bEndOfFile; ++n) {
                try {
                    _Read(&tFile);
                } catch (int) {
                    break;
                }
                s_FetchAll(&tFile, uSeed);
            }
            std::fclose(tFile.pStream);
        }
        s_Free(tFile);
    }

    // As a record in a buffer of exactly its size.
    QXFILE tRec;
    t_SetRecordSize(&tRec, static_cast<int>(nSize));
    if (nSize) std::memcpy(tRec.pRecord, pData, nSize);
    tRec.nRecordLen = static_cast<int>(nSize);
    s_FetchAll(&tRec, uSeed);
    tRec.iReadPos = 0;
    tRec.bEndOfRecord = 0;
    CDfp x;
    CBString s;
    CInt32 l;
    CInt16 i;
    s_Vars(&tRec, &x, &s, &l, &i);
    s_Free(tRec);
    return 0;
}
