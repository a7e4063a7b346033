// A subscript error without a BASIC number is fatal even under ON ERROR GOTO:
// the message with its location, then exit code 253.
#include <velbra.h>

using namespace morka;

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    Error.pszFile = "fatal.bas";
    Error.pszProc = "main";
    if (setjmp(*OnErrorGoto(true))) {
        Printf("trapped: must not happen\n");
        return 1;
    }
    Error.pszLine = "150";
    Error.iLine = 150;
    Error.iSrcLine = 12;
    Printf("before\n");
    b_StatementFrame(0, [] { throw 3029; });
    Printf("after: must not happen\n");
    b_Terminate(0);
}
