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

CBString t_strconvout(QXFILE const* pFile, CBString const& s) {
    if (t_IsInternalCharset(pFile)) return s;
    CBString sOut(s);
    for (char& ch : sOut.str()) ch = static_cast<char>(t_chrsys2ext(static_cast<unsigned char>(ch)));
    return sOut;
}

CBString t_strconvin(QXFILE const* pFile, CBString const& s, bool) {
    if (t_IsInternalCharset(pFile)) return s;
    CBString sOut(s);
    for (char& ch : sOut.str()) ch = static_cast<char>(t_chrext2sys(static_cast<unsigned char>(ch)));
    return sOut;
}

}  // namespace morka
