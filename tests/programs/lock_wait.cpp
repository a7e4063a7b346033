// Two programs and one file. "hold NAME SECONDS" opens NAME for output,
// leaves the flag file held.flag, keeps the file for SECONDS and closes it.
// "wait NAME LIMIT" runs OPTION LOCK LIMIT and opens NAME for output, then
// says how long that took or which error it met (ON ERROR GOTO);
// "waitfatal NAME LIMIT" does the same without ON ERROR.
#include <velbra.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

using namespace morka;

namespace {

double s_Now() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    if (argc < 4) b_Terminate(2);
    char const* pszName = argv[2];
    if (std::strcmp(argv[1], "hold") == 0) {
        Open(1, pszName, ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
        Print(1, "zp", "holder was here", 2);
        Open(2, "held.flag", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
        Close(2);
        sleep(static_cast<unsigned>(std::atoi(argv[3])));
        Close(1);
        b_Terminate(0);
    }
    static double tStart = 0;
    if (std::strcmp(argv[1], "wait") == 0 && setjmp(*OnErrorGoto(true))) {
        Printf("ERR=%d after %d s\n", iERR, static_cast<int>(s_Now() - tStart));
        b_ErrorResume();
        b_Terminate(1);
    }
    OptionLock(std::atoi(argv[3]));
    tStart = s_Now();
    Error.iLine = 10;
    Error.iSrcLine = 3;
    Open(1, pszName, ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
    Printf("opened after %d s\n", static_cast<int>(s_Now() - tStart));
    Print(1, "zp", "waiter wrote this", 2);
    Close(1);
    b_Terminate(0);
}
