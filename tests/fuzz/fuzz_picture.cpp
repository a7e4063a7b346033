// Fuzz target of the numeric picture decoder. The input is a picture; it is
// walked as PRINT USING walks it (decode at every position, step one byte
// where there is no field) and every decoded record is checked for sanity.
// Build with -DVELBRA_FUZZ=ON, then run for example
//   build/fuzz/fuzz_picture -max_total_time=300 corpus/
// ASan reports any read past the picture's NUL; a broken record traps.
#include <velbra/UsingFormat.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using namespace morka;

namespace {

void s_Check(bool b) {
    if (!b) __builtin_trap();
}

bool s_IsEmpty(using_format const& f) {
    return !f.bDollar && !f.bBlankZero && !f.bComma && !f.bDecoded && !f.cSign && !f.cFill && !f.iDecimals &&
           !f.iExponent && !f.iInteger && !f.iWidth;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* pData, std::size_t nSize) {
    std::string sPicture(reinterpret_cast<char const*>(pData), nSize);
    char const* pszStart = sPicture.c_str();
    char const* pszEnd = pszStart + std::strlen(pszStart);
    for (char const* p = pszStart; *p;) {
        using_format f;
        f.iWidth = 12345;   // the decoder must clear the record
        char const* q = p;
        if (!b_DecodeFormat(&q, &f)) {
            s_Check(q == p && s_IsEmpty(f));
            ++p;
            continue;
        }
        s_Check(q > p && q <= pszEnd);
        s_Check(f.iWidth <= q - p + 1);   // '>' counts two positions for one character
        s_Check(f.iInteger >= 0 && f.iDecimals >= 0 && f.iInteger + f.iDecimals <= f.iWidth);
        s_Check(f.iExponent == 0 || (f.iExponent >= 2 && f.iExponent <= 5));
        s_Check(f.cSign == 0 || std::strchr("+->CD", f.cSign) != nullptr);
        s_Check(f.cFill == 0 || std::strchr(" *0$Zz", f.cFill) != nullptr);
        s_Check(!f.bBlankZero || f.cFill != 0);
        p = q;
    }
    return 0;
}
