// FileKey: the key items of a channel, set by every keyed statement before it
// calls the file driver. A string key goes into the key buffer pKey (nKeyLen
// + 1 bytes) in the channel's character set, NUL-filled; a record number into
// iRecord. Both clear the read and write positions of the record buffer.
#pragma once

#include <morka/FileMngr.h>

namespace morka {

// Sets a string key: the text up to its first NUL, converted with
// t_strconvout. Longer than nKeyLen: bStrict (writing statements) raises 1029
// (BASIC 34) with iErrno set; otherwise the key is cut to nKeyLen bytes.
void _SetStringKey(QXFILE* pFile, char const* pszKey, bool bStrict);
// Sets a record number; a negative number raises 1029 (BASIC 34).
void _SetIntegerKey(QXFILE* pFile, int iNumber);

}  // namespace morka
