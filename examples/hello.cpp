// hello: the demo program, as the compiler would emit it from
//
//   10 ON ERROR GOTO 100
//   20 PRINT USING-free greeting with Printf, then open a file that is not there
//   30 OPEN #1, "no-such-file" ...   (raises error 2: BASIC error 30)
//   40 END 3
//  100 Printf "Trapped error"; ERR; "at line"; ERL
//  110 RESUME 40
//
// It starts the run-time, traps an error, prints with Printf and ends with
// exit code 3.
#include <velbra.h>

#include <csetjmp>

using namespace morka;

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    Error.pszFile = "hello.bas";
    Error.pszProc = "main";

    Error.iLine = 10;
    if (setjmp(*OnErrorGoto(true))) goto l100;

    Error.iLine = 20;
    Printf("Hello from %s (%s flavour), task %d\n", b_szBanner, b_bDecimalFlavour ? "decimal" : "IEEE",
           t_GetPid());
    {
        CDfp x = CDfp(1) / CDfp(3);
        Printf("1/3 = %.15g, CInt16 of 40000 is %d\n", x.ToDouble(), static_cast<int>(CInt16(CDfp(40000))));
    }

    Error.iLine = 30;
    // A statement that fails with "file not found" (the file statements come
    // with the channel module; this raises the same error number).
    b_StatementFrame(1, [] { throw 2; });

l40:
    Error.iLine = 40;
    Printf("Ending with exit code 3\n");
    b_Terminate(3);
    return 0;

l100:
    Error.iLine = 100;
    Printf("Trapped error %d at line %d\n", iERR, iERL);
    b_ErrorResume();
    goto l40;
}
