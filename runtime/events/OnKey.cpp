// OnKey: the key-trap table (set up at start-up, released at the end).
#include <velbra/Events.h>

namespace morka {

int32_t b_iOnKeyGoto = 0;

void b_OnKeyInit() { b_iOnKeyGoto = 0; }
void b_OnKeyExit() { b_iOnKeyGoto = 0; }

}  // namespace morka
