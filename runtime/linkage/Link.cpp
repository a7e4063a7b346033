// Link: open channels handed to a linked program (read at start-up).
#include <velbra/Hooks.h>

namespace morka {

void b_GetLinks() {}

}  // namespace morka
