// Console: start and end of the console, and the one-key wait used after a
// fatal message under the full-screen terminal. In the plain stream mode the
// wait reads one byte of standard input; -1 when input has ended.
#include <velbra/Hooks.h>
#include <velbra/Events.h>

#include <cstdio>

namespace morka {

void b_ConInit() {}
void b_ConExit() { std::fflush(stdout); }

int b_ConGetW(int) {
    b_CheckAll();
    int c = std::getchar();
    return c == EOF ? -1 : c;
}

}  // namespace morka
