// Console: start and end of the console, and the key reader b_ConGetW.
// A key given back to the console comes first, then (mode bit 0x04) a stacked
// keystroke; then, when standard input is a terminal, the terminal's key
// reader with the attention sequence: the attention key followed by Q ends
// the program with code 254 when the break key is enabled, followed by C
// raises error 3001 when ON ERROR GOTO is armed (and is ignored otherwise),
// followed by any other key gives that key. Without a terminal one byte of
// standard input is read; -1 when input has ended. Before the reader waits,
// every channel's output is handed to its file. b_ConWait is a stand-in until
// the console waits land: it reads one key on a terminal and gives it back
// to the console (no marker, no timeout).
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
void b_ConExit() { std::fflush(stdout); }

namespace {

int s_TerminalKey() {
    for (;;) {
        int iKey = TermServGetch(0);
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

void b_ConWait(bool) {
    if (!isatty(STDIN_FILENO)) return;
    int iKey = b_ConGetW(0);
    if (iKey >= 0) FileMngr.Console.ConUngetW(iKey);
}

}  // namespace morka
