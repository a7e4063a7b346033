// The input statements as a compiled program uses them; the first argument
// picks the part. tests/programs/console_input.case runs it with standard
// input from a pipe or a file, tests/io/ConsoleInput_test.cpp on a
// pseudo-terminal with typed keys.
#include <velbra.h>

#include <cstdio>
#include <cstring>

using namespace morka;

namespace {

// INPUT from standard input: numbers, quoted fields, fewer fields than
// variables, integers, MAT INPUT, LINPUT, and end of input.
void s_Stream() {
    CDfp a, b, c;
    Input("ddd", &a, &b, &c);
    Printf("num %g %g %g\n", a.ToDouble(), b.ToDouble(), c.ToDouble());
    CBString s1, s2;
    CInt32 l;
    Input("ssl", &s1, &s2, &l);
    Printf("str [%s] [%s] %d\n", s1.c_str(), s2.c_str(), static_cast<int>(l));
    CInt16 i;
    CInt32 j;
    Input("il", &i, &j);
    Printf("int %d %d\n", static_cast<int>(i), static_cast<int>(j));
    CDfpMatrix m(2, 3);
    MatInput("D", &m, 0, 0);
    Printf("mat %g %g %g / %g %g %g\n", m.Cell(1, 1)->ToDouble(), m.Cell(1, 2)->ToDouble(), m.Cell(1, 3)->ToDouble(),
           m.Cell(2, 1)->ToDouble(), m.Cell(2, 2)->ToDouble(), m.Cell(2, 3)->ToDouble());
    CBString line;
    Linput(&line);
    Printf("line [%s]\n", line.c_str());
    Linput(&line);
    Printf("eof [%s] %d\n", line.c_str(), Eof(0));
}

// INPUT and LINPUT from a text file written by the program, GET from it.
void s_File() {
    FILE* f = std::fopen("in.txt", "w");
    std::fputs("\"a,b\"x,7\nplain line, kept\n12abc\nXY", f);
    std::fclose(f);
    Open(1, "in.txt", ORG_TEXT, ACC_INPUT, 0);
    CBString s;
    CDfp d;
    CInt32 n;
    Input(1, "sdl", &s, &d, &n);
    Printf("f1 [%s] %g %d\n", s.c_str(), d.ToDouble(), static_cast<int>(n));
    CBString line;
    Linput(1, &line);
    Printf("f2 [%s]\n", line.c_str());
    Input(1, "l", &n);
    Printf("f3 %d\n", static_cast<int>(n));
    CBString g1, g2, g3;
    Get(1, "sss", &g1, &g2, &g3);
    Printf("f4 [%s][%s][%s] %d\n", g1.c_str(), g2.c_str(), g3.c_str(), Eof(1));
    Close(1);
}

// Plain entry of 5 bytes, three times: result and exit key.
void s_Entry() {
    for (int k = 0; k < 3; ++k) {
        char aBuf[5];
        Printf("entry%d>", k);
        int n = b_ConInput(aBuf, sizeof aBuf);
        Printf("\n[%s] %d INP=%d\n", aBuf, n, INP);
    }
    Printf("done\n");
    b_ConGetW(0);
}

// Field editing of a ten-character text from position 3, then a new entry.
void s_Edit() {
    CBString s("abcdefghij");
    Printf("edit>");
    b_ConEdit(true, s, 3, 0, false);
    Printf("\n[%s] %d INP=%d\n", s.c_str(), s.length(), INP);
    CBString t;
    Printf("new>");
    b_ConEdit(false, t, 1, 6, false);
    Printf("\n[%s] INP=%d\n", t.c_str(), INP);
    Printf("done\n");
    b_ConGetW(0);
}

// LINPUT USING with an auto-return mask, then INPUT of a number and a text
// at the prompt.
void s_Using() {
    CBString s;
    LinputUsing("Name? ", "!abcd", &s, 0);
    Printf("\nusing [%s] INP=%d\n", s.c_str(), INP);
    CInt32 n;
    CBString t;
    Input("ls", &n, &t);
    Printf("input %d [%s] %d\n", static_cast<int>(n), t.c_str(), t.length());
    Printf("done\n");
    b_ConGetW(0);
}

int s_Handler() {
    Printf("handler\n");
    return 13;
}

// ON TIMEOUT 1 GOTO around LINPUT with no key typed; then the CALL form,
// whose handler's key ends a plain entry; then WAIT with its marker.
void s_Timeout() {
    Printf("waiting\n");
    if (setjmp(*OnTimeoutGoto(1, true)) != 0) {
        Printf("timed out trap %d\n", Error.iTrap);
        b_ErrorResume();
        OnTimeoutGoto(0, false);
        OnTimeoutCall(1, s_Handler);
        char aBuf[8];
        Printf("entry>");
        b_ConInput(aBuf, sizeof aBuf);
        Printf("\nentry INP=%d\n", INP);
        OnTimeoutCall(0, nullptr);
        Printf("marker\n");
        Wait();
        Printf("waited\n");
        b_ConGetW(0);
        return;
    }
    CBString s;
    Linput(&s);
    Printf("not reached\n");
}

// Yesno ignores other keys; Errmsg shows its message on the last line and
// returns the key in upper case.
void s_Dialogues() {
    Printf("sure? ");
    CBString s = Yesno();
    Printf("\nanswer %s\n", s.c_str());
    CBString k = Errmsg("Disk full");
    Printf("\nkey %s\n", k.c_str());
    Printf("done\n");
    b_ConGetW(0);
}

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    char const* psz = argc > 1 ? argv[1] : "";
    if (argc > 2) OptionCase(argv[2]);
    if (!std::strcmp(psz, "stream")) s_Stream();
    else if (!std::strcmp(psz, "file")) s_File();
    else if (!std::strcmp(psz, "entry")) s_Entry();
    else if (!std::strcmp(psz, "edit")) s_Edit();
    else if (!std::strcmp(psz, "using")) s_Using();
    else if (!std::strcmp(psz, "timeout")) s_Timeout();
    else if (!std::strcmp(psz, "dialogues")) s_Dialogues();
    b_Terminate(0);
}
