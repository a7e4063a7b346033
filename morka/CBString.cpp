// CBString: out-of-line operations of the binary-safe byte string.
// Positions are clamped to the string rather than raising, so that the BASIC
// string functions can pass any value; only byte access by index throws.
#include <morka/CBString.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace morka {

namespace {

bool s_IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Clamp a position to 0..n.
std::size_t s_Clamp(int iPos, std::size_t n) {
    if (iPos < 0) return 0;
    return std::min(static_cast<std::size_t>(iPos), n);
}

int s_Result(std::size_t n) { return n == std::string::npos ? -1 : static_cast<int>(n); }

}  // namespace

char CBString::character(int i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= m_s.size())
        throw CBStringException("CBString::character index " + std::to_string(i) + " out of range");
    return m_s[static_cast<std::size_t>(i)];
}

char& CBString::operator[](int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= m_s.size())
        throw CBStringException("CBString::operator[] index " + std::to_string(i) + " out of range");
    return m_s[static_cast<std::size_t>(i)];
}

CBString CBString::midstr(int iLeft, int nLen) const {
    if (nLen <= 0) return CBString();
    // A negative start eats into the length, as a window sliding off the left.
    if (iLeft < 0) {
        nLen += iLeft;
        iLeft = 0;
        if (nLen <= 0) return CBString();
    }
    std::size_t iStart = s_Clamp(iLeft, m_s.size());
    return CBString(m_s.substr(iStart, static_cast<std::size_t>(nLen)));
}

CBString CBString::right(int nLen) const {
    if (nLen <= 0) return CBString();
    std::size_t n = std::min(static_cast<std::size_t>(nLen), m_s.size());
    return CBString(m_s.substr(m_s.size() - n));
}

int CBString::find(CBString const& b, int iPos) const {
    if (iPos < 0 || static_cast<std::size_t>(iPos) > m_s.size()) return -1;
    return s_Result(m_s.find(b.m_s, static_cast<std::size_t>(iPos)));
}

int CBString::find(char c, int iPos) const {
    if (iPos < 0 || static_cast<std::size_t>(iPos) > m_s.size()) return -1;
    return s_Result(m_s.find(c, static_cast<std::size_t>(iPos)));
}

