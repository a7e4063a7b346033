// PictureDecode: b_DecodeFormat, the decoder of one numeric field of a
// picture. It reads the NUL-terminated picture only up to the end of the
// field (never past the NUL) and leaves the record empty when the text there
// is not a numeric field. A second '.' ends the digit run; a field that
// consumed nothing is not a field.
#include <velbra/UsingFormat.h>

namespace morka {

namespace {

bool s_IsZ(char c) { return c == 'Z' || c == 'z'; }
char s_Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int b_DecodeFormat(char const** ppszCursor, using_format* pFormat) {
    using_format& f = *pFormat;
    f = using_format{};
    char const* p = *ppszCursor;
    auto notField = [&f]() {
        f = using_format{};
        return 0;
    };
    auto addInteger = [&f](int n) {
        f.iWidth += n;
        f.iInteger += n;
    };
    if (*p == '*') {
        if (p[1] != '*') return notField();
        f.cFill = '*';
        addInteger(2);
        p += 2;
    }
    if (*p == '$') {
        if (p[1] == '$') {
            f.bDollar = 1;
            if (!f.cFill) f.cFill = ' ';
            addInteger(2);
            p += 2;
        } else if (f.cFill == '*') {
            // dialect quirk: a lone '$' after ** is swallowed and ends the field.
            f.bDecoded = 1;
            *ppszCursor = p + 1;
            return 1;
        } else {
            return notField();
        }
    }
    if (s_IsZ(*p)) {
        if (s_IsZ(p[1])) {
            if (!f.cFill) {
                f.cFill = ' ';
                f.bBlankZero = 1;
            }
            addInteger(2);
            p += 2;
        } else {
            if (!f.cFill) return notField();
            addInteger(1);
            ++p;
        }
    }
    bool bPoint = false;
    for (;; ++p) {
        char c = *p;
        if (c == '.') {
            if (bPoint) break;
            bPoint = true;
            ++f.iWidth;
            continue;
        }
        if (c == ',') {
            if (!f.cFill) break;
            f.bComma = 1;
        } else if (c == '#') {
            if (!f.cFill) f.cFill = ' ';
        } else if (c == '9') {
            f.cFill = '0';
        } else if (c == '*' || c == '$' || s_IsZ(c)) {
            if (!f.cFill) f.cFill = c;
        } else {
            break;
        }
        ++f.iWidth;
        if (bPoint) ++f.iDecimals;
        else ++f.iInteger;
    }
    if (p == *ppszCursor) return notField();
    char c = *p;
    char cUpper = s_Upper(c);
    char cNext = c ? s_Upper(p[1]) : 0;
    if (c == '+' || c == '-') {
        f.cSign = c;
        ++f.iWidth;
        ++p;
    } else if (c == '>') {
        f.cSign = '>';
        f.cFill = ' ';
        f.iWidth += 2;
        ++p;
    } else if ((cUpper == 'C' && cNext == 'R') || (cUpper == 'D' && cNext == 'B')) {
        f.cSign = cUpper;
        f.iWidth += 2;
        p += 2;
    } else if (cUpper == 'C' || cUpper == 'D') {
        *ppszCursor = p;
        return 1;
    } else if (c == '^') {
        int n = 0;
        while (p[n] == '^' && n < 5) ++n;
        if (n < 2) {
            *ppszCursor = p;
            return 1;
        }
        f.iExponent = n;
        f.iWidth += n;
        p += n;
    }
    f.bDecoded = 1;
    *ppszCursor = p;
    return 1;
}

}  // namespace morka
