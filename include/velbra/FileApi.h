// FileApi: channel checks and terminal output statements.
#pragma once

#include <morka/FileMngr.h>

namespace morka {

// Checks channel: 1053 outside 0..nChannels-3, else the system layer's
// check of organisation mask (0 any) and access; returns the channel record.
QXFILE* b_CheckOpen(int channel, int orgMask, int access);

// Formatted terminal output: CR is inserted before every LF of the format.
void Printf(char const* pszFormat, ...) __attribute__((format(printf, 1, 2)));

}  // namespace morka
