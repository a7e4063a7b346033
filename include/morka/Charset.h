// Charset: character-set conversion of channels. A program's strings are in
// the active system set (Morka.iCharset: 256 the Zezir set, 512 the MORKA
// set). A channel that converts translates each byte between that set and the
// channel's external single-byte encoding; the others keep bytes as they are.
// Converting: text and sequential channels (the console among them) and
// printers, to ISO 8859-15 bytes through the lossless channel permutation of
// CharsetConv.h (t_chrsys2ext). Not converting: keyed, direct, raw and ISAM
// channels, and every channel while iCharset is neither 256 nor 512. On a
// wide channel (uFlags bit 26) t_chrconvin takes a Unicode character (the
// 4-byte units read from it); everything else stays byte for byte.
#pragma once

#include <cstddef>
#include <morka/CBString.h>

namespace morka {

struct QXFILE;

// True when the channel keeps the bytes of the system set (no conversion);
// a null channel counts as one that keeps them.
bool t_IsInternalCharset(QXFILE const* pFile);
// One byte of the system set (c masked to 0-255) to the channel's byte
// (0-255). Never -1.
int t_chrconvout(QXFILE const* pFile, int c);
// One byte (or, on a wide channel, one Unicode character) read from the
// channel to a byte of the system set; -1 (end of input) gives -1, which ends
// a field. A character the set lacks gives its nearest form's first byte.
int t_chrconvin(QXFILE const* pFile, int c);
// A whole string to or from the channel's encoding. bRecord is true when the
// bytes come from a stored record field; the conversion is lossless, so it
// changes nothing.
CBString t_strconvout(QXFILE const* pFile, CBString const& s);
CBString t_strconvin(QXFILE const* pFile, CBString const& s, bool bRecord = false);
// The byte table of the channel's conversion (index: the byte to convert),
// out to the channel or in from it; null when the channel keeps bytes. For
// codecs that convert bytes in place in their own buffers.
unsigned char const* t_ConvOutTable(QXFILE const* pFile);
unsigned char const* t_ConvInTable(QXFILE const* pFile);
// Copies n bytes from pIn to pOut (the same or not overlapping) through such a table
// (null: unchanged). Every channel table keeps the bytes below 0x80, so ASCII
// text is copied in blocks.
void t_ConvertBytes(unsigned char const* pTable, char const* pIn, char* pOut, std::size_t n);

}  // namespace morka
