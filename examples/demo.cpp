// demo: a small stock report, as the compiler would emit it from
//
//   10 ON ERROR GOTO 900
//   20 OPEN #1, "report.txt" OUTPUT, LF              ! a text file
//   30 OPEN #2, "report.csv" OUTPUT, QUOTE, LF       ! a delimited file
//   40 FOR C = 0 TO 1: GOSUB 500: NEXT C             ! the report on the terminal and in report.txt
//   50 FOR I = 1 TO 4: PRINT #2, N$(I), Q%(I), P(I), Q%(I) * P(I): NEXT I
//   60 PRINT "Written to "; FILENAME$(1); " and "; FILENAME$(2)
//   70 CLOSE
//   80 OPEN #3, "stock.dat" INPUT                      ! not there: error 30
//   90 PRINT "not reached"
//  100 END
//  500 PRINT #C, "Item"; TAB(15); "Qty"; TAB(23); "Price"; TAB(35); "Value"
//  510 FOR I = 1 TO 4: PRINT #C, N$(I); TAB(14); Q%(I); TAB(22); P(I); TAB(34); Q%(I) * P(I): NEXT I
//  520 PRINT #C, "Total"; TAB(34); T: RETURN
//  900 PRINT "Trapped error"; ERR; "at line"; ERL: RESUME 100
//
// It prints the report on the terminal, writes it to report.txt and the items
// to report.csv (quoted where a field holds the separator or a quote), reads
// the two file names back and traps the error of a missing file.
#include <velbra.h>

#include <csetjmp>

using namespace morka;

namespace {

CBString N[5] = {"", "Hammer", "Nuts, bolts", "12\" ruler", "Saw"};
CInt16 Q[5] = {0, 3, 250, 10, 1};
CDfp P[5] = {0, CDfp(12.5), CDfp(0.04), CDfp(2.25), CDfp(19.9)};

void s_Report(int C) {
    Error.iLine = 500;
    Print(C, "z\tz\tz\tzp", "Item", 15, "Qty", 23, "Price", 35, "Value", 2);
    CDfp T = 0;
    for (int I = 1; I <= 4; ++I) {
        Error.iLine = 510;
        CDfp V = CDfp(Q[I]) * P[I];
        T += V;
        Print(C, "s\ti\td\tdp", &N[I], 14, static_cast<int>(Q[I]), 22, P[I].Value(), 34, V.Value(), 2);
    }
    Error.iLine = 520;
    Print(C, "zp\tdp", "Total", 0, 34, T.Value(), 2);
}

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    Error.pszFile = "demo.bas";
    Error.pszProc = "main";

    Error.iLine = 10;
    if (setjmp(*OnErrorGoto(true))) goto l900;

    Error.iLine = 20;
    Open(1, "report.txt", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_EOL_LF);
    Error.iLine = 30;
    Open(2, "report.csv", ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_QUOTE | OPEN_EOL_LF);
    Error.iLine = 40;
    for (int C = 0; C <= 1; ++C) s_Report(C);
    Error.iLine = 50;
    for (int I = 1; I <= 4; ++I) {
        CDfp V = CDfp(Q[I]) * P[I];
        Print(2, "spipdpdp", &N[I], 1, static_cast<int>(Q[I]), 1, P[I].Value(), 1, V.Value(), 2);
    }
    Error.iLine = 60;
    {
        CBString sText = GetFileName(1);
        CBString sCsv = GetFileName(2);
        Print("zszsp", "Written to ", &sText, " and ", &sCsv, 2);
    }
    Error.iLine = 70;
    CloseAll();
    Error.iLine = 80;
    Open(3, "stock.dat", ORG_SEQUENTIAL, ACC_INPUT, 0);
    Error.iLine = 90;
    Print("zp", "not reached", 2);

l100:
    Error.iLine = 100;
    // The greeting asks only a person: skipped when input is not a terminal.
    if (SysEnv(34, "stdin") == "N") {
        CBString sName;
        Error.iLine = 110;
        LinputUsing("Your name? ", "                    ", &sName, 0);
        Print("p", 2);
        Error.iLine = 120;
        Print("zsp", "Hello, ", &sName, 2);
        Error.iLine = 130;
        Print("zp", "Greet you again? ", 0);
        if (Yesno() == "Y") Print("pzsp", 2, "Hello again, ", &sName, 2);
        else Print("pzp", 2, "Goodbye", 2);
    }
    b_Terminate(0);
    return 0;

l900:
    Error.iLine = 900;
    Print("zlzlp", "Trapped error", static_cast<int>(iERR), "at line", iERL, 2);
    b_ErrorResume();
    goto l100;
}
