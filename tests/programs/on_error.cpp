// ON ERROR GOTO catches error 2 (file not found) as BASIC error 30; RESUME
// returns; an untrapped error 2 afterwards prints the not-found message with
// both file names and ends with 253.
#include <velbra.h>

using namespace morka;

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    volatile int nTraps = 0;
    if (setjmp(*OnErrorGoto(true))) {
        nTraps = nTraps + 1;
        Printf("ERR=%d ERL=%d ERF=%d trap=%d\n", iERR, iERL, iERF, Error.iTrap);
        b_ErrorResume();
        goto l200;
    }
    Error.iLine = 100;
    b_StatementFrame(5, [] { throw 2; });
    Printf("not reached\n");
l200:
    Error.iLine = 200;
    Printf("resumed, trap=%d skip=%d\n", Error.iTrap, b_SkipSetJmp() ? 1 : 0);
    OnErrorGoto(false);
    t_sMorkaFname = "CUST.DAT";
    t_sLinuxFname = "/data/cust.dat";
    Error.iSrcLine = 21;
    b_StatementFrame(0, [] { throw 2; });
    Printf("not reached either\n");
    return 0;
}
