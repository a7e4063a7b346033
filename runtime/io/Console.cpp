// Console: start and end of the console, and the key reader b_ConGetW.
// A key given back to the console comes first, then (mode bit 0x04) a stacked
// keystroke; then, when standard input is a terminal, the terminal's key
// reader with the attention sequence: the attention key followed by Q ends
// the program with code 254 when the break key is enabled, followed by C
// raises error 3001 when ON ERROR GOTO is armed (and is ignored otherwise),
// followed by any other key gives that key. Without a terminal one byte of
// standard input is read; -1 when input has ended. Before the reader waits,
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

}  // namespace

int b_ConGetW(int mode) {
    int iKey = FileMngr.Console.ConGet();
    if (iKey >= 0) return iKey;
    if ((mode & 0x04) && t_StackReady()) return t_StackGet();
    // Waiting for a person: what the program wrote is handed to the files.
    t_FlushAll();
    if (isatty(STDIN_FILENO)) return s_TerminalKey();
    b_CheckAll();
    int c = std::getchar();
    return c == EOF ? -1 : c;
}

}  // namespace morka
