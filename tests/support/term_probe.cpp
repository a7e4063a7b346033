// term_probe: a program on the system layer alone that the terminal tests run
// on a pseudo-terminal. It starts the system layer (the terminal mode comes
// from b_termmode), runs its arguments as commands in order, and ends with
// t_Exit. Commands:
//   w:HEX   write the bytes (hex pairs) with TermWrite, then TermRefresh
//   k:N     read N keys with TermServGetch(0); print "K<i>=<hex>/<TermConvIn>"
//   t:S     TermServGetch(S); print "T=<result>"
//   r       print "R=<1 when TermKeyReady>"
//   c       print "C=<row>,<column>,<shape>"
//   m       print "M=<mode>"
//   u:N     TermSetCursor(N)
//   x:COL   TermColor(fg, bg, fg2, bg2) from four digits
//   z:MS    sleep MS milliseconds
//   l       print "L=<TermLine>x<TermPage>"
//   s:N     TermSuspend(N != 0)
//   f       a child process (fork) runs t_Exit and ends; print "F=<its status>"
//   a       abort()
// Printed lines end with CR and go through TermPrintf.
#include <morka/morka.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace morka;

namespace {

std::string s_Bytes(char const* pszHex) {
    std::string s;
    for (std::size_t i = 0; pszHex[i] && pszHex[i + 1]; i += 2) {
        char aPair[3] = {pszHex[i], pszHex[i + 1], 0};
        s += static_cast<char>(std::strtol(aPair, nullptr, 16));
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    t_Init(argc, argv, 2, false);
    for (int i = 1; i < argc; ++i) {
        char const* psz = argv[i];
        char const* pszArg = std::strlen(psz) > 2 ? psz + 2 : "";
        switch (psz[0]) {
        case 'w': {
            std::string s = s_Bytes(pszArg);
            TermWrite(s.data(), static_cast<int>(s.size()));
            TermRefresh();
            break;
        }
        case 'k':
            for (int n = 0, nKeys = std::atoi(pszArg); n < nKeys; ++n) {
                int iKey = TermServGetch(0);
                TermPrintf("K%d=%x/%d\r", n, static_cast<unsigned>(iKey), TermConvIn(iKey));
            }
            break;
        case 't':
            TermPrintf("T=%d\r", TermServGetch(std::atoi(pszArg)));
            break;
        case 'r':
            TermPrintf("R=%d\r", TermKeyReady() ? 1 : 0);
            break;
        case 'c': {
            int iRow = 0, iCol = 0, iShape = 0;
            TermGetCursor(iRow, iCol, iShape);
            TermPrintf("C=%d,%d,%d\r", iRow, iCol, iShape);
            break;
        }
        case 'm':
            TermPrintf("M=%d\r", Term.iMode);
            break;
        case 'u':
            TermSetCursor(std::atoi(pszArg));
            TermRefresh();
            break;
        case 'x':
            if (std::strlen(pszArg) == 4) TermColor(pszArg[0] - '0', pszArg[1] - '0', pszArg[2] - '0', pszArg[3] - '0');
            break;
        case 'l':
            TermPrintf("L=%dx%d\r", TermLine(), TermPage());
            break;
        case 's':
            TermSuspend(std::atoi(pszArg) != 0);
            break;
        case 'z':
            usleep(static_cast<useconds_t>(std::atoi(pszArg)) * 1000);
            break;
        case 'f': {
            pid_t pid = fork();
            if (pid == 0) {
                t_Exit();
                _exit(7);
            }
            int iStatus = 0;
            waitpid(pid, &iStatus, 0);
            TermPrintf("F=%d\r", WEXITSTATUS(iStatus));
            break;
        }
        case 'a':
            std::abort();
        }
    }
    t_Exit();
    return 0;
}
