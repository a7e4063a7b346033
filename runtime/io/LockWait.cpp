// LockWait: the clock and the step of the lock wait (velbra/LockWait.h).
// Before it sleeps, the program hands all its output to the files: the
// program it waits for may be waiting to read it.
#include <velbra/LockWait.h>

#include <ctime>
#include <unistd.h>

namespace morka {

double b_LockClock() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void b_LockSleep() {
    t_FlushAll();
    usleep(500000);
}

}  // namespace morka
