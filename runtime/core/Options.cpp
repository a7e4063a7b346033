// Options: the OPTION statements that change run-time settings, and TRACE.
// Values outside the accepted set leave the setting unchanged.
#include <velbra/Startup.h>
#include <velbra/ErrorTrap.h>
#include <morka/morka.h>

#include <cctype>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace morka {

void OptionCase(char const* s) {
    if (s && *s && std::strchr("lmuLMU", *s))
        Morka.cCase = static_cast<char>(std::toupper(static_cast<unsigned char>(*s)));
}

void OptionComma() {
    Morka.cDecimal = ',';
    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
}

void OptionNocomma() {
    Morka.cDecimal = '.';
    std::setlocale(LC_NUMERIC, "en_US.UTF-8");
}

void OptionDateform(int n) {
    if (n >= 0 && n <= 2) Morka.cDateForm = "AEI"[n];
}

void OptionDateform(char const* s) {
    if (!s || !*s) return;
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(*s)));
    if (std::strchr("AEI", c))
        Morka.cDateForm = c;
    else if (c >= '0' && c <= '2')
        OptionDateform(c - '0');
}

void OptionDatein(int n) {
    if (n >= 0 && n <= 2) Morka.iDateIn = n;
}

void OptionDateout(int n) {
    if (n >= 0 && n <= 2) Morka.iDateOut = n;
}

void OptionPrompt(char const* s) { Morka.sPrompt = s ? s : ""; }

void OptionPriv(int level) {
    if (getpriv() < level) b_ErrorHandler(MORKA_EPRIV, 0);
}

void OptionLock(int mode) { FileMngr.iLockMode = mode; }

void OptionVersion(char const*, char const*) {}

void b_Trace(char const* pszFormat, ...) {
    char aBuf[40];
    va_list ap;
    va_start(ap, pszFormat);
    std::vsnprintf(aBuf, sizeof aBuf, pszFormat, ap);
    va_end(ap);
    if (isatty(STDOUT_FILENO)) {
        TermWrite(aBuf);
        TermRefresh();
    } else {
        std::fputs(aBuf, stdout);
        std::fflush(stdout);
    }
}

}  // namespace morka
