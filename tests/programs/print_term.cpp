// PRINT on the console when it is a terminal (tests/io/PrintTerminal_test
// runs it on a pseudo-terminal): zones and TAB go through the terminal's own
// cursor, and the program waits for a key so that the screen can be read.
#include <velbra.h>

using namespace morka;

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    Print("zpzp", "a", 1, "b", 2);
    Print("\tzp", 30, "c", 2);
    Print("ipdpzp", 5, 0, static_cast<dfp_t>(-2.5), 1, "x", 2);
    Print("zp", "col", 0);
    Printf("%d\n", Pos(0));
    Print("zp", "done", 2);
    b_ConGetW(0);
    b_Terminate(0);
}
