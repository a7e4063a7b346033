// Charset: character-set conversion of channels.
// Text and sequential channels (organisation 0x100 or 0x10, the console when
// it is not a terminal) and printers store ISO 8859-15 single bytes: the
// channel permutation of CharsetConv.h, lossless for every byte, the same
// for both system sets (MORKA extends Zezir code for code). Keyed, direct,
// raw and ISAM channels keep the bytes of the system set, so that stored keys
// keep their order. On a wide channel (uFlags bit 26) input characters
// arrive as Unicode characters (t_chrconvin); output and strings stay single
// bytes. An iCharset other than 256 and 512 keeps bytes on every channel.
#include <morka/Charset.h>

#include <morka/CharsetConv.h>
#include <morka/FileMngr.h>
#include <morka/Settings.h>

#include <cstdint>
#include <cstring>

namespace morka {

namespace {

constexpr unsigned WIDE_CHANNEL = 1u << 26;

bool s_IsSystemSet() { return Morka.iCharset == CHARSET_ZEZIR || Morka.iCharset == CHARSET_MORKA; }

}  // namespace

bool t_IsInternalCharset(QXFILE const* pFile) {
    if (!pFile || !s_IsSystemSet()) return true;
    return !(pFile->eOrg & (ORG_TEXT | ORG_SEQUENTIAL)) && pFile->eDevType != DEV_PRINTER;
}

int t_chrconvout(QXFILE const* pFile, int c) {
    c &= 0xFF;
    return t_IsInternalCharset(pFile) ? c : t_chrsys2ext(c);
}

int t_chrconvin(QXFILE const* pFile, int c) {
    if (c < 0) return -1;
    if (pFile && (pFile->uFlags & WIDE_CHANNEL) && s_IsSystemSet()) return t_wchar2chr(static_cast<wchar_t>(c));
    if (t_IsInternalCharset(pFile)) return c & 0xFF;
    return t_chrext2sys(c);
}

namespace {

CBString s_Convert(CBString const& s, unsigned char const* pTable) {
    if (!pTable) return s;
    CBString sOut(s);
    t_ConvertBytes(pTable, s.data(), sOut.data(), static_cast<std::size_t>(s.length()));
    return sOut;
}

}  // namespace

void t_ConvertBytes(unsigned char const* pTable, char const* pIn, char* pOut, std::size_t n) {
    if (n && pIn != pOut) std::memcpy(pOut, pIn, n);
    if (!pTable) return;
    // The source is scanned, not the copy just written, so that no load waits
    // for the stores of the copy.
    constexpr uint64_t HIGH_BITS = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t u;
        std::memcpy(&u, pIn + i, 8);
        if (!(u & HIGH_BITS)) continue;
        for (std::size_t k = i; k < i + 8; ++k) pOut[k] = static_cast<char>(pTable[static_cast<unsigned char>(pIn[k])]);
    }
    for (; i < n; ++i) pOut[i] = static_cast<char>(pTable[static_cast<unsigned char>(pIn[i])]);
}

unsigned char const* t_ConvOutTable(QXFILE const* pFile) { return t_IsInternalCharset(pFile) ? nullptr : t_SysToExtTable(); }
unsigned char const* t_ConvInTable(QXFILE const* pFile) { return t_IsInternalCharset(pFile) ? nullptr : t_ExtToSysTable(); }

CBString t_strconvout(QXFILE const* pFile, CBString const& s) { return s_Convert(s, t_ConvOutTable(pFile)); }

CBString t_strconvin(QXFILE const* pFile, CBString const& s, bool) { return s_Convert(s, t_ConvInTable(pFile)); }

}  // namespace morka
