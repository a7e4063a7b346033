// orders: a small customer file, as the compiler would emit it from
//
//   10 ON ERROR GOTO 900
//   15 ERASE "customers.dat"                             ! from an earlier run (error 30: none)
//   20 CREATE "customers.dat" KEYED 64, 6                ! 64-byte records, 6-byte keys
//   30 OPEN #1, "customers.dat" KEYED UPDATE
//   40 FOR I = 1 TO 4: WRITE KEY #1, K$(I), N$(I), B(I): NEXT I
//   50 READ KEY #1, "C00002", N$, B: WRITE KEY #1, "C00002", N$, B + 100   ! an update
//   60 OPEN #2, "customers.exp" OUTPUT                   ! a sequential export
//   70 READ TOP #1, K$, N$, B
//   80 PRINT K$; "  "; N$; TAB(30); B: WRITE #2, K$, N$, B
//   90 READ NEXT #1, K$, N$, B: GOTO 80                  ! error 65 at the end
//  100 CLOSE #2: OPEN #2, "customers.exp" INPUT
//  110 IF EOF(2) THEN 130
//  120 READ #2, K$, N$, B: T = T + B: C% = C% + 1: GOTO 110
//  130 PRINT C%; "records read back, balance"; T
//  140 READ KEY #1, "C00009", N$                         ! no such key: error 64
//  150 END
//  900 IF ERL = 15 THEN RESUME 20
//  905 IF ERR = 65 THEN RESUME 100
//  910 PRINT "Trapped error"; ERR; "at line"; ERL: RESUME 150
//
// The keyed file is listed in key order (the records were written out of
// order), exported to a sequential file of tagged records and read back.
#include <velbra.h>

#include <csetjmp>

using namespace morka;

namespace {

CBString K[5] = {"", "C00003", "C00001", "C00004", "C00002"};
CBString N[5] = {"", "Meier AG", "Baumann & Co", "Zeller GmbH", "Aebi Holz"};
CDfp B[5] = {0, CDfp(1250.5), CDfp(-80), CDfp(0), CDfp(310.25)};

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    Error.pszFile = "orders.bas";
    Error.pszProc = "main";
    CBString sKey, sName;
    CDfp xBalance;
    static CDfp T;
    static CInt16 C;

    Error.iLine = 10;
    if (setjmp(*OnErrorGoto(true))) goto l900;

    Error.iLine = 15;
    Erase("customers.dat");
l20:
    Error.iLine = 20;
    Create("customers.dat", ORG_KEYED, 64, 6);
    Error.iLine = 30;
    Open(1, "customers.dat", ORG_KEYED, ACC_UPDATE, 0);
    Error.iLine = 40;
    for (int I = 1; I <= 4; ++I) WriteKey(1, &K[I], "sd", &N[I], B[I].Value());
    Error.iLine = 50;
    ReadKey(1, "C00002", "sd", &sName, &xBalance);
    WriteKey(1, "C00002", "sd", &sName, (xBalance + CDfp(100)).Value());
    Error.iLine = 60;
    Open(2, "customers.exp", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    Error.iLine = 70;
    ReadTop(1, &sKey, "sd", &sName, &xBalance);
    for (;;) {
        Error.iLine = 80;
        Print("szs\tdp", &sKey, "  ", &sName, 30, xBalance.Value(), 2);
        Write(2, "ssd", &sKey, &sName, xBalance.Value());
        Error.iLine = 90;
        ReadNext(1, &sKey, "sd", &sName, &xBalance);
    }
l100:
    Error.iLine = 100;
    Close(2);
    Open(2, "customers.exp", ORG_SEQUENTIAL, ACC_INPUT, 0);
    for (;;) {
        Error.iLine = 110;
        if (Eof(2)) break;
        Error.iLine = 120;
        Read(2, "ssd", &sKey, &sName, &xBalance);
        T += xBalance;
        C += 1;
    }
    Error.iLine = 130;
    Print("izdp", static_cast<int>(C), "records read back, balance", T.Value(), 2);
    Error.iLine = 140;
    ReadKey(1, "C00009", "s", &sName);
l150:
    Error.iLine = 150;
    b_Terminate(0);

l900:
    if (iERL == 15) {
        b_ErrorResume();
        goto l20;
    }
    if (iERR == 65) {
        b_ErrorResume();
        goto l100;
    }
    Printf("Trapped error %d at line %d\n", iERR, iERL);
    b_ErrorResume();
    goto l150;
}
