// OnEvent: the poll run between statements and the trap-enable state.
// No trap source is wired in yet, so the poll has nothing to deliver; it is
// already called at every statement start and in every console wait.
#include <velbra/Events.h>

namespace morka {

int32_t b_iOnSignalsTraps = 0;
bool b_bOnEventGoto = false;
bool b_bOnMouseGoto = false;
bool b_bOnTimeoutGoto = false;

void b_CheckAll() {}

void b_EventInit() {
    b_bOnEventGoto = false;
}

void b_EventExit() {}

}  // namespace morka
