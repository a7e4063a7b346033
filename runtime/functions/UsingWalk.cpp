// UsingWalk: the picture walk of PRINT USING. Numeric fields go through the
// decoder and formatter of NumFormat; string fields ('!', '\'' with L R C E,
// the one-character '\'' field and \...\) are laid out here. A string in a
// numeric field is taken and prints nothing; a number in a string field
// prints the mismatch marker.
// Choices: an empty string in a one-character field prints one space, so the
// columns stay in place; a \ field without its closing backslash runs to the
// end of the picture.
#include "UsingWalk.h"

#include <velbra/NumFormat.h>
#include <velbra/PrintOut.h>

#include <cstring>
#include <string>

namespace morka {

namespace {

char s_Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool s_IsNumber(CUsingValue const& v) { return v.cType == 'd' || v.cType == 'i' || v.cType == 'l'; }

// The string v laid out in a field of nWidth: 'L' left, 'R' right, 'C'
// centred (the odd space goes right), 'E' whole.
std::string s_StringField(std::string_view s, std::size_t nWidth, char cAlign) {
    if (cAlign == 'E') return std::string(s);
    if (s.size() >= nWidth) return std::string(s.substr(0, nWidth));
    std::size_t nSpare = nWidth - s.size();
    std::size_t nLeft = cAlign == 'R' ? nSpare : cAlign == 'C' ? nSpare / 2 : 0;
    std::string r(nLeft, ' ');
    r += s;
    r.append(nSpare - nLeft, ' ');
    return r;
}

class CWalker {
public:
    CWalker(char const* pszPicture, CUsingValue const* aValues, std::size_t nValues, CUsingSink& sink)
        : m_pszPicture(pszPicture), m_aValues(aValues), m_nValues(nValues), m_sink(sink) {}

    void Run() {
        for (;;) {
            bool bTookOne = false;
            if (!Pass(bTookOne)) return;
            Flush();
            if (m_iNext >= m_nValues || !bTookOne) return;
            m_sink.LineEnd();
        }
    }

private:
    // One pass over the picture; false when a field found no operand left.
    bool Pass(bool& bTookOne) {
        char const* p = m_pszPicture;
        while (*p) {
            char c = *p;
            if (std::strchr("#$*9Zz", c)) {
                using_format f;
                char const* pField = p;
                if (!b_DecodeFormat(&pField, &f)) {
                    m_sText += c;
                    ++p;
                    continue;
                }
                CUsingValue const* pValue = Take(bTookOne);
                if (!pValue) return false;
                if (s_IsNumber(*pValue)) {
                    CBString sField;
                    b_Format(&sField, &f, pValue->cType == 'd' ? pValue->x : static_cast<dfp_t>(pValue->n));
                    Emit(sField.view());
                }
                p = pField;
            } else if (c == '!') {
                if (!StringField(1, 'L', bTookOne)) return false;
                ++p;
            } else if (c == '\'') {
                char cAlign = s_Upper(p[1]);
                if (cAlign == 'L' || cAlign == 'R' || cAlign == 'C' || cAlign == 'E') {
                    std::size_t nRun = 1;
                    while (s_Upper(p[1 + nRun]) == cAlign) ++nRun;
                    if (!StringField(nRun + 1, cAlign, bTookOne)) return false;
                    p += 1 + nRun;
                } else {
                    if (!StringField(1, 'L', bTookOne)) return false;
                    ++p;
                }
            } else if (c == '\\') {
                char const* pClose = std::strchr(p + 1, '\\');
                std::size_t nWidth = pClose ? static_cast<std::size_t>(pClose - p) + 1 : std::strlen(p);
                if (!StringField(nWidth, 'L', bTookOne)) return false;
                p += nWidth;
            } else {
                m_sText += c;
                ++p;
            }
        }
        return true;
    }

    CUsingValue const* Take(bool& bTookOne) {
        if (m_iNext >= m_nValues) {
            Flush();
            return nullptr;
        }
        bTookOne = true;
        return &m_aValues[m_iNext++];
    }

    bool StringField(std::size_t nWidth, char cAlign, bool& bTookOne) {
        CUsingValue const* pValue = Take(bTookOne);
        if (!pValue) return false;
        if (s_IsNumber(*pValue)) {
            Emit(b_UsingMismatch(*pValue));
        } else if (nWidth == 1) {
            Emit(pValue->sText.empty() ? std::string_view(" ") : pValue->sText.substr(0, 1));
        } else {
            Emit(s_StringField(pValue->sText, nWidth, cAlign));
        }
        return true;
    }

    void Emit(std::string_view sPiece) {
        Flush();
        m_sink.Text(sPiece);
    }

    void Flush() {
        if (m_sText.empty()) return;
        m_sink.Text(m_sText);
        m_sText.clear();
    }

    char const* m_pszPicture;
    CUsingValue const* m_aValues;
    std::size_t m_nValues;
    CUsingSink& m_sink;
    std::size_t m_iNext = 0;
    std::string m_sText;
};

}  // namespace

void b_UsingWalk(char const* pszPicture, CUsingValue const* aValues, std::size_t nValues, CUsingSink& sink) {
    CWalker walker(pszPicture ? pszPicture : "", aValues, nValues, sink);
    walker.Run();
}

std::string b_UsingMismatch(CUsingValue const& value) {
    char aBuf[64];
    int n = value.cType == 'd' ? b_PrintNumberText(aBuf, value.x, false)
                               : b_PrintIntegerText(aBuf, static_cast<int>(value.n), false);
    return "% " + std::string(aBuf, static_cast<std::size_t>(n));
}

}  // namespace morka
