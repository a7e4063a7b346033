// ON EXIT CALL: a handler returning 2 cancels END; the next END ends the
// program with its code. ON EXIT GOTO jumps instead of ending; 253 and above
// never reach the handlers. The argument picks the scenario.
#include <velbra.h>

#include <cstring>

using namespace morka;

static int s_nCalls = 0;

static int OnExitHandler() {
    ++s_nCalls;
    Printf("handler call %d\n", s_nCalls);
    return s_nCalls == 1 ? 2 : 0;
}

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    char const* pszMode = argc > 1 ? argv[1] : "call";
    if (std::strcmp(pszMode, "call") == 0) {
        OnExitCall(OnExitHandler);
        b_Terminate(7);
        Printf("exit cancelled\n");
        b_Terminate(7);
        Printf("not reached\n");
    } else if (std::strcmp(pszMode, "goto") == 0) {
        if (setjmp(*OnExitGoto(true))) {
            Printf("exit trap %d\n", Error.iTrap);
            OnExitGoto(false);
            b_Terminate(4);
        }
        b_Terminate(9);
        Printf("not reached\n");
    } else {
        // A fatal code skips ON EXIT GOTO.
        if (setjmp(*OnExitGoto(true))) {
            Printf("not reached: jumped\n");
            return 1;
        }
        b_Terminate(253);
    }
    return 0;
}
