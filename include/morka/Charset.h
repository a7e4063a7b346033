// Charset: character-set conversion of channels. A program's strings are in
// the active system set (Morka.iCharset: 256 the Zezir set, 512 the MORKA
// set). A channel that converts translates each byte between that set and the
// channel's external single-byte encoding; the others keep bytes as they are.
#pragma once

#include <morka/CBString.h>

namespace morka {

struct QXFILE;

// One byte of the system set to the channel's encoding; -1 when the byte
// cannot be written.
int t_chrconvout(QXFILE const* pFile, int c);
// One byte read from the channel to the system set; -1 ends a field.
int t_chrconvin(QXFILE const* pFile, int c);
// A whole string to or from the channel's encoding. bRecord is true when the
// bytes come from a stored record field.
CBString t_strconvout(QXFILE const* pFile, CBString const& s);
CBString t_strconvin(QXFILE const* pFile, CBString const& s, bool bRecord = false);

}  // namespace morka
