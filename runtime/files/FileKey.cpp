// FileKey: setting the string key or the record number of a channel.
#include <velbra/FileKey.h>
#include <morka/morka.h>

#include <climits>
#include <cstring>

namespace morka {

void _SetStringKey(QXFILE* pFile, char const* pszKey, bool bStrict) {
    if (!pszKey) pszKey = "";
    // Converted straight into the key buffer: the conversion keeps the length.
    std::size_t nText = std::strlen(pszKey);
    int nLen = nText > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(nText);
    if (nLen > pFile->nKeyLen) {
        if (bStrict) {
            pFile->iErrno = MORKA_EKEY;
            throw static_cast<int>(MORKA_EKEY);
        }
        nLen = pFile->nKeyLen;
    }
    if (!pFile->pKey) t_SetKeyLen(pFile, pFile->nKeyLen);
    t_ConvertBytes(t_ConvOutTable(pFile), pszKey, pFile->pKey, static_cast<std::size_t>(nLen));
    std::memset(pFile->pKey + nLen, 0, static_cast<std::size_t>(pFile->nKeyLen - nLen) + 1);
    pFile->iReadPos = 0;
    pFile->iWritePos = 0;
}

void _SetIntegerKey(QXFILE* pFile, int iNumber) {
    if (iNumber < 0) {
        pFile->iErrno = MORKA_EKEY;
        throw static_cast<int>(MORKA_EKEY);
    }
    pFile->iRecord = iNumber;
    pFile->iReadPos = 0;
    pFile->iWritePos = 0;
}

}  // namespace morka
