// Settings: the settings object of the system layer (Morka). The system layer
// fills it at t_Init from its defaults and the "b_" environment values; the
// run-time reads it and the OPTION statements write some fields.
#pragma once

#include <morka/CBString.h>

namespace morka {

class CMorkaSettings {
public:
    char const* pszTaskName = "";   // identifies the task to the process table
    bool bBreak = true;             // break key enabled (SIGINT ends with 254)
    char cCurrency = '$';           // floating-currency picture character
    char cDateForm = 'A';           // 'A', 'E' or 'I'
    bool bGlibcTime = false;        // Strtime uses the system library's formatter
    int iDateIn = 0;                // year form of date input, 0..2
    int iDateOut = 0;               // year form of date output, 0..2
    CBString sPrompt;               // INPUT/LINPUT prompt on the terminal
    CBString sUsingPrompt;          // prompt before a LINPUT USING field
    char cCase = 'M';               // keyboard case: 'U' upper, 'L' invert, 'M' as typed
    char cDecimal = '.';            // decimal separator
    bool bPrinter = false;          // a printer is configured
    int iCharset = 256;             // 256 Zezir set, 512 MORKA set, other: bytes as they are
    unsigned char uStreamFlags = 0; // bit 4: strings to sequential streams are not converted
    int iLockedBy = 0;              // lock owner information (LockedBy())
};

extern CMorkaSettings Morka;

}  // namespace morka
