// Debug: the debugger object. It stays inactive until a program compiled for
// debugging hands over its tables; the trap and exit hooks are no-ops then.
#include <velbra/Debug.h>

namespace morka {

CDebug DBG;

void CDebug::Exit() { bActive = false; }
void CDebug::OnErrorPush(char const*, int) {}
void CDebug::OnExitPush(char const*, int) {}
void CDebug::Pop() {}

}  // namespace morka
