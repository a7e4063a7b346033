// Console: start and end of the console, and the key reader b_ConGetW.
// A key given back to the console comes first, then (mode bit 0x04) a stacked
// keystroke; then, when standard input is a terminal, the terminal's key
// reader with the attention sequence: the attention key followed by Q ends
// the program with code 254 when the break key is enabled, followed by C
// raises error 3001 when ON ERROR GOTO is armed (and is ignored otherwise),
// followed by any other key gives that key. Without a terminal one byte of
// standard input is read and brought into the system set (Zezir or MORKA, as
// the console's text conversion does), or on a wide console one UTF-8
// character; -1 when input has ended. Before the reader waits,
// every channel's output is handed to its file. With ON TIMEOUT set (trap
// bit 0x01) a terminal read waits at most its seconds, then the timeout trap
// fires (ConsoleWait.cpp). b_ConExit gives standard input and output back to
// the terminal when the program redirected them, and always standard error.
#include <velbra/ConsoleWait.h>
#include <velbra/Hooks.h>
#include <velbra/ErrorTrap.h>
#include <velbra/Events.h>
#include <velbra/Startup.h>
#include <morka/morka.h>

#include <cctype>
#include <cstdio>
#include <unistd.h>

namespace morka {

void b_ConInit() {}
void b_ConExit() {
    std::fflush(stdout);
    if (Term.bInRedirected) b_ConRedirect(stdin, "/dev/tty");
    if (Term.bOutRedirected) b_ConRedirect(stdout, "/dev/tty");
    std::fflush(stderr);
    if (!isatty(STDERR_FILENO) && ::access("/dev/tty", W_OK) == 0 && Term.bOutRedirected)
        b_ConRedirect(stderr, "/dev/tty");
}

namespace {

int s_TerminalKey() {
    int nSeconds = b_TimeoutSeconds();
    for (;;) {
        int iKey = TermServGetch(nSeconds);
        if (iKey < 0 && nSeconds > 0 && !Term.bStopInput) return b_TimeoutTrap();
        if (iKey == 0) {
            Term.bAttention = true;
            continue;
        }
        if (!Term.bAttention || iKey < 0) return iKey;
        Term.bAttention = false;
        int iUpper = iKey < 256 ? std::toupper(iKey) : iKey;
        if (iUpper == 'Q' && Morka.bBreak) b_Terminate(254);
        if (iUpper != 'C') return iKey;
        if (Error.bOnErrorGoto) throw 3001;
    }
}

// Standard input is a file or a pipe: one byte in the console's encoding,
// brought into the system set like every text read; on a wide console one
// UTF-8 character, brought into the system set too.
int s_RedirectedKey() {
    int c = std::getchar();
    if (c == EOF) return -1;
    QXFILE const* pConsole = &FileMngr.aFiles[0];
    if (!(pConsole->uFlags & UF_WIDE)) return t_chrconvin(pConsole, c);
    char ab[4] = {static_cast<char>(c)};
    int nNeed = 1 + t_utf8more(static_cast<unsigned char>(c));
    int n = 1;
    for (int d; n < nNeed && (d = std::getchar()) != EOF; ++n) ab[n] = static_cast<char>(d);
    char const* p = ab;
    int iKey = t_chrconvin(pConsole, static_cast<int>(t_utf8next(&p, ab + n)));
    // dialect quirk: outside the system sets a wide read keeps the low byte,
    // and the euro sign (U+20AC, low byte 172) reads as 231, the euro there.
    bool bSystemSet = Morka.iCharset == CHARSET_ZEZIR || Morka.iCharset == CHARSET_MORKA;
    return !bSystemSet && iKey == 172 ? 231 : iKey;
}

}  // namespace

int b_ConGetW(int mode) {
    int iKey = FileMngr.Console.ConGet();
    if (iKey >= 0) return iKey;
    if ((mode & 0x04) && t_StackReady()) return t_StackGet();
    // Waiting for a person: what the program wrote is handed to the files.
    t_FlushAll();
    if (isatty(STDIN_FILENO)) return s_TerminalKey();
    b_CheckAll();
    return s_RedirectedKey();
}

}  // namespace morka
