// Bad input on channels reaches ON ERROR GOTO with its BASIC number and the
// program goes on; PRINT on the (redirected) console; what a program wrote
// to a file before a fatal error is in the file when it has ended.
#include <velbra.h>

using namespace morka;

namespace {

void s_Steps(int iStep) {
    switch (iStep) {
    case 0: Open(300, "x.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0); break;
    case 1: Open(1, "PRT7", ORG_SEQUENTIAL, ACC_OUTPUT, 0); break;
    case 2: Open(1, "CON", ORG_KEYED, ACC_OUTPUT, 0); break;
    case 3: Open(1, "x.txt", static_cast<t_FileOrg>(0x20), ACC_OUTPUT, 0); break;
    case 4: Open(1, "gone.txt", ORG_SEQUENTIAL, ACC_INPUT, 0); break;
    case 5: Print(2, "z", "x"); break;
    case 6:
        Open(1, "@/dev/full", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
        Print(1, "zp", "x", 2);
        break;
    case 7: Close(1); break;
    case 8: Erase("gone.txt"); break;
    case 9: {
        CBString sName("Ann");
        Print("zpspdp", "name", 1, &sName, 1, static_cast<dfp_t>(-2.5), 2);
        Open(1, "report.txt", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
        Print(1, "zp", "line 1", 2);
        Print(1, "zp", "line 2", 0);
        break;
    }
    case 10: Open(2, "   ", ORG_SEQUENTIAL, ACC_OUTPUT, 0); break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    // A static survives the jump back from the error trap.
    static int iStep = 0;
    if (setjmp(*OnErrorGoto(true))) {
        Printf("step %d: ERR=%d ERF=%d\n", iStep, iERR, iERF);
        b_ErrorResume();
        ++iStep;
    }
    for (; iStep <= 10; ++iStep) {
        Error.iLine = 100 + iStep;
        Error.iSrcLine = iStep;
        s_Steps(iStep);
        Printf("step %d: ok\n", iStep);
    }
    return 0;
}
