// PtyTerminal: the pseudo-terminal test harness (see the header). The program
// runs in a child on a new pty (openpty, login_tty) with the screen size set; libvterm parses
// everything it writes, and whatever libvterm answers or sends for a key goes
// back to the program through the pty master.
#include "PtyTerminal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <utmp.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morka::test {

namespace {

using t_Clock = std::chrono::steady_clock;

int s_MsLeft(t_Clock::time_point tEnd) {
    auto n = std::chrono::duration_cast<std::chrono::milliseconds>(tEnd - t_Clock::now()).count();
    return n > 0 ? static_cast<int>(n) : 0;
}

}  // namespace

CPtyTerminal::CPtyTerminal(int nRows, int nCols) : m_nRows(nRows), m_nCols(nCols) {
    m_pVt = vterm_new(nRows, nCols);
    vterm_set_utf8(m_pVt, 1);
    vterm_output_set_callback(m_pVt, s_OutputCallback, this);
    m_pScreen = vterm_obtain_screen(m_pVt);
    static VTermScreenCallbacks const s_callbacks = {
        nullptr, nullptr, nullptr, s_SetTermProp, s_Bell, nullptr, nullptr, nullptr,
    };
    vterm_screen_set_callbacks(m_pScreen, &s_callbacks, this);
    vterm_screen_enable_altscreen(m_pScreen, 1);
    vterm_screen_reset(m_pScreen, 1);
}

CPtyTerminal::~CPtyTerminal() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_iMaster >= 0) close(m_iMaster);
    if (m_iSlave >= 0) close(m_iSlave);
    vterm_free(m_pVt);
}

bool CPtyTerminal::Start(std::vector<std::string> const& asArgs, std::vector<std::string> const& asEnv) {
    if (asArgs.empty() || m_pid > 0) return false;
    std::vector<std::string> asAll;
    for (char** pp = environ; *pp; ++pp) asAll.emplace_back(*pp);
    std::vector<std::string> asSet = {"TERM=xterm-256color", "LANG=C.UTF-8",
                                      "LSAN_OPTIONS=suppressions=" VELBRA_LSAN_SUPPRESSIONS};
    asSet.insert(asSet.end(), asEnv.begin(), asEnv.end());
    for (std::string const& sEntry : asSet) {
        std::string sName = sEntry.substr(0, sEntry.find('='));
        std::erase_if(asAll, [&](std::string const& s) { return s.compare(0, sName.size() + 1, sName + "=") == 0; });
        if (sEntry.find('=') != std::string::npos) asAll.push_back(sEntry);
    }
    std::vector<char*> apArgs, apEnv;
    for (std::string const& s : asArgs) apArgs.push_back(const_cast<char*>(s.c_str()));
    apArgs.push_back(nullptr);
    for (std::string const& s : asAll) apEnv.push_back(const_cast<char*>(s.c_str()));
    apEnv.push_back(nullptr);

    winsize ws{};
    ws.ws_row = static_cast<unsigned short>(m_nRows);
    ws.ws_col = static_cast<unsigned short>(m_nCols);
    int iMaster = -1, iSlave = -1;
    if (openpty(&iMaster, &iSlave, nullptr, nullptr, &ws) != 0) return false;
    tcgetattr(iSlave, &m_tmStart);
    pid_t pid = fork();
    if (pid < 0) {
        close(iMaster);
        close(iSlave);
        return false;
    }
    if (pid == 0) {
        close(iMaster);
        if (login_tty(iSlave) == 0) execve(apArgs[0], apArgs.data(), apEnv.data());
        _exit(127);
    }
    m_pid = pid;
    m_iMaster = iMaster;
    m_iSlave = iSlave;
    fcntl(m_iMaster, F_SETFL, fcntl(m_iMaster, F_GETFL) | O_NONBLOCK);
    return true;
}

void CPtyTerminal::Send(std::string const& sBytes) {
    std::size_t nDone = 0;
    while (nDone < sBytes.size()) {
        ssize_t n = write(m_iMaster, sBytes.data() + nDone, sBytes.size() - nDone);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            Pump(10);
            continue;
        }
        if (n <= 0) return;
        nDone += static_cast<std::size_t>(n);
    }
}

void CPtyTerminal::Key(VTermKey eKey, VTermModifier eMod) { vterm_keyboard_key(m_pVt, eKey, eMod); }

void CPtyTerminal::Char(uint32_t uChar, VTermModifier eMod) { vterm_keyboard_unichar(m_pVt, uChar, eMod); }

void CPtyTerminal::Type(std::string const& sText) {
    for (unsigned char c : sText) Char(c);
}

