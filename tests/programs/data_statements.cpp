// DATA 10, "abc" at line 100; DATA -7, 70000 at line 200. READ, RESTORE and
// the errors that end the program: RESTORE to a line after the last DATA
// (with ON ERROR armed: no trap) when asked by argument 1, else READ A, B
// with one item left, which fills A first.
#include <velbra.h>

#include <cstring>

using namespace morka;

namespace {
Data s_aTable[] = {{100, "10"}, {100, "abc"}, {200, "-7"}, {200, "70000"}};
}

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    b_InitData(s_aTable, 4);
    CDfp x;
    CBString s;
    CInt32 l;
    Error.iLine = 10;
    ReadData("ds", &x, &s);
    Printf("x=%g s=%s\n", x.ToDouble(), s.c_str());
    Restore(150);
    ReadData("d", &x);
    Printf("after RESTORE 150: %g\n", x.ToDouble());
    if (argc > 1 && std::strcmp(argv[1], "restore") == 0) {
        OnErrorGoto(true);
        Error.iLine = 20;
        Restore(250);
        Printf("not reached\n");
    }
    CDfp a(1), b(2);
    Error.iLine = 30;
    ReadData("dd", &a, &b);
    Printf("not reached: a=%g\n", a.ToDouble());
    return 0;
}
