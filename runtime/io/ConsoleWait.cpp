// ConsoleWait: WAIT on the console (with and without the marker '^'), the
// ON TIMEOUT statements and their trap, COLOR and b_ConRedirect. While
// nothing is typed the waits poll events every 10 ms (the stream
// terminal: every second) (a bare sched_yield
// loop would keep a processor busy). The timeout applies to the CALL form
// too (trap bit 0x01 with a handler installed), not only to the GOTO form.
// A stacked printable key ends WAIT at once and stays for the next input
// (waiting on would never end without a limit).
#include <velbra/ConsoleWait.h>
#include <velbra/ErrorTrap.h>
#include <velbra/Events.h>
#include <velbra/Hooks.h>
#include <morka/morka.h>

#include <ctime>
#include <unistd.h>

namespace morka {

int (*pOnTimeoutCall)() = nullptr;
jmp_buf jmpTimeoutGoto;

void OnTimeoutCall(int seconds, int (*handler)()) {
    Term.iTimeout = seconds;
    if (seconds == 0) {
        pOnTimeoutCall = nullptr;
        b_iOnSignalsTraps &= ~0x01;
        return;
    }
    pOnTimeoutCall = handler;
    b_iOnSignalsTraps |= 0x01;
    b_bOnTimeoutGoto = false;
}

jmp_buf* OnTimeoutGoto(int seconds, bool on) {
    pOnTimeoutCall = nullptr;
    if (seconds != 0 || on) {
        b_iOnSignalsTraps |= 0x01;
        b_bOnTimeoutGoto = true;
        Term.iTimeout = seconds;
    } else {
        b_iOnSignalsTraps &= ~0x01;
        b_bOnTimeoutGoto = false;
        Term.iTimeout = 0;
    }
    return &jmpTimeoutGoto;
}

void OnTimeoutOn(bool on) {
    b_CheckAll();
    if (on) b_iOnSignalsTraps |= 0x01;
    else b_iOnSignalsTraps &= ~0x01;
}

int b_TimeoutSeconds() {
    if (!(b_iOnSignalsTraps & 0x01) || !(b_bOnTimeoutGoto || pOnTimeoutCall)) return 0;
    return Term.iTimeout > 0 ? Term.iTimeout : 0;
}

int b_TimeoutTrap() {
    if (pOnTimeoutCall) return pOnTimeoutCall();
    Error.iTrap = 2;
    longjmp(jmpTimeoutGoto, 1);
}

namespace {

constexpr useconds_t s_kPollUs = 10000;

double s_Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// True when a key can be read. The stream terminal delivers keys only while
// it is being read, so there the check reads for up to a second itself.
bool s_Ready() {
    if (Term.iMode == TERM_STREAM && !FileMngr.Console.ConReady() && !Term.bStopInput) {
        int iKey = TermServGetch(1);
        if (iKey >= 0) FileMngr.Console.ConUngetW(iKey);
    }
    return FileMngr.Console.ConReady();
}

// Waits for a control key or the blank; printable keys are consumed and
// ignored. False when seconds (> 0) passed without one.
bool s_WaitKey(int seconds) {
    double tEnd = s_Now() + seconds;
    for (;;) {
        if (s_Ready()) {
            if (t_StackReady()) {
                if (t_StackPeek() > 32) return true;
                t_StackGet();
                return true;
            }
            int iKey = TermConvIn(b_ConGetW(3));
            if (iKey < 33) return true;
            continue;
        }
        if (Term.bStopInput) return true;
        b_CheckAll();
        if (seconds > 0 && s_Now() >= tEnd) return false;
        usleep(s_kPollUs);
    }
}

}  // namespace

void b_ConWait(bool withMarker) {
    if (Term.bStopInput || !isatty(STDIN_FILENO)) return;
    int nSeconds = b_TimeoutSeconds();
    t_FlushAll();
    if (!withMarker) {
        double tEnd = s_Now() + nSeconds;
        for (;;) {
            if (s_Ready()) {
                int iKey = TermConvIn(b_ConGetW(4));
                if (iKey > 0) {
                    FileMngr.Console.ConUngetW(iKey);
                    return;
                }
                if (iKey < 0) return;
                continue;
            }
            if (Term.bStopInput) return;
            b_CheckAll();
            if (nSeconds > 0 && s_Now() >= tEnd) {
                b_TimeoutTrap();
                return;
            }
            usleep(s_kPollUs);
        }
    }
    bool bKey;
    if (Term.iMode == TERM_STREAM) {
        TermWrite("\r^\r");
        TermRefresh();
        bKey = s_WaitKey(nSeconds);
        if (bKey) TermPut('\b');
    } else {
        CTermWin* pWin = TermGetWin();
        int iRow = 0, iCol = 0, iShape = 0;
        TermGetCursor(iRow, iCol, iShape);
        int iLast = pWin ? pWin->nHeight - 1 : 0;
        TermMove(iLast, 0);
        TermPut('^');
        TermMove(iLast, 0);
        TermSetCursor(2);
        TermRefresh();
        bKey = s_WaitKey(nSeconds);
        TermMove(iLast, 0);
        TermPut(' ');
        TermMove(iRow, iCol);
        TermSetCursor(iShape);
    }
    TermRefresh();
    if (!bKey && nSeconds > 0) b_TimeoutTrap();
}

void Color(int fg, int bg, int fg2, int bg2) {
    if (Term.iMode == TERM_STREAM) return;
    TermColor(fg, bg, fg2, bg2);
}

void b_ConRedirect(FILE* stream, char const* path) {
    bool bIn = stream == stdin;
    char const* pszMode = bIn ? "r" : "w";
    FILE* pNew = path ? std::freopen(path, pszMode, stream) : nullptr;
    if (!pNew) pNew = std::freopen("/dev/tty", pszMode, stream);
    if (!pNew) pNew = std::freopen("/dev/null", pszMode, stream);
    if (!pNew || stream == stderr) return;
    QXFILE& con = FileMngr.aFiles[0];
    int eType = isatty(fileno(stream)) ? DEV_TERMINAL : DEV_DISK;
    bool bRedirected = eType != DEV_TERMINAL;
    if (bIn) {
        con.eInDevType = eType;
        TermRedirectIn(bRedirected);
    } else {
        con.eDevType = eType;
        TermRedirectOut(bRedirected);
    }
}

}  // namespace morka
