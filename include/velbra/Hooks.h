// Hooks: start-up and clean-up entry points of the console, child tasks,
// COMMON and linked files, called from b_Init, Exit and b_Terminate.
#pragma once

namespace morka {

void b_ConInit();
void b_ConExit();
// Waits for one key on the console (mode as the console statements pass it);
// the key code, or -1 when input has ended.
int b_ConGetW(int mode);
// WAIT on the console: returns at once when standard input is not a
// terminal; otherwise waits for a key and leaves it for the next read.
// bMarker shows the wait marker (the console form of WAIT).
void b_ConWait(bool bMarker);

void b_MtaskInit();
void b_MtaskExit();

void b_CommonGet();
void b_CommonClear();
void b_GetLinks();

}  // namespace morka
