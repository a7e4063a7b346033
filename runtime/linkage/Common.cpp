// Common: COMMON variables handed between programs. Nothing is handed over
// until the shared-memory exchange is built; start-up and exit call these.
#include <velbra/Hooks.h>

namespace morka {

void b_CommonGet() {}
void b_CommonClear() {}

}  // namespace morka
