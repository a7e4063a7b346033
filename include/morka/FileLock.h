// FileLock: locks between programs. Whole files are locked with
// open-file-description locks (F_OFD_SETLK) held on a descriptor that this
// table owns, so the lock of a killed program vanishes with it, and channels
// of one program that open the same file share one counted entry (a program
// never waits for itself). Record drivers lock byte ranges with t_LockRange.
// A whole file is bytes [0, 2^62).
#pragma once

#include <sys/types.h>
#include <morka/CBString.h>

namespace morka {

// Locks the file open on descriptor fd: shared (other programs may read) or
// exclusive. Returns the lock slot (>= 0), or -1 when another program holds a
// conflicting lock. A file system without locks gives a slot without a lock.
// A slot of this program on the same file is shared (and raised to exclusive
// when needed). Raises the operating-system number of a failed descriptor
// operation.
int t_LockFile(int fd, bool bExclusive);
// Releases one user of the slot; the lock goes with the last one.
void t_UnlockFile(int iSlot);
// The descriptor that holds the slot's lock (-1 none) and whether it is
// exclusive: what a linked program needs to adopt it.
int t_LockFd(int iSlot);
bool t_LockExclusive(int iSlot);
// True when the slot holds an exclusive lock that one channel alone uses:
// nobody else (no other program, no other channel of this one) reads the file.
bool t_LockSole(int iSlot);
// Adopts a lock descriptor inherited across exec; returns its slot.
int t_AdoptLock(int fd, bool bExclusive);
// Locks bytes [start, start + len) of fd (len 0: to the end of the file) for
// its open file description, without waiting: 1 locked, 0 held by another
// program. bUnlock releases the range instead (always 1). Raises the
// operating-system number of any other failure.
int t_LockRange(int fd, off_t start, off_t len, bool bExclusive, bool bUnlock = false);

}  // namespace morka