int CBString::caselessfind(CBString const& b, int iPos) const {
    if (iPos < 0 || static_cast<std::size_t>(iPos) > m_s.size()) return -1;
    auto it = std::search(m_s.begin() + iPos, m_s.end(), b.m_s.begin(), b.m_s.end(),
                          [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
    if (it == m_s.end() && !b.m_s.empty()) return -1;
    return static_cast<int>(it - m_s.begin());
}

int CBString::reversefind(CBString const& b, int iPos) const {
    if (iPos < 0) return -1;
    return s_Result(m_s.rfind(b.m_s, static_cast<std::size_t>(iPos)));
}

int CBString::reversefind(char c, int iPos) const {
    if (iPos < 0) return -1;
    return s_Result(m_s.rfind(c, static_cast<std::size_t>(iPos)));
}

int CBString::findchr(CBString const& set, int iPos) const {
    if (iPos < 0 || static_cast<std::size_t>(iPos) > m_s.size()) return -1;
    return s_Result(m_s.find_first_of(set.m_s, static_cast<std::size_t>(iPos)));
}

int CBString::nfindchr(CBString const& set, int iPos) const {
    if (iPos < 0 || static_cast<std::size_t>(iPos) > m_s.size()) return -1;
    return s_Result(m_s.find_first_not_of(set.m_s, static_cast<std::size_t>(iPos)));
}

CBString& CBString::replace(int iPos, int nLen, CBString const& b, char cFill) {
    if (iPos < 0) iPos = 0;
    if (nLen < 0) nLen = 0;
    if (static_cast<std::size_t>(iPos) > m_s.size()) m_s.resize(static_cast<std::size_t>(iPos), cFill);
    m_s.replace(static_cast<std::size_t>(iPos), static_cast<std::size_t>(nLen), b.m_s);
    return *this;
}

CBString& CBString::findreplace(CBString const& find, CBString const& repl, int iPos) {
    if (find.m_s.empty()) return *this;
    std::size_t i = s_Clamp(iPos, m_s.size());
    while ((i = m_s.find(find.m_s, i)) != std::string::npos) {
        m_s.replace(i, find.m_s.size(), repl.m_s);
        i += repl.m_s.size();
    }
    return *this;
}

CBString& CBString::insert(int iPos, CBString const& b, char cFill) {
    if (iPos < 0) iPos = 0;
    if (static_cast<std::size_t>(iPos) > m_s.size()) m_s.resize(static_cast<std::size_t>(iPos), cFill);
    m_s.insert(static_cast<std::size_t>(iPos), b.m_s);
    return *this;
}

CBString& CBString::insertchrs(int iPos, int nLen, char c) {
    if (nLen <= 0) return *this;
    return insert(iPos, CBString(c, nLen), ' ');
}

CBString& CBString::remove(int iPos, int nLen) {
    if (iPos < 0 || nLen <= 0 || static_cast<std::size_t>(iPos) >= m_s.size()) return *this;
    m_s.erase(static_cast<std::size_t>(iPos), static_cast<std::size_t>(nLen));
    return *this;
}

CBString& CBString::truncate(int nLen) {
    if (nLen < 0) nLen = 0;
    if (static_cast<std::size_t>(nLen) < m_s.size()) m_s.resize(static_cast<std::size_t>(nLen));
    return *this;
}

CBString& CBString::fill(int nLen, char c) {
    m_s.assign(nLen > 0 ? static_cast<std::size_t>(nLen) : 0, c);
    return *this;
}

CBString& CBString::repeat(int nCount) {
    if (nCount <= 0) { m_s.clear(); return *this; }
    std::string sOne = m_s;
    m_s.reserve(sOne.size() * static_cast<std::size_t>(nCount));
    for (int i = 1; i < nCount; ++i) m_s += sOne;
    return *this;
}

CBString& CBString::ltrim() {
    std::size_t i = 0;
    while (i < m_s.size() && s_IsBlank(static_cast<unsigned char>(m_s[i]))) ++i;
    m_s.erase(0, i);
    return *this;
}

CBString& CBString::rtrim() {
    std::size_t n = m_s.size();
    while (n > 0 && s_IsBlank(static_cast<unsigned char>(m_s[n - 1]))) --n;
    m_s.resize(n);
    return *this;
}

CBString& CBString::toupper() {
    for (char& c : m_s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return *this;
}

CBString& CBString::tolower() {
    for (char& c : m_s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return *this;
}

CBString& CBString::vformata(char const* pszFormat, va_list ap) {
    va_list apCopy;
    va_copy(apCopy, ap);
    char aBuf[256];
    int n = std::vsnprintf(aBuf, sizeof aBuf, pszFormat, apCopy);
    va_end(apCopy);
    if (n < 0) return *this;
    if (static_cast<std::size_t>(n) < sizeof aBuf) {
        m_s.append(aBuf, static_cast<std::size_t>(n));
    } else {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), pszFormat, ap);
        m_s.append(big.data(), static_cast<std::size_t>(n));
    }
    return *this;
}

CBString& CBString::vformat(char const* pszFormat, va_list ap) {
    m_s.clear();
    return vformata(pszFormat, ap);
}

CBString& CBString::format(char const* pszFormat, ...) {
    va_list ap;
    va_start(ap, pszFormat);
    vformat(pszFormat, ap);
    va_end(ap);
    return *this;
}

CBString& CBString::formata(char const* pszFormat, ...) {
    va_list ap;
    va_start(ap, pszFormat);
    vformata(pszFormat, ap);
    va_end(ap);
    return *this;
}

int CBString::caselessCmp(CBString const& b) const {
    std::size_t n = std::min(m_s.size(), b.m_s.size());
    for (std::size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(m_s[i]));
        int y = std::tolower(static_cast<unsigned char>(b.m_s[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (m_s.size() == b.m_s.size()) return 0;
    return m_s.size() < b.m_s.size() ? -1 : 1;
}

bool CBString::caselessEqual(CBString const& b) const { return caselessCmp(b) == 0; }

}  // namespace morka
