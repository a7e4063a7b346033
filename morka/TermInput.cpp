// TermInput: the key reader. Full-screen modes take raw keys from the screen
// driver; mode 1 reads bytes from standard input, switching a terminal to
// unbuffered input without echo (LF, what the Enter key gives there, becomes
// 13; on a UTF-8 terminal a character above 127 becomes its byte of the
// system set, as in the full-screen modes). That key mode stays on from the first key an entry waits for until the
// next look between statements or the end of the program: keys typed between
// two reads of one entry must never meet the line discipline, which would
// swallow an erase key together with the key before it. The attention key of
// the full-screen modes is the byte Term.iAttentionKey (b_attnkey, default 3:
// Ctrl-C, which raises no signal in raw mode); a typed NUL is dropped so that
// 0 always means attention. A keyboard that reports end of file or hang-up
// sets Term.bStopInput: reads then give -1 at once instead of waiting for
// ever.
#include "TermImpl.h"

#include <morka/CharsetConv.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace morka {

namespace {

std::deque<int> s_aKept;   // keys read ahead by TermKeyReady

// Mode 1: tty modes in force before a read changed them.
termios s_tmStream;
volatile sig_atomic_t s_bStreamModes = 0;

int s_PollIn(int iFd, int iMs) {
    pollfd p{iFd, POLLIN, 0};
    int n = poll(&p, 1, iMs);
    if (n < 0) return errno == EINTR ? RAWKEY_NONE : RAWKEY_EOF;
    if (n == 0) return RAWKEY_NONE;
    if ((p.revents & POLLIN) == 0) return RAWKEY_EOF;
    return 0;
}

int s_ReadByte() {
    unsigned char c = 0;
    ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n == 1) return c == '\n' ? 13 : c;
    return n < 0 && errno == EINTR ? RAWKEY_NONE : RAWKEY_EOF;
}

// A UTF-8 terminal sends a character above 127 as one sequence: the bytes
// after its lead byte come at once (a short wait covers a slow line). The
// character becomes its byte of the system set; one the set lacks is no key.
int s_Utf8Key(int iLead) {
    int nNeed = t_utf8more(static_cast<unsigned char>(iLead));
    char ab[4] = {static_cast<char>(iLead)};
    int n = 1;
    for (; nNeed > 0 && s_PollIn(STDIN_FILENO, 50) == 0; --nNeed) {
        int c = s_ReadByte();
        if (c < 0) break;
        ab[n++] = static_cast<char>(c);
    }
    char const* p = ab;
    int iKey = t_TermFromUnicode(static_cast<uint32_t>(t_utf8next(&p, ab + n)));
    return iKey >= 0 ? iKey : RAWKEY_SKIP;
}

int s_StreamKey(int iMs) {
    // A look without waiting keeps the tty modes: the poll between
    // statements must stay cheap, and then only whole lines count as typed.
    if (iMs == 0) {
        t_TermRestoreStreamKeys();
        int iReady = s_PollIn(STDIN_FILENO, 0);
        return iReady == 0 ? s_ReadByte() : iReady;
    }
    if (!s_bStreamModes && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &s_tmStream) == 0) {
        termios tm = s_tmStream;
        tm.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        tm.c_cc[VMIN] = 1;
        tm.c_cc[VTIME] = 0;
        s_bStreamModes = 1;
        tcsetattr(STDIN_FILENO, TCSANOW, &tm);
    }
    int iKey = s_PollIn(STDIN_FILENO, iMs);
    if (iKey == 0) iKey = s_ReadByte();
    return iKey >= 0x80 && Term.bUtf8In ? s_Utf8Key(iKey) : iKey;
}

int s_RawKey(int iMs) {
    int iKey = t_pScreen ? t_pScreen->ReadKey(iMs) : s_StreamKey(iMs);
    if (iKey == 0) return RAWKEY_SKIP;
    if (t_pScreen && iKey == Term.iAttentionKey) return 0;
    return iKey;
}

}  // namespace

void t_TermRestoreStreamKeys() {
    if (!s_bStreamModes) return;
    tcsetattr(STDIN_FILENO, TCSANOW, &s_tmStream);
    s_bStreamModes = 0;
}

void t_TermForgetKeys() { s_aKept.clear(); }

int TermServGetch(int iWait) {
    if (!s_aKept.empty()) {
        int iKey = s_aKept.front();
        s_aKept.pop_front();
        return iKey;
    }
    if (Term.bStopInput) return -1;
    CTermBusy busy;
    if (t_pScreen) {
        t_bTermHold = false;
        t_pScreen->Update(Term.aWins[Term.iActive]);
    } else {
        std::fflush(stdout);
    }
    using t_Clock = std::chrono::steady_clock;
    t_Clock::time_point tEnd = t_Clock::now() + std::chrono::seconds(iWait > 0 ? iWait : 0);
    for (;;) {
        int iMs = -1;
        if (iWait < 0) {
            iMs = 0;
        } else if (iWait > 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(tEnd - t_Clock::now()).count();
            iMs = left > 0 ? static_cast<int>(left) : 0;
        }
        int iKey = s_RawKey(iMs);
        if (iKey >= 0) return iKey;
        if (iKey == RAWKEY_EOF) {
            Term.bStopInput = true;
            return -1;
        }
        if (iKey == RAWKEY_RESIZE) t_TermFitScreen();
        // Nothing usable came: go on while time is left.
        if (iWait < 0 || (iWait > 0 && t_Clock::now() >= tEnd)) return -1;
    }
}

bool TermKeyReady() {
    if (!s_aKept.empty()) return true;
    if (Term.bStopInput) return false;
    CTermBusy busy;
    for (;;) {
        int iKey = s_RawKey(0);
        if (iKey >= 0) {
            s_aKept.push_back(iKey);
            return true;
        }
        if (iKey == RAWKEY_EOF) Term.bStopInput = true;
        if (iKey == RAWKEY_RESIZE) {
            t_TermFitScreen();
            continue;
        }
        if (iKey != RAWKEY_SKIP) return false;
    }
}

}  // namespace morka
