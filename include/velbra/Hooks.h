// Hooks: start-up and clean-up entry points of the console, child tasks,
// COMMON and linked files, called from b_Init, Exit and b_Terminate.
#pragma once

namespace morka {

void b_ConInit();
void b_ConExit();
// Waits for one key on the console (mode as the console statements pass it);
// the key code, or -1 when input has ended.
int b_ConGetW(int mode);

void b_MtaskInit();
void b_MtaskExit();

void b_CommonGet();
void b_CommonClear();
void b_GetLinks();

}  // namespace morka
