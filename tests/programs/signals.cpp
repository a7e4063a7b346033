// Signals end the program through the clean-up: SIGTERM with 254, SIGSEGV
// with 211, an integer division by zero with "Division by zero" and 253 even
// under ON ERROR GOTO. The argument picks the scenario.
#include <velbra.h>

#include <csignal>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

using namespace morka;

static int s_nCleanups = 0;
static int OnExitHandler() { return 0; }

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    char const* pszMode = argc > 1 ? argv[1] : "";
    OnExitCall(OnExitHandler);
    if (std::strcmp(pszMode, "term") == 0) {
        Printf("ready\n");
        raise(SIGTERM);
        pause();
    } else if (std::strcmp(pszMode, "segv") == 0) {
        // A real fault: read a page that allows no access.
        void* pPage = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        s_nCleanups = *static_cast<volatile int*>(pPage);
    } else if (std::strcmp(pszMode, "divzero") == 0) {
        if (setjmp(*OnErrorGoto(true))) {
            Printf("trapped: must not happen\n");
            return 1;
        }
        Error.iLine = 40;
        Error.iSrcLine = 4;
        volatile int iZero = 0;
        CInt32 n = 10 / iZero;
        Printf("n=%d must not happen\n", int(n));
    }
    return s_nCleanups;
}
