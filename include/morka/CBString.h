// CBString: the BASIC string, a binary-safe byte string on std::string.
//
// Bytes, not characters: embedded NUL bytes are kept, lengths count bytes and
// case conversion works on single bytes (the character-set layer maps the
// system sets). Positions are 0-based here (the BASIC functions convert from
// their 1-based positions). Searches return -1 when nothing is found. Reading
// or writing a byte outside the string through character()/operator[] throws
// CBStringException; every other operation clamps its positions to the string.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morka {

class CBStringException : public std::out_of_range {
public:
    explicit CBStringException(std::string const& sWhat) : std::out_of_range(sWhat) {}
};

class CBString {
public:
    CBString() = default;
    CBString(char const* psz) : m_s(psz ? psz : "") {}
    // nLen bytes from pBytes (embedded NUL bytes included); nLen <= 0 gives "".
    CBString(char const* pBytes, int nLen)
        : m_s(pBytes && nLen > 0 ? std::string(pBytes, static_cast<std::size_t>(nLen)) : std::string()) {}
    CBString(char c, int nCount) : m_s(nCount > 0 ? static_cast<std::size_t>(nCount) : 0, c) {}
    explicit CBString(char c) : m_s(1, c) {}
    CBString(std::string s) : m_s(std::move(s)) {}
    CBString(std::string_view s) : m_s(s) {}

    // Length in bytes.
    int length() const { return static_cast<int>(m_s.size()); }
    bool empty() const { return m_s.empty(); }
    // NUL-terminated view of the bytes (an embedded NUL ends the C text early).
    char const* c_str() const { return m_s.c_str(); }
    operator char const*() const { return m_s.c_str(); }
    char const* data() const { return m_s.data(); }
    char* data() { return m_s.data(); }
    std::string const& str() const { return m_s; }
    std::string& str() { return m_s; }
    std::string_view view() const { return m_s; }

    // Byte at position i; throws CBStringException outside 0..length()-1.
    char character(int i) const;
    char& operator[](int i);
    char operator[](int i) const { return character(i); }

    // nLen bytes from position iLeft, clamped to the string.
    CBString midstr(int iLeft, int nLen) const;
    CBString left(int nLen) const { return midstr(0, nLen); }
    CBString right(int nLen) const;

    // Searches from position iPos; -1 when not found.
    int find(CBString const& b, int iPos = 0) const;
    int find(char c, int iPos = 0) const;
    int caselessfind(CBString const& b, int iPos = 0) const;
    int reversefind(CBString const& b, int iPos) const;
    int reversefind(char c, int iPos) const;
    int findchr(CBString const& set, int iPos = 0) const;
    int nfindchr(CBString const& set, int iPos = 0) const;

    // Replace nLen bytes at iPos with b; a position beyond the end pads with cFill.
    CBString& replace(int iPos, int nLen, CBString const& b, char cFill = ' ');
    // Replace every occurrence of find with repl from iPos on.
    CBString& findreplace(CBString const& find, CBString const& repl, int iPos = 0);
    CBString& insert(int iPos, CBString const& b, char cFill = ' ');
    CBString& insertchrs(int iPos, int nLen, char c);
    CBString& remove(int iPos, int nLen);
    CBString& truncate(int nLen);
    // Make the string nLen bytes long, padding with c.
    CBString& fill(int nLen, char c = ' ');
    CBString& repeat(int nCount);

    // Trim blanks (space, tab, CR, LF, VT, FF) from one or both ends.
    CBString& ltrim();
    CBString& rtrim();
    CBString& trim() { return rtrim().ltrim(); }

    // ASCII case conversion of every byte.
    CBString& toupper();
    CBString& tolower();

    // printf-style formatting: format replaces the contents, formata appends.
    CBString& format(char const* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    CBString& formata(char const* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    CBString& vformat(char const* pszFormat, va_list ap);
    CBString& vformata(char const* pszFormat, va_list ap);

    bool caselessEqual(CBString const& b) const;
    int caselessCmp(CBString const& b) const;

    CBString& operator+=(CBString const& b) { m_s += b.m_s; return *this; }
    CBString& operator+=(char const* psz) { if (psz) m_s += psz; return *this; }
    CBString& operator+=(char c) { m_s += c; return *this; }

    friend CBString operator+(CBString a, CBString const& b) { a.m_s += b.m_s; return a; }
    friend CBString operator+(CBString a, char const* psz) { a += psz; return a; }
    friend CBString operator+(char const* psz, CBString const& b) { CBString a(psz); a += b; return a; }
    friend CBString operator+(CBString a, char c) { a.m_s += c; return a; }

    // Byte-wise comparison (unsigned bytes, shorter string first on a tie).
    friend bool operator==(CBString const& a, CBString const& b) { return a.m_s == b.m_s; }
    friend bool operator==(CBString const& a, char const* psz) { return a.m_s == (psz ? psz : ""); }
    friend auto operator<=>(CBString const& a, CBString const& b) { return a.m_s.compare(b.m_s) <=> 0; }

private:
    std::string m_s;
};

}  // namespace morka
