// NumFormat: the one formatter of numeric fields (b_Format), the overflow
// marker, the decimal-point substitution and the Format function (the field
// decoder is PictureDecode.cpp). The formatter works in the flavour's real,
// so the decimal flavour rounds money exactly (1.005 to two places is 1.01
// there and 1.00 here, as the binary product falls short of 100.5).
// Choices where the behaviour was open or unsound:
//  - an infinite value overflows (the marker shows "inf");
//  - exponent form: a negative value is scaled by its magnitude with one
//    integer position kept for the '-', so it fits when the picture has room;
//    a mantissa whose rounding reaches the limit is scaled once more (99.999
//    in ##.##^^^^ is 10.00E+01, not an overflow); a zero under ZZ blanks the
//    whole field;
//  - fraction digits that round up to a whole unit carry into the integer.
#include <velbra/NumFormat.h>
#include <velbra/RealMath.h>
#include <morka/Settings.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace morka {

namespace {

bool s_IsZ(char c) { return c == 'Z' || c == 'z'; }

// Decimal digits of the non-negative integral value a, written with at least
// nMinDigits digits (leading zeros).
void s_AppendDigits(std::string& s, dfp_t a, int nMinDigits) {
    int64_t n;
    if (b_ToInt64(a, &n)) {
        char aBuf[24];
        int i = sizeof aBuf;
        do {
            aBuf[--i] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n);
        int nDigits = static_cast<int>(sizeof aBuf) - i;
        if (nMinDigits > nDigits) s.append(static_cast<std::size_t>(nMinDigits - nDigits), '0');
        s.append(aBuf + i, static_cast<std::size_t>(nDigits));
        return;
    }
    char szSpec[24];
    std::snprintf(szSpec, sizeof szSpec, "%%0%d.0f", nMinDigits > 0 ? nMinDigits : 1);
    char aBuf[512];
    int nLen = b_RealPrintf(aBuf, sizeof aBuf, szSpec, a);
    if (nLen >= 0 && static_cast<std::size_t>(nLen) < sizeof aBuf) {
        s.append(aBuf, static_cast<std::size_t>(nLen));
    } else if (nLen > 0) {
        std::string sBig(static_cast<std::size_t>(nLen) + 1, '\0');
        b_RealPrintf(sBig.data(), sBig.size(), szSpec, a);
        s.append(sBig.data(), static_cast<std::size_t>(nLen));
    }
}

// Inserts the group separator between groups of three digits.
std::string s_Group(std::string const& sDigits, char cSeparator) {
    std::string r;
    r.reserve(sDigits.size() + sDigits.size() / 3);
    std::size_t n = sDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r += cSeparator;
        r += sDigits[i];
    }
    return r;
}

// The fixed form. Appends the field to out and returns true, or returns false
// for an overflow (out unchanged).
bool s_FormatFixed(std::string& out, using_format& f, dfp_t x) {
    char const cFill = f.cFill ? f.cFill : ' ';
    int const nIntWidth = f.iInteger;
    if (f.bDollar) --f.iInteger;
    dfp_t a;
    std::string sFraction;
    if (f.iDecimals == 0) {
        a = b_RoundHalfAway(b_Fabs(x));
    } else {
        dfp_t p = b_Pow10(f.iDecimals, dfp_t{});
        x = b_Floor(x * p + static_cast<dfp_t>(0.5)) / p;
        if (b_IsNan(x) || b_IsInf(x)) return false;
        dfp_t ax = b_Fabs(x);
        a = b_Trunc(ax);
        dfp_t fraction = b_RoundHalfAway((ax - a) * p);
        if (fraction >= p) {
            fraction = 0;
            a += 1;
        }
        s_AppendDigits(sFraction, fraction, f.iDecimals);
    }
    if (x == 0 && f.bBlankZero) {
        out.append(static_cast<std::size_t>(f.iWidth), ' ');
        return true;
    }
    bool const bNegative = x < 0;
    if (bNegative) {
        if (f.cSign == 0) {
            if (cFill != ' ' || f.bDollar) return false;
            --f.iInteger;
        } else if (f.cSign == '>') {
            --f.iInteger;
        }
    }
    std::string sDigits;
    s_AppendDigits(sDigits, a, 1);
    if (f.bComma) sDigits = s_Group(sDigits, Morka.cDecimal == '.' ? ',' : '.');
    if (static_cast<long long>(sDigits.size()) > f.iInteger) return false;

    std::string sHead;
    if (cFill == '0') {
        if (f.bDollar) sHead += Morka.cCurrency;
        sHead.append(static_cast<std::size_t>(f.iInteger) - sDigits.size(), '0');
        sHead += sDigits;
    } else {
        if (bNegative && f.cSign == 0) sHead += '-';
        else if (bNegative && f.cSign == '>') sHead += '<';
        if (f.bDollar) sHead += Morka.cCurrency;
        sHead += sDigits;
        if (static_cast<long long>(sHead.size()) < nIntWidth)
            sHead.insert(0, static_cast<std::size_t>(nIntWidth) - sHead.size(), cFill);
    }
    out += sHead;
    if (f.iDecimals > 0) {
        out += Morka.cDecimal;
        out += sFraction;
    }
    switch (f.cSign) {
    case '>': out += bNegative ? ">" : " "; break;
    case '-': out += bNegative ? "-" : " "; break;
    case '+': out += bNegative ? "-" : x == 0 ? " " : "+"; break;
    case 'C': out += bNegative ? "CR" : "  "; break;
    case 'D': out += bNegative ? "DB" : "  "; break;
    default: break;
    }
    return true;
}

