// ProcTable: task numbers shared by the programs of one machine.
//
// Design. The table is one file (default "/dev/shm/morka-tasks", or the path
// in the environment value b_tasktable) of MAX_TASKS slots of SLOT_SIZE bytes:
// pid, then the task name. A running program owns slot n (task number n) by
// holding an open-file-description write lock (F_OFD_SETLK) on that slot's
// byte range for as long as it lives. A slot is free when no other open file
// description holds a lock on it, so a killed program frees its number at
// once, and a reused pid cannot keep a slot alive. Handing out a number is
// serialised by a lock on the header byte range.
//
// Inheritance. The owner writes "task:fd:pid" into the environment value
// b_morkatask; the descriptor is kept open across exec. A program that finds
// the value with its own pid (CHAIN, LINK, RUN replace the image in the same
// process) keeps the number and the lock. A child task (fork) shares the open
// file description, so it has the parent's number, and the slot stays owned
// while either lives; before a child task execs another program the child
// slot code rewrites the pid so that the new image keeps the number. Any other
// program (a command started by SYSTEM, say) sees a foreign pid and takes a
// number of its own.
#include <morka/System.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace morka {

namespace {

constexpr int MAX_TASKS = 999;
constexpr off_t SLOT_SIZE = 64;
constexpr off_t HEADER = SLOT_SIZE;   // slot 0 is the allocation lock

int s_iTask = 0;
int s_fdTable = -1;

bool s_Lock(int fd, short type, off_t start, off_t len, bool bWait) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = len;
    for (;;) {
        if (fcntl(fd, bWait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return true;
        if (errno != EINTR) return false;
    }
}

bool s_SlotTaken(int fd, int iTask) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = HEADER + (iTask - 1) * SLOT_SIZE;
    fl.l_len = SLOT_SIZE;
    if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return true;
    return fl.l_type != F_UNLCK;
}

std::string s_TablePath() {
    char const* psz = std::getenv("b_tasktable");
    return psz && *psz ? psz : "/dev/shm/morka-tasks";
}

void s_Publish() {
    std::string s = std::to_string(s_iTask) + ":" + std::to_string(s_fdTable) + ":" + std::to_string(getpid());
    setenv("b_morkatask", s.c_str(), 1);
}

bool s_Inherit() {
    char const* psz = std::getenv("b_morkatask");
    int iTask = 0, fd = -1;
    long pid = 0;
    if (!psz || std::sscanf(psz, "%d:%d:%ld", &iTask, &fd, &pid) != 3) return false;
    if (pid != getpid() || iTask < 1 || iTask > MAX_TASKS || fcntl(fd, F_GETFD) < 0) return false;
    s_iTask = iTask;
    s_fdTable = fd;
    return true;
}

void s_WriteSlot(char const* pszName) {
    char aSlot[SLOT_SIZE] = {};
    int32_t pid = getpid();
    std::memcpy(aSlot, &pid, sizeof pid);
    std::strncpy(aSlot + sizeof pid, pszName ? pszName : "", SLOT_SIZE - sizeof pid - 1);
    (void)!pwrite(s_fdTable, aSlot, sizeof aSlot, HEADER + (s_iTask - 1) * SLOT_SIZE);
}

}  // namespace

unsigned m_iUsers = 0;

// Takes a task number (or keeps the inherited one); raises 1100 when the
// table cannot be opened or is full.
void t_TaskAttach(char const* pszName) {
    if (s_iTask == 0 && !s_Inherit()) {
        std::string sPath = s_TablePath();
        int fd = open(sPath.c_str(), O_RDWR | O_CREAT, 0666);
        if (fd < 0) throw static_cast<int>(MORKA_ETASKTABLE);
        fchmod(fd, 0666);   // shared by every user of the machine; umask must not narrow it
        if (!s_Lock(fd, F_WRLCK, 0, HEADER, true)) {
            close(fd);
            throw static_cast<int>(MORKA_ETASKTABLE);
        }
        int iFound = 0;
        for (int i = 1; i <= MAX_TASKS && !iFound; ++i)
            if (!s_SlotTaken(fd, i) && s_Lock(fd, F_WRLCK, HEADER + (i - 1) * SLOT_SIZE, SLOT_SIZE, false)) iFound = i;
        s_Lock(fd, F_UNLCK, 0, HEADER, false);
        if (!iFound) {
            close(fd);
            throw static_cast<int>(MORKA_ETASKTABLE);
        }
        s_iTask = iFound;
        s_fdTable = fd;
        s_WriteSlot(pszName);
    }
    s_Publish();
    m_iUsers = 0;
    for (int i = 1; i <= MAX_TASKS; ++i)
        if (i == s_iTask || s_SlotTaken(s_fdTable, i)) ++m_iUsers;
}

// Rewrites the inheritance value for a child task that is about to exec.
void t_TaskPublish() {
    if (s_iTask) s_Publish();
}

int t_GetPid() { return s_iTask; }
int t_GetMaxTask() { return MAX_TASKS; }

}  // namespace morka
