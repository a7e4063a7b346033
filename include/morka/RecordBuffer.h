// RecordBuffer: the record and key buffers of a channel (QXFILE pRecord,
// nBufferSize, pKey, nKeyLen). They are allocated with malloc and released
// when the channel closes; new bytes are always zero.
#pragma once

namespace morka {

struct QXFILE;

// Makes the record buffer nSize bytes long (keeping the bytes that fit, new
// bytes zero). Raises 12 when memory runs out; the buffer is then unchanged.
void t_SizeRecord(QXFILE* pFile, int nSize);
// Enlarges the record buffer by nMore bytes (a record read from a stream
// that needs room). Raises 12 when memory runs out, 1028 past 2 GiB.
void t_GrowRecord(QXFILE* pFile, int nMore);
// Allocates a zeroed key buffer of nKeyLen + 1 bytes and sets nKeyLen.
void t_SizeKey(QXFILE* pFile, int nKeyLen);
// Releases both buffers and clears their sizes.
void t_FreeBuffers(QXFILE* pFile);

}  // namespace morka
