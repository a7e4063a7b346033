// PtyTerminal: runs a program on a pseudo-terminal for tests, plays the
// terminal's part with libvterm (an xterm-like emulator), and lets the test
// type keys and read the screen.
//
//   CPtyTerminal t(24, 80);                       // screen size
//   t.Start({"/path/prog", "arg"}, {"b_keys=..."});  // TERM=xterm-256color, LANG=C.UTF-8
//   ASSERT_TRUE(t.WaitFor("Name?"));              // pumps output until the text is on screen
//   t.Type("John");  t.Key(VTERM_KEY_ENTER);      // keys as the emulated terminal sends them
//   EXPECT_EQ(t.Row(3), "Hello John");
//   EXPECT_EQ(t.Wait(), 0);                       // exit code (128 + n for signal n)
//   EXPECT_TRUE(t.ModesRestored());               // tty modes as they were before the start
//
// Keys: Key() and Char() go through libvterm's keyboard, so cursor keys follow
// the application-cursor mode the program set, and modifiers come out in
// xterm's encoding. Send() writes raw bytes. The pty keeps its slave side open
// in the test, so its modes can still be read after the program has ended.
// The destructor kills a program still running. A program in full-screen
// mode 3 draws on the alternate screen, which is gone once it ends (and the
// last output may arrive together with its end): keep it waiting for a key
// while the test reads its screen.
#pragma once

#include <string>
#include <sys/types.h>
#include <termios.h>
#include <vector>
#include <vterm.h>

namespace morka::test {

class CPtyTerminal {
public:
    CPtyTerminal(int nRows = 24, int nCols = 80);
    ~CPtyTerminal();
    CPtyTerminal(CPtyTerminal const&) = delete;
    CPtyTerminal& operator=(CPtyTerminal const&) = delete;

    // Starts asArgs[0] (a path) with the arguments on the pty. The environment
    // is the test's own plus TERM=xterm-256color, LANG=C.UTF-8 and the leak
    // checker's suppressions of ncurses' lifelong memory (tests/support/
    // lsan.supp), then the "NAME=value" entries of asEnv (which may override
    // them; "NAME" alone removes NAME). Returns false when the program could
    // not be started.
    bool Start(std::vector<std::string> const& asArgs, std::vector<std::string> const& asEnv = {});

    // Input to the program.
    void Send(std::string const& sBytes);
    void Key(VTermKey eKey, VTermModifier eMod = VTERM_MOD_NONE);
    void Char(uint32_t uChar, VTermModifier eMod = VTERM_MOD_NONE);
    void Type(std::string const& sText);   // each byte as a key (ASCII text)

    // Changes the screen size (the program gets SIGWINCH).
    void Resize(int nRows, int nCols);

    // Reads the program's output for up to iMs milliseconds (returns early
    // once output has come and the program is quiet for a moment). True when
    // anything was read.
    bool Pump(int iMs = 200);
    // Pumps until the screen shows sText somewhere (or, with iRow >= 0, in
    // that row); false after iMs milliseconds.
    bool WaitFor(std::string const& sText, int iMs = 5000, int iRow = -1);

    // The screen: the text of a row (trailing blanks removed, UTF-8), all rows
    // joined with '\n', one cell, and the cursor.
    std::string Row(int iRow) const;
    std::string Screen() const;
    VTermScreenCell Cell(int iRow, int iCol) const;
    uint32_t CharAt(int iRow, int iCol) const;
    void Cursor(int& iRow, int& iCol) const;
    bool CursorVisible() const { return m_bCursorVisible; }
    int Bells() const { return m_nBells; }
    // Every byte the program wrote.
    std::string const& Output() const { return m_sOutput; }

    // Waits for the end of the program, pumping its output meanwhile. Returns
    // its exit code, 128 + n when signal n ended it, -1 after iMs ms.
    int Wait(int iMs = 10000);
    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // The pty's modes now and as they were before the program started; true
    // when the input, output, control and local modes match again.
    termios ModesNow() const;
    termios const& ModesAtStart() const { return m_tmStart; }
    bool ModesRestored() const;

private:
    void Feed(char const* p, std::size_t n);
    static void s_OutputCallback(char const* p, std::size_t n, void* pUser);
    static int s_SetTermProp(VTermProp eProp, VTermValue* pVal, void* pUser);
    static int s_Bell(void* pUser);

    int m_nRows;
    int m_nCols;
    int m_iMaster = -1;
    int m_iSlave = -1;
    pid_t m_pid = -1;
    int m_iStatus = 0;
    VTerm* m_pVt = nullptr;
    VTermScreen* m_pScreen = nullptr;
    termios m_tmStart{};
    bool m_bCursorVisible = true;
    int m_nBells = 0;
    std::string m_sOutput;
};

}  // namespace morka::test
