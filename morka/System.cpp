// System: start and end of the system layer.
// t_Init reads the settings from the environment (b_break: 0 disables the
// break key; b_privlev: privilege level), sets up the channel table with the
// console, fills the keyboard stack (b_keys, b_keyfile), takes the program's
// task number from the process table and starts the terminal last, so that a
// failed start never leaves a full-screen terminal behind. The terminal mode
// is b_termmode (1 stream, 2 direct, 3 ncurses; default 3, which TermInit
// turns into 1 when standard input or output is no terminal or TERM does not
// describe one with cursor addressing). The mode argument (2, or 3 for a
// debug build) is kept; the count returned is argc itself, so the run-time's
// CMDARGS is argc - 1.
#include <morka/morka.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace morka {

std::vector<CBString> t_asCmdargs;
long b_lArrayBase = 0;
bool b_bLogical = false;
CBString t_sMorkaFname;
CBString t_sLinuxFname;

void t_TaskAttach(char const* pszName);

namespace {
int s_iMode = 0;
bool s_bStarted = false;
}  // namespace

int getintenv(char const* pszName, int iDefault) {
    char const* psz = pszName ? std::getenv(pszName) : nullptr;
    if (!psz) return iDefault;
    char* pEnd = nullptr;
    long n = std::strtol(psz, &pEnd, 10);
    if (pEnd == psz) return iDefault;
    return static_cast<int>(n);
}

int getpriv() { return getintenv("b_privlev", 0); }

int t_Init(int argc, char** argv, int mode, bool linked) {
    (void)linked;
    s_iMode = mode;
    t_asCmdargs.clear();
    for (int i = 0; i < argc && argv && argv[i]; ++i) t_asCmdargs.emplace_back(argv[i]);
    if (t_asCmdargs.empty()) t_asCmdargs.emplace_back("");

    Morka.bBreak = getintenv("b_break", 1) != 0;
    Morka.pszTaskName = argv && argv[0] ? argv[0] : "";
    t_InitFiles();
    t_StackInit();
    t_TaskAttach(Morka.pszTaskName);
    Term.iCharset = Morka.iCharset;
    TermInit(getintenv("b_termmode", TERM_CURSES));
    s_bStarted = true;
    return static_cast<int>(t_asCmdargs.size());
}

void t_Exit() {
    if (!s_bStarted) return;
    s_bStarted = false;
    try {
        t_CloseAll();
    } catch (int) {
        // Nobody is left to report a failed last write to.
    }
    TermExit();
    std::fflush(stdout);
}

void t_Terminate(int code) {
    std::fflush(nullptr);
    _exit(code);
}

}  // namespace morka
