// Console: start and end of the console, and the one-key wait used after a
// fatal message under the full-screen terminal. In the plain stream mode the
// wait reads one byte of standard input; -1 when input has ended. b_ConWait
// is the plain-stream stand-in until the console line editor lands: it reads
// one byte on a terminal and pushes it back (no marker, no timeout).
#include <velbra/Hooks.h>
#include <velbra/Events.h>
#include <morka/FileMngr.h>

#include <cstdio>
#include <unistd.h>

namespace morka {

void b_ConInit() {}
void b_ConExit() { std::fflush(stdout); }

int b_ConGetW(int) {
    b_CheckAll();
    // Waiting for a person: what the program wrote is handed to the files.
    t_FlushAll();
    int c = std::getchar();
    return c == EOF ? -1 : c;
}

void b_ConWait(bool) {
    if (!isatty(STDIN_FILENO)) return;
    t_FlushAll();
    int c = std::getchar();
    if (c != EOF) std::ungetc(c, stdin);
}

}  // namespace morka
