// CharsetCodes: the code tables shared by the charset modules of libmorka
// (not exported). A code table maps the 256 bytes of a single-byte set to
// Unicode and back; WCHAR_NONE marks a byte without a character.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morka {

inline constexpr wchar_t WCHAR_NONE = static_cast<wchar_t>(0xFFFD);

class CCodeTable {
public:
    wchar_t aToWide[256] = {};
    // Sorted by character; the first byte wins when two bytes share one.
    std::vector<std::pair<wchar_t, unsigned char>> aFromWide;

    // Fills aFromWide from aToWide.
    void BuildReverse();
    // The byte of wc, or -1 when the set lacks it.
    int Find(wchar_t wc) const;
    // Appends the byte of wc, else its nearest form, else '?'.
    void Encode(std::string& sOut, wchar_t wc) const;
};

// The system sets.
CCodeTable const& t_ZezirCodes();
CCodeTable const& t_MorkaCodes();
// 512 gives the MORKA table, anything else the Zezir one.
CCodeTable const& t_SystemCodes(int iCharset);

// External single-byte encodings, built once through iconv.
enum t_ExtCode : int { EXT_CP850, EXT_LT9, EXT_WIN1252, EXT_COUNT };
CCodeTable const& t_ExternalCodes(t_ExtCode e);

// Recodes every byte of s from one table to another.
std::string t_Recode(std::string_view s, CCodeTable const& from, CCodeTable const& to);

}  // namespace morka
