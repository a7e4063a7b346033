// Term: plain stream output of the terminal (standard output).
// CR is the system's line end: it is written as "\n", and an LF that directly
// follows a CR is swallowed so that "\r\n" (Printf) gives one line end. The
// column and line counters follow what was written. The full-screen terminal
// replaces the bodies of these functions, not their callers.
#include <morka/Term.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace morka {

CTermState Term;

namespace {

void s_NewLine() {
    std::fputc('\n', stdout);
    Term.iColumn = 0;
    ++Term.iLine;
}

void s_Put(unsigned char c) {
    if (c == '\r') {
        s_NewLine();
        Term.bLastWasCR = true;
        return;
    }
    if (c == '\n') {
        if (!Term.bLastWasCR) s_NewLine();
        Term.bLastWasCR = false;
        return;
    }
    Term.bLastWasCR = false;
    std::fputc(c, stdout);
    if (c == '\f') {
        Term.iColumn = 0;
        Term.iLine = 1;
        ++Term.iPage;
    } else if (c == '\b') {
        if (Term.iColumn > 0) --Term.iColumn;
    } else {
        ++Term.iColumn;
    }
}

}  // namespace

void TermWrite(char const* pText, int nLen) {
    if (!pText) return;
    if (nLen < 0) {
        for (; *pText; ++pText) s_Put(static_cast<unsigned char>(*pText));
    } else {
        for (int i = 0; i < nLen; ++i) s_Put(static_cast<unsigned char>(pText[i]));
    }
}

void TermPut(int c) { s_Put(static_cast<unsigned char>(c)); }

void TermPrintf(char const* pszFormat, ...) {
    char aBuf[512];
    va_list ap;
    va_start(ap, pszFormat);
    va_list apCopy;
    va_copy(apCopy, ap);
    int n = std::vsnprintf(aBuf, sizeof aBuf, pszFormat, ap);
    va_end(ap);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof aBuf) {
        TermWrite(aBuf, n);
    } else if (n >= 0) {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), pszFormat, apCopy);
        TermWrite(big.data(), n);
    }
    va_end(apCopy);
    std::fflush(stdout);
}

void TermTab(int iColumn) {
    while (Term.iColumn < iColumn) s_Put(' ');
}

void TermRefresh() { std::fflush(stdout); }

int TermLine() { return Term.iLine; }
int TermPage() { return Term.iPage; }
bool TermHasNCurses() { return Term.iMode > 1; }

}  // namespace morka