// The mantissa rounded as the fixed form will round it.
dfp_t s_RoundedMantissa(dfp_t a, int nDecimals) {
    if (nDecimals == 0) return b_RoundHalfAway(a);
    dfp_t p = b_Pow10(nDecimals, dfp_t{});
    return b_Floor(a * p + static_cast<dfp_t>(0.5)) / p;
}

bool s_FormatExponent(std::string& out, using_format& f, dfp_t x) {
    if (f.cFill != ' ' || f.bDollar) return false;
    if (x == 0 && f.bBlankZero) {
        out.append(static_cast<std::size_t>(f.iWidth), ' ');
        return true;
    }
    bool const bNegative = x < 0;
    dfp_t a = b_Fabs(x);
    dfp_t const ten = 10;
    dfp_t const limit = b_Pow10(f.iInteger - (bNegative ? 1 : 0), dfp_t{});
    int e = 0;
    if (a >= 1) {
        while (a >= limit) {
            a /= ten;
            ++e;
        }
    } else if (a > 0) {
        while (a < limit) {
            a *= ten;
            --e;
        }
        a /= ten;
        ++e;
    }
    if (a > 0 && s_RoundedMantissa(a, f.iDecimals) >= limit) {
        a /= ten;
        ++e;
    }
    using_format m;
    m.cFill = ' ';
    m.iInteger = f.iInteger;
    m.iDecimals = f.iDecimals;
    std::string sMantissa;
    if (!s_FormatFixed(sMantissa, m, bNegative ? -a : a)) return false;

    int nLeft = f.iExponent - 1;
    std::string sExponent = "E";
    if (e < 0) {
        sExponent += '-';
        --nLeft;
    } else if (nLeft >= 2) {
        sExponent += '+';
        --nLeft;
    }
    if (nLeft < 1) return false;
    std::string sDigits = std::to_string(e < 0 ? -e : e);
    if (static_cast<int>(sDigits.size()) > nLeft) return false;
    sExponent.append(static_cast<std::size_t>(nLeft) - sDigits.size(), '0');
    sExponent += sDigits;
    out += sMantissa;
    out += sExponent;
    return true;
}

}  // namespace

void b_Format(CBString* pOut, using_format* pFormat, dfp_t x) {
    if (b_IsNan(x)) x = b_RealMax(dfp_t{});
    std::string s;
    bool bFits = !b_IsInf(x) && (pFormat->iExponent ? s_FormatExponent(s, *pFormat, x) : s_FormatFixed(s, *pFormat, x));
    if (!bFits) {
        CBString sMarker;
        b_WrongFormat(&sMarker, x);
        *pOut += sMarker;
        return;
    }
    pOut->str() += s;
}

void b_WrongFormat(CBString* pOut, dfp_t x) { *pOut = b_PrintDecimal("%% %g", x); }

int b_PrintDecimal(char* pszBuf, unsigned long nSize, char const* pszFormat, dfp_t x) {
    int n = b_RealPrintf(pszBuf, nSize, pszFormat, x);
    if (nSize > 0 && Morka.cDecimal != '.') {
        char* pPoint = std::strchr(pszBuf, '.');
        if (pPoint) *pPoint = Morka.cDecimal;
    }
    return n;
}

CBString b_PrintDecimal(char const* pszFormat, dfp_t x) {
    char aBuf[128];
    int n = b_PrintDecimal(aBuf, sizeof aBuf, pszFormat, x);
    if (n < 0) return CBString();
    if (static_cast<std::size_t>(n) < sizeof aBuf) return CBString(aBuf, n);
    std::string sBig(static_cast<std::size_t>(n) + 1, '\0');
    b_PrintDecimal(sBig.data(), sBig.size(), pszFormat, x);
    sBig.resize(static_cast<std::size_t>(n));
    return CBString(std::move(sBig));
}

CBString b_strformat(dfp_t x, char const* pszPicture) {
    char const* p = pszPicture ? pszPicture : "";
    CBString r;
    for (; *p && !std::strchr("*#9zZ$,.", *p); ++p) {
        if (*p == '!' || *p == '\'' || *p == '\\') {
            b_WrongFormat(&r, x);
            return r;
        }
        r += *p;
    }
    using_format f;
    b_DecodeFormat(&p, &f);
    b_Format(&r, &f, x);
    for (; *p; ++p) {
        if (std::strchr("!'\\*#9", *p)) break;
        if ((*p == '$' && p[1] == '$') || (s_IsZ(*p) && s_IsZ(p[1]))) break;
        r += *p;
    }
    return r;
}

CBString Format(dfp_t x, char const* pszPicture) { return b_strformat(x, pszPicture); }
CBString Format(dfp_t x, CBString const& sPicture) { return b_strformat(x, sPicture.c_str()); }
CBString Format(int n, char const* pszPicture) { return b_strformat(static_cast<dfp_t>(n), pszPicture); }
CBString Format(int n, CBString const& sPicture) { return b_strformat(static_cast<dfp_t>(n), sPicture.c_str()); }

}  // namespace morka
