// FileApi: the channel check shared by every statement on a channel, and
// Printf. Channel numbers 0..nChannels-3 are accepted; the last two entries of
// the table are the system layer's own.
#include <velbra/FileApi.h>
#include <morka/morka.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace morka {

QXFILE* b_CheckOpen(int channel, int orgMask, int access) {
    if (channel < 0 || channel >= FileMngr.nChannels - 2) throw static_cast<int>(MORKA_ECHANNEL);
    return t_CheckOpen(channel, orgMask, access);
}

void Printf(char const* pszFormat, ...) {
    if (!pszFormat) return;
    std::string sFormat;
    for (char const* p = pszFormat; *p; ++p) {
        if (*p == '\n') sFormat += '\r';
        sFormat += *p;
    }
    va_list ap;
    va_start(ap, pszFormat);
    CBString sText;
    sText.vformat(sFormat.c_str(), ap);
    va_end(ap);
    TermWrite(sText.data(), sText.length());
    TermRefresh();
}

}  // namespace morka
