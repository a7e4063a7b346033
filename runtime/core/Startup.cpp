// Startup: b_Init, the exit clean-up, b_Terminate, signals and ON EXIT.
// The clean-up (Exit) runs exactly once whichever road ends the program: it is
// registered with atexit and also called by b_Terminate, guarded by
// s_bExitDone. t_Terminate ends the process with _exit after flushing, so a
// signal that arrives in the middle of library code does not rerun atexit.
#include <velbra/Startup.h>
#include <velbra/Debug.h>
#include <velbra/ErrorTrap.h>
#include <velbra/Events.h>
#include <velbra/Hooks.h>
#include <morka/morka.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <unistd.h>

namespace morka {

static_assert(sizeof(jmp_buf) == 200, "a GOSUB entry is one 200-byte jump buffer");

char const b_szVersion[] = "26.01.15";
char const b_szBanner[] = "Velbra Runtime 26.01.15";

char* b_ReservedNew = nullptr;
void* b_ReservedMalloc = nullptr;
jmp_buf* b_gosub_stack = nullptr;
uint16_t b_gosub_calls = 0;
uint16_t b_gosub_max = 0;
bool b_bOnExitGoto = false;
jmp_buf b_exit_goto;
int (*b_OnExitCall)() = nullptr;
int CMDARGS = 0;
bool b_bUseLink = false;
int CSI_RETURN_CODE = 0;
int CALL_RETURN_VALUE = 0;

namespace {

bool s_bExitDone = false;

[[noreturn]] void s_StartupOutOfMemory() {
    std::perror("b_Init");
    std::exit(12);
}

void s_Install(int sig, void (*handler)(int)) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;
    sigaction(sig, &sa, nullptr);
}

void s_DropRootEffectiveId() {
    uid_t ruid = 0, euid = 0, suid = 0;
    if (getresuid(&ruid, &euid, &suid) != 0) return;
    // The saved id keeps root so the program can take it back where needed.
    if (euid == 0 && ruid != 0) (void)!seteuid(ruid);
}

}  // namespace

bool b_Init(int argc, char** argv, bool flag) {
    b_ReservedNew = new (std::nothrow) char[1024];
    b_gosub_max = 32;
    b_gosub_calls = 0;
    b_gosub_stack = static_cast<jmp_buf*>(std::malloc(b_gosub_max * sizeof(jmp_buf)));
    if (!b_ReservedNew || !b_gosub_stack) s_StartupOutOfMemory();
    b_ReservedMalloc = std::malloc(1024);
    if (!b_ReservedMalloc) s_StartupOutOfMemory();

    s_DropRootEffectiveId();
    Morka.sPrompt = "? ";

    s_Install(SIGQUIT, b_Signal);
    s_Install(SIGTERM, b_Signal);
    s_Install(SIGSEGV, b_Signal);
    s_Install(SIGFPE, b_Sigfpe);
    s_Install(SIGCHLD, SIG_DFL);
    tzset();

    bool bLinking = b_bUseLink || getintenv("b_qxlink", 0) != 0;
    int nArgs = 0;
    try {
        nArgs = t_Init(argc, argv, 2 + (flag ? 1 : 0), bLinking);
    } catch (int n) {
        std::fprintf(stderr, "%s\n", t_strerror(n));
        t_Exit();
        std::exit(1);
    }
    CMDARGS = nArgs - 1;
    s_Install(SIGINT, Morka.bBreak ? b_Signal : SIG_IGN);

    if (bLinking) b_GetLinks();
    b_ErrorInit();
    b_ConInit();
    b_CommonGet();
    b_EventInit();
    b_OnKeyInit();
    b_MtaskInit();
    std::atexit(Exit);
    return true;
}

void Exit() {
    if (s_bExitDone) return;
    s_bExitDone = true;
    b_EventExit();
    b_OnKeyExit();
    b_MtaskExit();
    b_ConExit();
    t_Exit();
    DBG.Exit();
    std::free(b_gosub_stack);
    b_gosub_stack = nullptr;
    b_gosub_calls = b_gosub_max = 0;
    std::free(b_ReservedMalloc);
    b_ReservedMalloc = nullptr;
    delete[] b_ReservedNew;
    b_ReservedNew = nullptr;
}

void b_Terminate(int code) {
    if (code < 253) {
        if (b_bOnExitGoto) {
            Error.iTrap = 6;
            if (DBG.bActive) DBG.OnExitPush(Error.pszFile, Error.iSrcLine);
            longjmp(b_exit_goto, 1);
        }
        if (b_OnExitCall && b_OnExitCall() == 2) return;
    }
    b_CommonClear();
    Exit();
    t_Terminate(code);
}

void b_Signal(int sig) {
    if (sig == SIGINT || sig == SIGQUIT || sig == SIGTERM) b_Terminate(254);
    b_Terminate(200 + sig);
}

jmp_buf* OnExitGoto(bool on) {
    b_bOnExitGoto = on;
    b_OnExitCall = nullptr;
    return &b_exit_goto;
}

void OnExitCall(int (*handler)()) {
    b_bOnExitGoto = false;
    b_OnExitCall = handler;
}

}  // namespace morka