void CPtyTerminal::Resize(int nRows, int nCols) {
    m_nRows = nRows;
    m_nCols = nCols;
    vterm_set_size(m_pVt, nRows, nCols);
    winsize ws{};
    ws.ws_row = static_cast<unsigned short>(nRows);
    ws.ws_col = static_cast<unsigned short>(nCols);
    ioctl(m_iMaster, TIOCSWINSZ, &ws);
}

void CPtyTerminal::s_OutputCallback(char const* p, std::size_t n, void* pUser) {
    static_cast<CPtyTerminal*>(pUser)->Send(std::string(p, n));
}

int CPtyTerminal::s_SetTermProp(VTermProp eProp, VTermValue* pVal, void* pUser) {
    if (eProp == VTERM_PROP_CURSORVISIBLE) static_cast<CPtyTerminal*>(pUser)->m_bCursorVisible = pVal->boolean != 0;
    return 1;
}

int CPtyTerminal::s_Bell(void* pUser) {
    ++static_cast<CPtyTerminal*>(pUser)->m_nBells;
    return 1;
}

void CPtyTerminal::Feed(char const* p, std::size_t n) {
    m_sOutput.append(p, n);
    vterm_input_write(m_pVt, p, n);
}

bool CPtyTerminal::Pump(int iMs) {
    if (m_iMaster < 0) return false;
    bool bRead = false;
    t_Clock::time_point tEnd = t_Clock::now() + std::chrono::milliseconds(iMs);
    for (;;) {
        // Once output has come, a short quiet spell ends the pump.
        int iWait = bRead ? std::min(20, s_MsLeft(tEnd)) : s_MsLeft(tEnd);
        pollfd p{m_iMaster, POLLIN, 0};
        if (poll(&p, 1, iWait) <= 0 || !(p.revents & POLLIN)) break;
        char aBuf[4096];
        ssize_t n = read(m_iMaster, aBuf, sizeof aBuf);
        if (n <= 0) break;
        Feed(aBuf, static_cast<std::size_t>(n));
        bRead = true;
    }
    return bRead;
}

bool CPtyTerminal::WaitFor(std::string const& sText, int iMs, int iRow) {
    t_Clock::time_point tEnd = t_Clock::now() + std::chrono::milliseconds(iMs);
    for (;;) {
        std::string sHave = iRow >= 0 ? Row(iRow) : Screen();
        if (sHave.find(sText) != std::string::npos) return true;
        if (s_MsLeft(tEnd) == 0) return false;
        Pump(std::min(100, s_MsLeft(tEnd)));
    }
}

std::string CPtyTerminal::Row(int iRow) const {
    VTermRect rect{iRow, iRow + 1, 0, m_nCols};
    std::string s(static_cast<std::size_t>(m_nCols) * 4 * VTERM_MAX_CHARS_PER_CELL, '\0');
    s.resize(vterm_screen_get_text(m_pScreen, s.data(), s.size(), rect));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string CPtyTerminal::Screen() const {
    std::string s;
    for (int iRow = 0; iRow < m_nRows; ++iRow) {
        if (iRow) s += '\n';
        s += Row(iRow);
    }
    return s;
}

VTermScreenCell CPtyTerminal::Cell(int iRow, int iCol) const {
    VTermScreenCell cell{};
    VTermPos pos{iRow, iCol};
    vterm_screen_get_cell(m_pScreen, pos, &cell);
    return cell;
}

uint32_t CPtyTerminal::CharAt(int iRow, int iCol) const { return Cell(iRow, iCol).chars[0]; }

void CPtyTerminal::Cursor(int& iRow, int& iCol) const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(m_pVt), &pos);
    iRow = pos.row;
    iCol = pos.col;
}

int CPtyTerminal::Wait(int iMs) {
    if (m_pid <= 0) return m_iStatus;
    t_Clock::time_point tEnd = t_Clock::now() + std::chrono::milliseconds(iMs);
    for (;;) {
        int iStatus = 0;
        pid_t r = waitpid(m_pid, &iStatus, WNOHANG);
        if (r == m_pid) {
            m_pid = -1;
            Pump(50);
            m_iStatus = WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : 128 + WTERMSIG(iStatus);
            return m_iStatus;
        }
        if (s_MsLeft(tEnd) == 0) return -1;
        Pump(std::min(50, s_MsLeft(tEnd)));
    }
}

termios CPtyTerminal::ModesNow() const {
    termios tm{};
    tcgetattr(m_iSlave >= 0 ? m_iSlave : m_iMaster, &tm);
    return tm;
}

bool CPtyTerminal::ModesRestored() const {
    termios tm = ModesNow();
    return tm.c_iflag == m_tmStart.c_iflag && tm.c_oflag == m_tmStart.c_oflag &&
           tm.c_cflag == m_tmStart.c_cflag && tm.c_lflag == m_tmStart.c_lflag;
}

}  // namespace morka::test
