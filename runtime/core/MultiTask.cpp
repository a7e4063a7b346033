// MultiTask: the child-task table, prepared at start-up and cleared at the end.
// No child tasks exist until ACTIVATE starts them.
#include <velbra/Hooks.h>

namespace morka {

void b_MtaskInit() {}
void b_MtaskExit() {}

}  // namespace morka
