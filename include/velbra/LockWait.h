// LockWait: the one wait for a file or record that another program holds,
// shared by OPEN and the record statements. The operation is tried; while it
// answers false the program sleeps half a second and tries again. With an
// OPTION LOCK limit of 0 this goes on until the holder lets go; otherwise,
// once the time since the first try reaches the limit (whole seconds, read
// afresh after every sleep), the error number is raised.
#pragma once

#include <morka/FileMngr.h>

namespace morka {

// Seconds since an arbitrary start, on the monotonic clock (the wait must not
// shorten or stretch when the system clock is set).
double b_LockClock();
// Sleeps one wait step (500 000 microseconds).
void b_LockSleep();

// Runs op() until it answers true. iLockedError (1023 for files, 1024 for
// records) is stored in pFile->iErrno (when given) and raised when the limit
// FileMngr.iLockMode passes. Returns true when the first try succeeded, false
// when it succeeded after waiting.
template <class TOp>
bool b_LockWait(QXFILE* pFile, int iLockedError, TOp&& op) {
    if (op()) return true;
    double tStart = b_LockClock();
    for (;;) {
        b_LockSleep();
        int iLimit = FileMngr.iLockMode;
        if (iLimit != 0 && static_cast<long>(b_LockClock() - tStart) >= iLimit) {
            if (pFile) pFile->iErrno = iLockedError;
            throw iLockedError;
        }
        if (op()) return false;
    }
}

}  // namespace morka
