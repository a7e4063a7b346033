// Events: the poll between statements and the trap-enable state it reads.
#pragma once

#include <cstdint>

namespace morka {

extern int32_t b_iOnSignalsTraps;  // 0x001 timeout, 0x002..0x080 mouse, 0x100 key, 0x200 event
extern bool b_bOnEventGoto;        // some ON EVENT trap is set
extern int32_t b_iOnKeyGoto;       // number of key-trap slots set
extern bool b_bOnMouseGoto;        // a GOTO-form mouse trap is set
extern bool b_bOnTimeoutGoto;      // ON TIMEOUT GOTO is set

// The poll run at the start of every statement: delivers pending traps.
void b_CheckAll();
void b_EventInit();
void b_EventExit();
void b_OnKeyInit();
void b_OnKeyExit();

}  // namespace morka
