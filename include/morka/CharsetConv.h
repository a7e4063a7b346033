// CharsetConv: the character sets of the system and their conversions.
//
// The system sets (Morka.iCharset):
// - 256, the Zezir set: ASCII; 160-185
//   line drawing (single: 160 ULC, 161 URC, 162 LRC, 163 LLC, 164 cross, 165
//   left T, 166 right T, 167 upper T, 168 lower T, 169 horizontal, 170
//   vertical; 171 light, 172 medium, 173 dark shade, 174 full block; double: 175 ULC, 176 URC, 177 LRC, 178
//   LLC, 179 cross, 180 left T, 181 right T, 182 upper T, 183 lower T, 184
//   horizontal, 185 vertical); 192-237 accented letters and signs (192 Ä ...
//   223 å, 224 ß, 225 ¿, 226 ¡, 227 ¢, 228 £, 229 ¥, 230 µ, 231 €, 232 ¼,
//   233 ½, 234 ÿ, 235 §, 236 °, 237 ²); 241 ±; 250 ·. The codes 128-159,
//   186-191, 238-240, 242-249 and 251-255 hold no character: through Unicode
//   they travel as the private-use characters U+F700 + code, elsewhere as '?'.
// - 512, the MORKA set: the Zezir set with its free codes filled so that it
//   holds every character of ISO 8859-15: 128-150 À Á Â Ã È Ê Ë Ì Í Î Ï Ð Ò Ó
//   Ô Õ × Ø Ù Ú Û Ý Þ, 151-157 ã ð õ ÷ ø ý þ, 158 Š, 159 š, 186 Ž, 187 ž,
//   188 Œ, 189 œ, 190 Ÿ, 191 ª, 238 º, 239 «, 240 », 242 ©, 243 ®, 244 ¬,
//   245 ¯, 246 ³, 247 ¹, 248 ¶, 249 soft hyphen, 251 ‘, 252 ’, 253 “, 254 ”,
//   255 no-break space. Every character of Zezir keeps its code in MORKA.
// Every other value of iCharset reads as the Zezir set here.
//
// A character that the target lacks becomes its nearest form: line drawing
// '+', '-', '|', '#', '=' in sets without it (shades and the block '#'),
// accented letters the plain ones ("Œ" -> "OE"), and '?' when nothing fits.
// External encodings (CP850, ISO 8859-15, Windows-1252) come from iconv.
#pragma once

#include <morka/CBString.h>
#include <cstddef>
#include <string>

namespace morka {

enum : int {
    CHARSET_ZEZIR = 256,
    CHARSET_MORKA = 512,
};

// The Unicode character of byte c (0-255, others masked) of a system set
// (512 MORKA, anything else Zezir).
wchar_t t_chr2wchar(int c, int iCharset);
// The byte of Unicode character wc in a system set; a character the set lacks
// gives the first byte of its nearest form, '?' when there is none.
int t_wchar2chr(wchar_t wc, int iCharset);
// The byte of wc in a system set, or -1 when the set lacks it (no nearest form).
int t_wchar2chrexact(wchar_t wc, int iCharset);
// The same for the active set (Morka.iCharset).
wchar_t t_chr2wchar(int c);
int t_wchar2chr(wchar_t wc);

// UTF-8 codec. t_utf8append appends the encoding of wc (values outside
// Unicode or surrogates append U+FFFD). t_utf8next decodes the character at
// *ppText, never reading at or past pEnd, and advances *ppText by at least one
// byte; a malformed or truncated sequence gives U+FFFD for its first byte. At
// pEnd it returns 0 and leaves *ppText.
void t_utf8append(std::string& sOut, wchar_t wc);
wchar_t t_utf8next(char const** ppText, char const* pEnd);
// The bytes that follow a sequence's first byte c: 0 to 3, or -1 when c can
// begin no sequence. For readers that take a character byte by byte.
int t_utf8more(unsigned char c);

// Text converters. Each reads its whole argument (embedded NUL bytes
// included) and returns the converted bytes; nothing raises except memory
// exhaustion and error 1101 when the host lacks an encoding.
// lt9 is ISO 8859-15, win Windows-1252, cp850 the DOS code page 850.
CBString t_strmorka2cp850(CBString const& s);
CBString t_strzezir2cp850(CBString const& s);
CBString t_strcp8502morka(CBString const& s);
CBString t_strcp8502zezir(CBString const& s);
CBString t_strmorka2lt9(CBString const& s);
CBString t_strzezir2lt9(CBString const& s);
CBString t_strlt92morka(CBString const& s);
CBString t_strlt92zezir(CBString const& s);
CBString t_strmorka2win(CBString const& s);
CBString t_strzezir2win(CBString const& s);
CBString t_strwin2morka(CBString const& s);
CBString t_strwin2zezir(CBString const& s);
CBString t_strmorka2utf8(CBString const& s);
CBString t_strzezir2utf8(CBString const& s);
CBString t_strutf82morka(CBString const& s);
CBString t_strutf82zezir(CBString const& s);
CBString t_strmorka2zezir(CBString const& s);
CBString t_strzezir2morka(CBString const& s);
// Wide text: the result of *2wchar holds the wchar_t units of the text
// followed by one NUL unit (so that its bytes are a valid wchar_t string);
// wchar2* read pws up to its NUL unit (null: empty result).
CBString t_strmorka2wchar(CBString const& s);
CBString t_strzezir2wchar(CBString const& s);
CBString t_strwchar2morka(wchar_t const* pws);
CBString t_strwchar2zezir(wchar_t const* pws);
// Text of the active set to UTF-8 and back (Morka.iCharset).
CBString t_strsys2utf8(CBString const& s);
CBString t_strutf82sys(CBString const& s);

// The channel byte of system byte c: ISO 8859-15 where the character has a
// code there; the 32 characters of the MORKA set that ISO 8859-15 lacks (line
// drawing 160-185, ¼, ½ and the four quotes 251-254) take the free codes
// 0x80-0x9F in their order. A permutation of 0-255: no byte is ever lost.
int t_chrsys2ext(int c);
// Its inverse.
int t_chrext2sys(int c);
// The same permutation as 256-byte tables (index: the byte to convert), for
// converting whole strings without a call per byte.
unsigned char const* t_SysToExtTable();
unsigned char const* t_ExtToSysTable();

}  // namespace morka
