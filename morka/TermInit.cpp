// TermInit: starting, suspending and leaving the terminal modes.
// The full-screen modes work on their own duplicates of the standard input
// and output descriptors, so that a program redirecting its standard streams
// keeps its screen. They switch LC_CTYPE to the user's locale (the character
// encoding of the terminal). Leaving a full-screen mode restores the tty as
// it was found; TermExit runs from t_Exit, from an atexit handler and from a
// SIGABRT handler, whichever comes first. When it runs on a signal's road
// while a terminal call was interrupted, it does only what is safe there:
// the reset bytes and the saved tty modes, both kept ready since the start.
// A child process (fork) that inherited a full-screen terminal leaves it to
// its parent: its TermExit forgets the terminal without touching the tty.
#include "TermImpl.h"

#include <morka/System.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace morka {

namespace {

pid_t s_pidOwner = 0;       // the process that took over the terminal
int s_iTtyIn = -1;
int s_iTtyOut = -1;
termios s_tmSaved;
char s_aReset[512];
std::size_t s_nReset = 0;
volatile sig_atomic_t s_bLeaving = 0;
bool s_bHandlers = false;

void s_OnAbort(int) {
    TermExit();
    std::signal(SIGABRT, SIG_DFL);
    std::raise(SIGABRT);
}

void s_InstallHandlers() {
    if (s_bHandlers) return;
    s_bHandlers = true;
    std::atexit([] { TermExit(); });
    struct sigaction sa {};
    if (sigaction(SIGABRT, nullptr, &sa) == 0 && sa.sa_handler == SIG_DFL) std::signal(SIGABRT, s_OnAbort);
}

void s_StreamSize(int& nRows, int& nCols) {
    winsize ws{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0) {
        nRows = ws.ws_row;
        nCols = ws.ws_col;
        return;
    }
    nRows = getintenv("LINES", 24);
    nCols = getintenv("COLUMNS", 80);
}

void s_ResetWindows() {
    for (CTermWin& w : Term.aWins) w = CTermWin{};
    Term.iActive = 0;
    Term.iColumn = 0;
    Term.bLastWasCR = false;
    Term.bStopInput = false;
    Term.bAttention = false;
    Term.iCursor = 1;
    t_TermOutReset();
    t_TermForgetKeys();
}

bool s_StartScreen(int iMode) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
    std::setlocale(LC_CTYPE, "");
    int iIn = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    int iOut = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (iIn < 0 || iOut < 0 || tcgetattr(iIn, &s_tmSaved) != 0) {
        if (iIn >= 0) close(iIn);
        if (iOut >= 0) close(iOut);
        return false;
    }
    CScreenDriver* pDriver = iMode == TERM_DIRECT ? t_NewDirectDriver() : t_NewCursesDriver();
    if (!pDriver->Start(iIn, iOut)) {
        delete pDriver;
        return false;
    }
    std::string sReset = pDriver->ResetBytes();
    s_nReset = std::min(sReset.size(), sizeof s_aReset);
    std::memcpy(s_aReset, sReset.data(), s_nReset);
    s_iTtyIn = iIn;
    s_iTtyOut = iOut;
    s_pidOwner = getpid();
    t_pScreen = pDriver;
    return true;
}

}  // namespace

void t_TermFitScreen() {
    CTermWin& w = Term.aWins[0];
    int nRows = 24, nCols = 80;
    if (t_pScreen)
        t_pScreen->Size(nRows, nCols);
    else
        s_StreamSize(nRows, nCols);
    w.bOpen = true;
    w.iLeft = w.iTop = 0;
    w.nHeight = std::max(nRows, 1);
    w.nWidth = std::max(nCols, 1);
    w.iRow = std::min(w.iRow, w.nHeight - 1);
    w.iColumn = std::min(w.iColumn, w.nWidth);
    if (t_pScreen) t_pScreen->Place(w);
}

int TermInit(int iMode) {
    TermExit();
    s_ResetWindows();
    Term.iAttentionKey = getintenv("b_attnkey", 3) & 0xFF;
    Term.iMode = TERM_STREAM;
    if ((iMode == TERM_DIRECT || iMode == TERM_CURSES) && s_StartScreen(iMode)) {
        Term.iMode = iMode;
        s_InstallHandlers();
    }
    t_TermFitScreen();
    t_TermStreamEncoding();
    if (t_pScreen) {
        CTermBusy busy;
        t_pScreen->ClearEos(Term.aWins[0], 0, 0);
        t_pScreen->CursorShape(Term.iCursor);
        t_pScreen->Update(Term.aWins[0]);
    }
    return Term.iMode;
}

void TermExit() {
    t_TermRestoreStreamKeys();
    if (!t_pScreen || s_bLeaving) return;
    s_bLeaving = 1;
    CScreenDriver* pDriver = t_pScreen;
    t_pScreen = nullptr;
    Term.iMode = TERM_STREAM;
    if (getpid() != s_pidOwner) {
        // The parent still owns the screen and the tty modes.
        close(s_iTtyIn);
        close(s_iTtyOut);
    } else if (t_iTermBusy > 0) {
        // The driver was interrupted: its state is not to be trusted.
        ssize_t n = write(s_iTtyOut, s_aReset, s_nReset);
        (void)n;
        tcsetattr(s_iTtyIn, TCSANOW, &s_tmSaved);
    } else {
        pDriver->Stop();
        delete pDriver;
        for (int i = 1; i <= TERM_MAX_WIN; ++i) Term.aWins[i] = CTermWin{};
        Term.iActive = 0;
        Term.iColumn = 0;
        t_TermOutReset();
        t_TermForgetKeys();
        t_TermFitScreen();
    }
    s_iTtyIn = s_iTtyOut = -1;
    s_bLeaving = 0;
}

void TermSuspend(bool bResume) {
    if (!t_pScreen) return;
    CTermBusy busy;
    if (bResume)
        t_pScreen->Resume();
    else
        t_pScreen->Suspend();
}

}  // namespace morka
