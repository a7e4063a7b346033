// FuncField: dynamic fields and sub-fields (Ext, Del, Ins, Rep, ExtDelims).
// A string is fields divided by b_cField, each field sub-fields divided by
// b_cSub. Every function locates its field with one forward scan (memchr) and
// builds the result in one buffer. Del, Ins and Rep drop every trailing
// separator of the result, of either kind, in any mix.
// Open point settled here: Ins with field < 1 and sub >= 1 inserts the
// sub-field into field 1, so every byte of s is kept.
#include <velbra/FuncStr.h>
#include "FuncCommon.h"

#include <cstring>
#include <string>
#include <string_view>

namespace morka {

unsigned char b_cField = 222;
unsigned char b_cSub = 221;

namespace {

constexpr std::size_t NPOS = std::string_view::npos;


// Position of byte c in s[iFrom, iTo), or iTo.
std::size_t s_Find(std::string_view s, std::size_t iFrom, std::size_t iTo, unsigned char c) {
    if (iFrom >= iTo) return iTo;
    void const* p = std::memchr(s.data() + iFrom, c, iTo - iFrom);
    return p ? static_cast<std::size_t>(static_cast<char const*>(p) - s.data()) : iTo;
}

// Start of field n (n >= 1): after the (n-1)-th field separator; NPOS when s
// has fewer separators.
std::size_t s_FieldStart(std::string_view s, long long n) {
    std::size_t i = 0;
    for (long long k = 1; k < n; ++k) {
        std::size_t j = s_Find(s, i, s.size(), b_cField);
        if (j == s.size()) return NPOS;
        i = j + 1;
    }
    return i;
}

std::size_t s_FieldEnd(std::string_view s, std::size_t iStart) { return s_Find(s, iStart, s.size(), b_cField); }

// Start of sub-field m (m >= 1) of the field s[iStart, iEnd); NPOS when the
// field has fewer sub-field separators.
std::size_t s_SubStart(std::string_view s, std::size_t iStart, std::size_t iEnd, long long m) {
    std::size_t i = iStart;
    for (long long k = 1; k < m; ++k) {
        std::size_t j = s_Find(s, i, iEnd, b_cSub);
        if (j == iEnd) return NPOS;
        i = j + 1;
    }
    return i;
}

long long s_CountSubs(std::string_view s, std::size_t iStart, std::size_t iEnd) {
    long long n = 0;
    for (std::size_t i = iStart; (i = s_Find(s, i, iEnd, b_cSub)) < iEnd; ++i) ++n;
    return n;
}

// Makes sure r has at least n fields (appends field separators).
void s_EnsureFields(std::string& r, long long n) {
    long long nFields = 1;
    for (std::size_t i = 0; (i = s_Find(r, i, r.size(), b_cField)) < r.size(); ++i) ++nFields;
    if (nFields < n) r.append(static_cast<std::size_t>(n - nFields), static_cast<char>(b_cField));
}

// Makes sure field [iStart, *piEnd) of r has at least m sub-fields (appends
// sub-field separators at the end of the field).
void s_EnsureSubs(std::string& r, std::size_t iStart, std::size_t* piEnd, long long m) {
    long long nSubs = s_CountSubs(r, iStart, *piEnd) + 1;
    if (nSubs >= m) return;
    std::size_t nAdd = static_cast<std::size_t>(m - nSubs);
    r.insert(*piEnd, nAdd, static_cast<char>(b_cSub));
    *piEnd += nAdd;
}

CBString s_StripTrailing(std::string r) {
    std::size_t n = r.size();
    while (n > 0) {
        unsigned char c = static_cast<unsigned char>(r[n - 1]);
        if (c != b_cField && c != b_cSub) break;
        --n;
    }
    r.resize(n);
    return CBString(std::move(r));
}

CBString s_Ext(std::string_view s, int field, int sub) {
    if (field < 1 || s.empty()) return CBString();
    std::size_t iStart = s_FieldStart(s, field);
    if (iStart == NPOS || (field > 1 && iStart == s.size())) return CBString();
    std::size_t iEnd = s_FieldEnd(s, iStart);
    if (sub >= 1) {
        iStart = s_SubStart(s, iStart, iEnd, sub);
        if (iStart == NPOS) return CBString();
        iEnd = s_Find(s, iStart, iEnd, b_cSub);
    }
    return CBString(s.substr(iStart, iEnd - iStart));
}

// Copy of s without s[iFrom, iTo).
std::string s_Without(std::string_view s, std::size_t iFrom, std::size_t iTo) {
    std::string r;
    r.reserve(s.size() - (iTo - iFrom));
    r.append(s.substr(0, iFrom));
    r.append(s.substr(iTo));
    return r;
}

CBString s_Del(std::string_view s, int field, int sub) {
    if (field < 1 || s.empty()) return CBString();
    std::size_t iStart = s_FieldStart(s, field);
    if (iStart == NPOS) return s_StripTrailing(std::string(s));
    std::size_t iEnd = s_FieldEnd(s, iStart);
    bool bWholeField = sub < 1 || (sub == 1 && s_Find(s, iStart, iEnd, b_cSub) == iEnd);
    if (bWholeField) {
        if (field == 1) return s_StripTrailing(s_Without(s, 0, iEnd < s.size() ? iEnd + 1 : iEnd));
        return s_StripTrailing(s_Without(s, iStart - 1, iEnd));
    }
    if (sub == 1) return s_StripTrailing(s_Without(s, iStart, s_Find(s, iStart, iEnd, b_cSub) + 1));
    std::size_t iSub = s_SubStart(s, iStart, iEnd, sub);
    if (iSub == NPOS) return s_StripTrailing(std::string(s));
    return s_StripTrailing(s_Without(s, iSub - 1, s_Find(s, iSub, iEnd, b_cSub)));
}

CBString s_Ins(std::string_view s, int field, int sub, std::string_view text) {
    std::string r;
    r.reserve(s.size() + text.size() + 2);
    r.append(s);
    if (sub < 1) {
        std::size_t iAt = 0;
        if (field >= 1) {
            s_EnsureFields(r, field + 1LL);
            iAt = s_FieldStart(r, field + 1LL);
        }
        std::string sPiece(text);
        sPiece += static_cast<char>(b_cField);
        r.insert(iAt, sPiece);
        return s_StripTrailing(std::move(r));
    }
    if (field < 1) field = 1;
    s_EnsureFields(r, field);
    std::size_t iStart = s_FieldStart(r, field);
    std::size_t iEnd = s_FieldEnd(r, iStart);
    s_EnsureSubs(r, iStart, &iEnd, sub + 1LL);
    std::size_t iAt = s_SubStart(r, iStart, iEnd, sub + 1LL);
    std::string sPiece(text);
    if (iAt < iEnd) sPiece += static_cast<char>(b_cSub);
    r.insert(iAt, sPiece);
    return s_StripTrailing(std::move(r));
}

CBString s_Rep(std::string_view s, int field, int sub, std::string_view text) {
    if (field < 1) field = 1;
    if (sub < 1) sub = 1;
    std::string r;
    r.reserve(s.size() + text.size());
    r.append(s);
    s_EnsureFields(r, field);
    std::size_t iStart = s_FieldStart(r, field);
    std::size_t iEnd = s_FieldEnd(r, iStart);
    s_EnsureSubs(r, iStart, &iEnd, sub);
    std::size_t iSub = s_SubStart(r, iStart, iEnd, sub);
    std::size_t iSubEnd = s_Find(r, iSub, iEnd, b_cSub);
    r.replace(iSub, iSubEnd - iSub, text);
    return s_StripTrailing(std::move(r));
}

}  // namespace

CBString Ext(CBString const& s, int field, int sub) { return s_Ext(s.view(), field, sub); }
CBString Ext(char const* s, int field, int sub) { return s_Ext(b_View(s), field, sub); }

CBString Del(CBString const& s, int field, int sub) { return s_Del(s.view(), field, sub); }
CBString Del(char const* s, int field, int sub) { return s_Del(b_View(s), field, sub); }

CBString Ins(CBString const& s, int field, int sub, CBString const& text) { return s_Ins(s.view(), field, sub, text.view()); }
CBString Ins(CBString const& s, int field, int sub, char const* text) { return s_Ins(s.view(), field, sub, b_View(text)); }
CBString Ins(char const* s, int field, int sub, CBString const& text) { return s_Ins(b_View(s), field, sub, text.view()); }
CBString Ins(char const* s, int field, int sub, char const* text) { return s_Ins(b_View(s), field, sub, b_View(text)); }

CBString Rep(CBString const& s, int field, int sub, CBString const& text) { return s_Rep(s.view(), field, sub, text.view()); }
CBString Rep(CBString const& s, int field, int sub, char const* text) { return s_Rep(s.view(), field, sub, b_View(text)); }
CBString Rep(char const* s, int field, int sub, CBString const& text) { return s_Rep(b_View(s), field, sub, text.view()); }
CBString Rep(char const* s, int field, int sub, char const* text) { return s_Rep(b_View(s), field, sub, b_View(text)); }

int ExtDelims(int field, int sub) {
    b_cSub = static_cast<unsigned char>(sub ? sub : 221);
    b_cField = static_cast<unsigned char>(field ? field : 222);
    return b_cField;
}

}  // namespace morka
