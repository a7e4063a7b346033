// Strtime: day number and seconds formatted by a strftime-like format, with
// the run-time's own formatter b_strftime or the system library's strftime.
// b_strftime collects text and the standard conversions and hands each
// collected piece to strftime when one of its own conversions comes and at
// the end. Choices: strftime gets a buffer that grows until the piece fits
// (a fixed 100-byte buffer would drop long pieces entirely); a lone '%' at
// the end of a format is written as '%'; '%' before a character that is no
// letter is passed on to strftime with that character.
// The language (getlang), the upper-casing of a name's first letter
// (t_toupper) and the conversion of the system library's UTF-8 names to the
// active set (FromUtf8) are the character-set layer's.
#include <velbra/FuncCharset.h>
#include <velbra/FuncDate.h>
#include <morka/CharClass.h>
#include <morka/Lang.h>
#include <morka/Settings.h>
#include "DateCalc.h"

#include <cstring>
#include <string>
#include <vector>

namespace morka {

namespace {

std::string s_UpperFirst(std::string s) {
    if (!s.empty()) s[0] = static_cast<char>(t_toupper(static_cast<unsigned char>(s[0])));
    return s;
}

std::string s_FromUtf8(std::string const& s) { return FromUtf8(s.c_str()).str(); }

// strftime of one piece into a buffer that grows until the result fits. An
// empty result is accepted once the buffer is far larger than any expansion
// of the piece could need.
std::string s_SystemStrftime(std::string const& sFormat, std::tm const& tm) {
    std::size_t nLimit = sFormat.size() * 64 + 1024;
    for (std::size_t nSize = 100;; nSize *= 2) {
        std::vector<char> aBuf(nSize);
        std::size_t n = std::strftime(aBuf.data(), nSize, sFormat.c_str(), &tm);
        if (n > 0 || nSize >= nLimit) return std::string(aBuf.data(), n);
    }
}

bool s_IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// One of the run-time's own conversions.
std::string s_OwnConversion(char c, std::tm const& tm, int iLang) {
    switch (c) {
    case 'c': return b_StrftimeIn("%a %b %e %T %Y", tm, iLang);
    case 'r': return b_StrftimeIn("%T %p", tm, iLang);
    case 'A': return s_UpperFirst(s_SystemStrftime("%A", tm));
    case 'a': return s_UpperFirst(s_SystemStrftime("%a", tm)).substr(0, 3);
    case 'B': return s_FromUtf8(s_UpperFirst(s_SystemStrftime("%B", tm)));
    case 'b':
    case 'h': return tm.tm_mon >= 0 && tm.tm_mon < 12 ? _short_monthnames[tm.tm_mon] : "";
    case 'J': return std::to_string(tm.tm_mday);
    case 'P': return tm.tm_hour < 12 ? "a" : "p";
    case 'p': return tm.tm_hour < 12 ? "AM" : "PM";
    case 'Z': {
        std::string sZone = s_SystemStrftime("%Z", tm);
        return sZone == "CET" || sZone == "CEST" ? "RST" : sZone;
    }
    default: return std::string();
    }
}

}  // namespace

std::string b_StrftimeIn(char const* pszFormat, std::tm const& tm, int iLang) {
    std::string sOut, sPiece;
    auto flush = [&]() {
        if (sPiece.find('%') == std::string::npos) sOut += sPiece;
        else sOut += s_SystemStrftime(sPiece, tm);
        sPiece.clear();
    };
    for (char const* p = pszFormat ? pszFormat : ""; *p; ++p) {
        if (*p != '%') {
            sPiece += *p;
            continue;
        }
        char c = p[1];
        if (!c) {
            sPiece += "%%";
            break;
        }
        ++p;
        bool bSystem = c == '%' || !s_IsLetter(c) || std::strchr("xDyYmdejwUWgGRTXHIklMSnt", c) ||
                       (iLang == 0 && std::strchr("bhBaArp", c));
        if (bSystem) {
            sPiece += '%';
            sPiece += c;
            continue;
        }
        flush();
        sOut += s_OwnConversion(c, tm, iLang);
    }
    flush();
    return sOut;
}

namespace {

CBString s_Strtime(char const* pszFormat, int day, int seconds) {
    CYmd date = b_DateOfDay(day);
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.y - 1900);
    tm.tm_mon = date.m - 1;
    tm.tm_mday = static_cast<int>(date.d);
    if (seconds) {
        tm.tm_hour = seconds / 3600;
        tm.tm_min = seconds % 3600 / 60;
        tm.tm_sec = seconds % 60;
    }
    tm.tm_isdst = -1;
    std::mktime(&tm);
    if (Morka.bGlibcTime) return CBString(s_FromUtf8(s_SystemStrftime(pszFormat ? pszFormat : "", tm)));
    return b_strftime(pszFormat, tm);
}

}  // namespace

CBString b_strftime(char const* format, std::tm const& tm) { return CBString(b_StrftimeIn(format, tm, getlang())); }

CBString Strtime(char const* format, int day, int seconds) { return s_Strtime(format, day, seconds); }
CBString Strtime(CBString const& format, int day, int seconds) { return s_Strtime(format.c_str(), day, seconds); }

}  // namespace morka
