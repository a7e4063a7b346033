// The ends of a program on a terminal, for the pseudo-terminal tests of
// tests/terminal: the argument picks the road.
//   normal     prints a line and ends with END (code 0)
//   fatal      a fatal error: message, a key under full screen, code 253
//   wait       prints "ready" and waits for a key (the test sends SIGTERM)
//   keys N     reads N keys with b_ConGetW(0) and prints each code
#include <velbra.h>

#include <cstdlib>
#include <cstring>

using namespace morka;

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    char const* pszMode = argc > 1 ? argv[1] : "";
    Error.pszFile = "term.bas";
    Error.pszProc = "main";
    if (std::strcmp(pszMode, "normal") == 0) {
        Printf("hello\n");
    } else if (std::strcmp(pszMode, "fatal") == 0) {
        Printf("before\n");
        Error.pszLine = "150";
        Error.iSrcLine = 12;
        b_StatementFrame(0, [] { throw 3029; });
        Printf("after: must not happen\n");
    } else if (std::strcmp(pszMode, "wait") == 0) {
        Printf("ready\n");
        int iKey = b_ConGetW(0);
        Printf("key %d: must not happen\n", iKey);
    } else if (std::strcmp(pszMode, "keys") == 0) {
        Printf("ready\n");
        for (int n = argc > 2 ? std::atoi(argv[2]) : 1; n > 0; --n) Printf("key %d\n", b_ConGetW(0));
    }
    b_Terminate(0);
}
