// The GOSUB stack grows by 16 entries when full (33 nested GOSUBs: 48
// entries; the 49th: 64) and returns through its jump buffers; the task
// number survives a CHAIN (exec in the same process). The argument picks the
// scenario.
#include <velbra.h>

#include <cstring>
#include <unistd.h>

using namespace morka;

static void Nest(int nDepth) {
    // GOSUB: take an entry, fill it, "jump" to the subroutine (recursion here),
    // which RETURNs through the entry.
    jmp_buf* pEntry = b_AllocGosub();
    if (setjmp(*pEntry) == 0) {
        if (nDepth == 33 || nDepth == 49) Printf("depth %d max %d\n", nDepth, b_gosub_max);
        if (nDepth < 49) Nest(nDepth + 1);
        --b_gosub_calls;
        longjmp(b_gosub_stack[b_gosub_calls], 1);
    }
}

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    char const* pszMode = argc > 1 ? argv[1] : "";
    if (std::strcmp(pszMode, "gosub") == 0) {
        Printf("start max %d\n", b_gosub_max);
        Nest(1);
        Printf("after calls %d max %d\n", b_gosub_calls, b_gosub_max);
    } else if (std::strcmp(pszMode, "chain") == 0) {
        Printf("first task %d args %d\n", t_GetPid(), CMDARGS);
        // CHAIN replaces the process image; the task number stays.
        char aMode[] = "chained";
        char* argvNew[] = {argv[0], aMode, nullptr};
        execv(argv[0], argvNew);
        Printf("exec failed\n");
    } else if (std::strcmp(pszMode, "chained") == 0) {
        Printf("chained task %d\n", t_GetPid());
    }
    b_Terminate(0);
}
