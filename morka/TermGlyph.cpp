// TermGlyph: how the bytes of the system set look on the screen and which
// byte a typed character gives. Bytes 160..185 are the line-drawing
// characters (single lines, shades and blocks, double lines). The other bytes
// show the characters of the terminal's system set (Term.iCharset, tables of
// CharsetConv.h), and a typed
// character gives its byte in that set, -1 when the set lacks it.
// Colours: the system numbers them in the PC order (0 black, 1 blue, 2 green,
// 3 cyan, 4 red, 5 magenta, 6 brown, 7 white); terminals in the ANSI order.
#include "TermImpl.h"

#include <morka/CharsetConv.h>

namespace morka {

CLineGlyph const t_aLineGlyphs[26] = {
    {0x250C, 'l'}, {0x2510, 'k'}, {0x2518, 'j'}, {0x2514, 'm'},  // 160..163 corners
    {0x253C, 'n'}, {0x251C, 't'}, {0x2524, 'u'}, {0x252C, 'w'},  // 164..167 cross, tees
    {0x2534, 'v'}, {0x2500, 'q'}, {0x2502, 'x'},                 // 168 tee, 169 horizontal, 170 vertical
    {0x2591, 'h'}, {0x2592, 'a'}, {0x2593, 'a'}, {0x2588, '0'},  // 171..174 light, medium, dark shade, block
    {0x2554, 'l'}, {0x2557, 'k'}, {0x255D, 'j'}, {0x255A, 'm'},  // 175..178 double corners
    {0x256C, 'n'}, {0x2560, 't'}, {0x2563, 'u'}, {0x2566, 'w'},  // 179..182 double cross, tees
    {0x2569, 'v'}, {0x2550, 'q'}, {0x2551, 'x'},                 // 183 tee, 184 horizontal, 185 vertical
};

namespace {

constexpr int FIRST_LINE = 160;
constexpr int LINE_COUNT = 26;

}  // namespace

CGlyph t_TermGlyph(unsigned char c) {
    CGlyph g;
    if (c >= FIRST_LINE && c < FIRST_LINE + LINE_COUNT)
        g.iLine = c - FIRST_LINE;
    else
        g.uChar = static_cast<uint32_t>(t_chr2wchar(c, Term.iCharset));
    return g;
}

uint32_t CGlyph::Char() const { return iLine >= 0 ? t_aLineGlyphs[iLine].uChar : uChar; }

int t_TermFromUnicode(uint32_t uChar) {
    for (int i = 0; i < LINE_COUNT; ++i)
        if (t_aLineGlyphs[i].uChar == uChar) return FIRST_LINE + i;
    if (uChar > 0x10FFFF) return -1;
    return t_wchar2chrexact(static_cast<wchar_t>(uChar), Term.iCharset);
}

int t_TermAnsiColor(int iPc) {
    static constexpr int s_aAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    return s_aAnsi[iPc & 7];
}

}  // namespace morka
