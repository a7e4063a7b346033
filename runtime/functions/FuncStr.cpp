// FuncStr: positional substrings (Left, Mid, Right, Ovr), filling and
// trimming (Lpad, Rpad, Cpad, Trim, Ltrim, Rtrim) and construction (Space,
// Rpt, Chr, At, Cls). Positions count bytes from 1; every out-of-range number
// has a defined meaning, so nothing here raises.
// Open point settled here: Ovr with a length n <= 0 returns s unchanged.
#include <velbra/FuncStr.h>
#include "FuncCommon.h"

#include <new>
#include <string>
#include <string_view>

namespace morka {

namespace {

std::size_t s_Size(int n) { return n > 0 ? static_cast<std::size_t>(n) : 0; }

CBString s_Left(std::string_view s, int n) { return CBString(s.substr(0, s_Size(n))); }

CBString s_Mid(std::string_view s, int start, int n) {
    if (start < 1) start = 1;
    if (n <= 0 || s_Size(start) > s.size()) return CBString();
    return CBString(s.substr(s_Size(start) - 1, s_Size(n)));
}

CBString s_Right(std::string_view s, int start) {
    if (start < 1) return CBString(s);
    if (s_Size(start) > s.size()) return CBString();
    return CBString(s.substr(s_Size(start) - 1));
}

CBString s_Ovr(std::string_view s, int start, int n, std::string_view text) {
    if (n <= 0) return CBString(s);
    if (start < 1) start = 1;
    std::size_t iAt = s_Size(start) - 1;
    std::size_t nLen = s_Size(n);
    std::string r(s);
    if (r.size() < iAt) r.resize(iAt, ' ');
    std::string sPiece(text.substr(0, nLen));
    sPiece.resize(nLen, ' ');
    r.replace(iAt, nLen, sPiece);
    return CBString(std::move(r));
}

CBString s_Pad(std::string_view s, int n, std::size_t (*pfnLeft)(std::size_t)) {
    if (s_Size(n) <= s.size()) return CBString(s);
    std::size_t nExtra = s_Size(n) - s.size();
    std::size_t nLeft = pfnLeft(nExtra);
    std::string r;
    r.reserve(s_Size(n));
    r.append(nLeft, ' ');
    r.append(s);
    r.append(nExtra - nLeft, ' ');
    return CBString(std::move(r));
}

std::size_t s_AllLeft(std::size_t n) { return n; }
std::size_t s_NoneLeft(std::size_t) { return 0; }
std::size_t s_HalfLeft(std::size_t n) { return n / 2; }

std::string_view s_Ltrim(std::string_view s) {
    std::size_t i = s.find_first_not_of(' ');
    return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

std::string_view s_Rtrim(std::string_view s) {
    std::size_t i = s.find_last_not_of(' ');
    return i == std::string_view::npos ? std::string_view() : s.substr(0, i + 1);
}

CBString s_Trim(std::string_view s) {
    s = s_Rtrim(s_Ltrim(s));
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] != ' ' || s[i - 1] != ' ') r += s[i];   // s[0] is never a space here
    return CBString(std::move(r));
}

CBString s_Rpt(int n, std::string_view s) {
    if (n < 1 || s.empty()) return CBString();
    std::string r;
    std::size_t nTotal = s_Size(n) * s.size();
    if (nTotal > r.max_size()) throw std::bad_alloc();
    r.reserve(nTotal + 1);
    for (int i = 0; i < n; ++i) r.append(s);
    return CBString(std::move(r));
}

}  // namespace

CBString Left(CBString const& s, int n) { return s_Left(s.view(), n); }
CBString Left(char const* s, int n) { return s_Left(b_View(s), n); }
CBString Mid(CBString const& s, int start, int n) { return s_Mid(s.view(), start, n); }
CBString Mid(char const* s, int start, int n) { return s_Mid(b_View(s), start, n); }
CBString Right(CBString const& s, int start) { return s_Right(s.view(), start); }
CBString Right(char const* s, int start) { return s_Right(b_View(s), start); }

CBString Ovr(CBString const& s, int start, int n, CBString const& text) { return s_Ovr(s.view(), start, n, text.view()); }
CBString Ovr(CBString const& s, int start, int n, char const* text) { return s_Ovr(s.view(), start, n, b_View(text)); }
CBString Ovr(char const* s, int start, int n, CBString const& text) { return s_Ovr(b_View(s), start, n, text.view()); }
CBString Ovr(char const* s, int start, int n, char const* text) { return s_Ovr(b_View(s), start, n, b_View(text)); }

CBString Lpad(CBString const& s, int n) { return s_Pad(s.view(), n, s_AllLeft); }
CBString Lpad(char const* s, int n) { return s_Pad(b_View(s), n, s_AllLeft); }
CBString Rpad(CBString const& s, int n) { return s_Pad(s.view(), n, s_NoneLeft); }
CBString Rpad(char const* s, int n) { return s_Pad(b_View(s), n, s_NoneLeft); }
CBString Cpad(CBString const& s, int n) { return s_Pad(s.view(), n, s_HalfLeft); }
CBString Cpad(char const* s, int n) { return s_Pad(b_View(s), n, s_HalfLeft); }

CBString Trim(CBString const& s) { return s_Trim(s.view()); }
CBString Trim(char const* s) { return s_Trim(b_View(s)); }
CBString Ltrim(CBString const& s) { return CBString(s_Ltrim(s.view())); }
CBString Ltrim(char const* s) { return CBString(s_Ltrim(b_View(s))); }
CBString Rtrim(CBString const& s) { return CBString(s_Rtrim(s.view())); }
CBString Rtrim(char const* s) { return CBString(s_Rtrim(b_View(s))); }

CBString Space(int n) { return CBString(' ', n); }
CBString Rpt(int n, CBString const& s) { return s_Rpt(n, s.view()); }
CBString Rpt(int n, char const* s) { return s_Rpt(n, b_View(s)); }

CBString Chr(int code) { return CBString(static_cast<char>(code & 0xFF)); }

CBString At(int a, int b) {
    char const aSeq[3] = {16, static_cast<char>((static_cast<unsigned>(a) + 31u) & 0xFFu),
                          static_cast<char>((static_cast<unsigned>(b) + 31u) & 0xFFu)};
    return CBString(aSeq, 3);
}

CBString Cls() { return CBString('\f'); }

}  // namespace morka
