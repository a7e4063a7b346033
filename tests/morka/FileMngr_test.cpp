// The channel table and the stream drivers: checks and their numbers, OPEN on
// real files, locks against other processes, the name operations, reading
// lines, printers, and write errors that stay with the channel.
#include "../TestDir.h"

#include <morka/morka.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace morka;

namespace {

class Channels : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("b_opennl");
        t_InitFiles();
        FileMngr.iLockMode = 0;
    }
    void TearDown() override {
        try {
            t_CloseAll();
        } catch (int) {
        }
    }
    CTestDir m_dir;
};

// In a child process (not this program): opens the file itself and takes an
// OFD lock on it; true when it got the lock.
bool s_ChildLocks(char const* pszPath, bool bExclusive) {
    int fd = open(pszPath, bExclusive ? O_RDWR : O_RDONLY);
    struct flock fl {};
    fl.l_type = bExclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    return fd >= 0 && fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// Another program holds the file until it is killed; -1 when it could not.
pid_t s_HoldInChild(char const* pszPath, bool bExclusive) {
    int aPipe[2];
    if (pipe(aPipe) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        char c = s_ChildLocks(pszPath, bExclusive) ? 'y' : 'n';
        (void)!write(aPipe[1], &c, 1);
        for (;;) pause();
    }
    close(aPipe[1]);
    char c = 0;
    (void)!read(aPipe[0], &c, 1);
    close(aPipe[0]);
    if (c != 'y') {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

// Whether another program can take the lock now (0 yes, 1 no).
int s_TryInChild(char const* pszPath, bool bExclusive) {
    pid_t pid = fork();
    if (pid == 0) _exit(s_ChildLocks(pszPath, bExclusive) ? 0 : 1);
    int iStatus = 0;
    waitpid(pid, &iStatus, 0);
    return WEXITSTATUS(iStatus);
}

void s_Kill(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void s_Write(int ch, char const* psz) {
    QXFILE* pFile = t_GetFile(ch);
    t_Driver(pFile)->Write(pFile, psz, std::strlen(psz));
}

}  // namespace

TEST_F(Channels, ChecksRaiseTheirOwnNumbers) {
    EXPECT_EQ(b_Raised([] { t_CheckOpen(FileMngr.nChannels, 0, 1); }), 1053);
    EXPECT_EQ(b_Raised([] { t_CheckOpen(-1, 0, 1); }), 1053);
    EXPECT_EQ(b_Raised([] { t_CheckOpen(5, 0, 1); }), EBADF);
    EXPECT_EQ(t_GetFile(5)->iErrno, EBADF);
    ASSERT_TRUE(t_Open(1, "out.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    ASSERT_TRUE(t_Open(2, "app.txt", DEV_DISK, ORG_TEXT, ACC_APPEND, 0));
    EXPECT_EQ(b_Raised([] { t_CheckOpen(1, MASK_STRING_KEY, ACC_OUTPUT); }), MORKA_EBADORG);
    EXPECT_EQ(b_Raised([] { t_CheckOpen(1, MASK_TEXT, ACC_INPUT); }), MORKA_ENOTOPEN);
    EXPECT_EQ(b_Raised([] { t_CheckOpen(2, MASK_TEXT, ACC_INPUT); }), MORKA_ENOTOPEN);
    EXPECT_EQ(t_CheckOpen(1, MASK_TEXT, ACC_OUTPUT), t_GetFile(1));
    EXPECT_EQ(t_CheckOpen(2, MASK_TEXT, ACC_OUTPUT), t_GetFile(2));
    EXPECT_EQ(t_CheckOpen(2, MASK_ANY, ACC_UPDATE), t_GetFile(2));
    EXPECT_EQ(t_CheckOpen(0, MASK_TEXT, ACC_INPUT), t_GetFile(0));
    EXPECT_EQ(b_Raised([] { t_CheckFree(1); }), MORKA_EBUSY);
    EXPECT_EQ(t_NextFile(), 3);
}

TEST_F(Channels, RefusedOpensLeaveTheChannelFreeAndNameTheFile) {
    mkdir("adir", 0777);
    struct {
        char const* pszId;
        char const* pszName;
        int iDevice, iOrg, iAccess;
        unsigned uFlags;
        int iError;
    } const aCases[] = {
        {"open-1", "   ", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0, MORKA_EBADNAME},
        {"open-2", "x.dat", DEV_NONE, ORG_SEQUENTIAL, ACC_OUTPUT, 0, ENODEV},
        {"open-3", "x.dat", DEV_DISK, 0x20, ACC_OUTPUT, 0, MORKA_EBADORG},
        {"open-4", "x.dat", DEV_DISK, ORG_ISAM, ACC_OUTPUT, 0, MORKA_EBADORG},
        {"open-5", "missing.dat", DEV_DISK, ORG_SEQUENTIAL, ACC_INPUT, 0, ENOENT},
        {"open-6", "x.dat", DEV_DISK, ORG_SEQUENTIAL, 5, 0, EINVAL},
        {"open-7", "new.dat", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_NOCREATE, ENOENT},
        {"open-8", "adir", DEV_DISK, ORG_SEQUENTIAL, ACC_INPUT, 0, EISDIR},
        {"open-9", "a..b", DEV_DISK, ORG_TEXT, ACC_OUTPUT, 0, MORKA_EBADNAME},
        {"open-10", "PRT9", DEV_PRINTER, ORG_SEQUENTIAL, ACC_OUTPUT, 0, ENODEV},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(b_Raised([&] { t_Open(3, c.pszName, c.iDevice, c.iOrg, c.iAccess, c.uFlags); }), c.iError);
        EXPECT_FALSE(t_GetFile(3)->bOpen);
        EXPECT_EQ(t_GetFile(3)->iErrno, c.iError);
    }
    EXPECT_EQ(b_Raised([] { t_Open(3, "missing.dat", DEV_DISK, ORG_SEQUENTIAL, ACC_INPUT, 0); }), ENOENT);
    EXPECT_EQ(t_sMorkaFname, CBString("missing.dat"));
    EXPECT_EQ(t_sLinuxFname, CBString("missing.dat"));
    EXPECT_EQ(access("new.dat", F_OK), -1) << "a refused open creates nothing";
}

TEST_F(Channels, OutputWaitsForTheLockBeforeEmptyingTheFile) {
    b_WriteFile("shared.txt", "old");
    pid_t pid = s_HoldInChild("shared.txt", false);
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(t_Open(1, "shared.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    EXPECT_FALSE(t_GetFile(1)->bOpen);
    EXPECT_EQ(b_ReadFile("shared.txt"), "old");
    EXPECT_TRUE(t_Open(1, "shared.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_INPUT, 0)) << "readers share";
    t_Close(1);
    s_Kill(pid);  // the lock of a killed program vanishes with it
    ASSERT_TRUE(t_Open(1, "shared.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    EXPECT_EQ(b_ReadFile("shared.txt"), "");
    EXPECT_EQ(s_TryInChild("shared.txt", false), 1);
    t_Close(1);
    EXPECT_EQ(s_TryInChild("shared.txt", true), 0);

    ASSERT_TRUE(t_Open(1, "free.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, OPEN_NOLOCK));
    EXPECT_EQ(s_TryInChild("free.txt", true), 0);
}

TEST_F(Channels, ChannelsOfOneProgramShareTheirLock) {
    b_WriteFile("both.txt", "data");
    ASSERT_TRUE(t_Open(1, "both.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_INPUT, 0));
    EXPECT_EQ(s_TryInChild("both.txt", false), 0);
    ASSERT_TRUE(t_Open(2, "both.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_APPEND, 0));
    EXPECT_EQ(s_TryInChild("both.txt", false), 1) << "raised to exclusive for the writer";
    t_Close(2);
    EXPECT_EQ(s_TryInChild("both.txt", false), 1) << "held while a channel still has the file";
    t_Close(1);
    EXPECT_EQ(s_TryInChild("both.txt", true), 0);
}

TEST_F(Channels, NameOperationsAnswerNumbers) {
    EXPECT_EQ(t_Create("a.dat", ORG_SEQUENTIAL), 0);
    EXPECT_EQ(t_Create("a.dat", ORG_SEQUENTIAL), EEXIST);
    EXPECT_EQ(t_Create("k.dat", ORG_ISAM, 64, 8), MORKA_EBADORG);
    EXPECT_EQ(t_Create("", ORG_SEQUENTIAL), MORKA_EBADNAME);
    EXPECT_EQ(t_Create("CON", ORG_SEQUENTIAL), ENODEV);

    ASSERT_TRUE(t_Open(1, "a.dat", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    s_Write(1, "written");
    // The copy sees what the open channel wrote: names operations flush first.
    EXPECT_EQ(t_Copy("a.dat", "c.dat", false, false, nullptr, nullptr), 0);
    EXPECT_EQ(b_ReadFile("c.dat"), "written");
    t_Close(1);

    b_WriteFile("b.dat", "bee");
    EXPECT_EQ(t_Rename("a.dat", "b.dat"), EEXIST);
    EXPECT_EQ(t_sMorkaFname, CBString("b.dat"));
    EXPECT_EQ(b_ReadFile("b.dat"), "bee");
    EXPECT_EQ(t_Rename("a.dat", "d.dat"), 0);
    EXPECT_EQ(b_ReadFile("d.dat"), "written");
    EXPECT_EQ(t_Copy("b.dat", "d.dat", false, false, nullptr, nullptr), EEXIST);
    EXPECT_EQ(t_Copy("b.dat", "d.dat", true, false, nullptr, nullptr), 0);
    EXPECT_EQ(b_ReadFile("d.dat"), "bee");
    EXPECT_EQ(t_Copy("nothing.dat", "e.dat", true, false, nullptr, nullptr), ENOENT);
    EXPECT_EQ(t_sMorkaFname, CBString("nothing.dat"));
    EXPECT_EQ(t_ClearFile("d.dat"), 0);
    EXPECT_EQ(b_ReadFile("d.dat"), "");
    EXPECT_EQ(t_ClearFile("gone.dat"), ENOENT);
    EXPECT_EQ(t_Remove("d.dat"), 0);
    EXPECT_EQ(t_Remove("d.dat"), ENOENT);
    mkdir("LIB.lib", 0777);
    b_WriteFile("LIB.lib/x", "");
    EXPECT_EQ(t_Remove("LIB\\x"), 0);
    b_WriteFile("LIB.lib/y", "");
    EXPECT_EQ(t_Remove("LIB.lib"), ENOTEMPTY);
}

TEST_F(Channels, LinesEndWithLfCrOrCrLfAndEofLooksAhead) {
    std::string sLong(5000, 'x');
    b_WriteFile("lines.txt", "a\r\nb\rc\n\n" + sLong + "\nlast");
    b_WriteFile("empty.txt", "");
    ASSERT_TRUE(t_Open(1, "lines.txt", DEV_DISK, ORG_TEXT, ACC_INPUT, 0));
    ASSERT_TRUE(t_Open(2, "empty.txt", DEV_DISK, ORG_TEXT, ACC_INPUT, 0));
    QXFILE* f = t_GetFile(1);
    CDriver* d = t_Driver(f);
    EXPECT_TRUE(d->Eof(t_GetFile(2)));
    std::vector<std::string> aLines;
    while (!d->Eof(f)) {
        ASSERT_TRUE(d->ReadLine(f));
        aLines.emplace_back(reinterpret_cast<char*>(f->pRecord), static_cast<std::size_t>(f->nRecordLen));
    }
    EXPECT_EQ(aLines, (std::vector<std::string>{"a", "b", "c", "", sLong, "last"}));
    EXPECT_FALSE(d->ReadLine(f));
    EXPECT_EQ(f->nRecordLen, 0);
    EXPECT_EQ(f->bEndOfFile, 1);
    EXPECT_GE(f->nBufferSize, 5001);
}

TEST_F(Channels, PrintersSpoolAndCountLinesAndPages) {
    setenv("b_prt1", (m_dir.Path() + "/p1.spool").c_str(), 1);
    EXPECT_EQ(b_Raised([] { t_Open(1, "PRT1", DEV_PRINTER, ORG_SEQUENTIAL, ACC_INPUT, 0); }), MORKA_EBADDEVICE);
    ASSERT_TRUE(t_Open(1, "prt1", DEV_PRINTER, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    QXFILE* f = t_GetFile(1);
    EXPECT_EQ(f->iDriver, DRV_PRINTER);
    s_Write(1, "a\r\nb\nc\r");
    EXPECT_EQ(f->iPrtLine, 4);
    s_Write(1, "\fd\n");
    EXPECT_EQ(f->iPrtPage, 2);
    EXPECT_EQ(f->iPrtLine, 2);
    for (int i = 0; i < 65; ++i) t_Driver(f)->PutChar(f, '\n');
    EXPECT_EQ(f->iPrtPage, 3);
    EXPECT_EQ(f->iPrtLine, 1);
    t_Close(1);
    ASSERT_TRUE(t_Open(1, "PRT1", DEV_PRINTER, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    s_Write(1, "more");
    t_Close(1);
    EXPECT_EQ(b_ReadFile("p1.spool"), "a\r\nb\nc\r\fd\n" + std::string(65, '\n') + "more");
    unsetenv("b_prt1");
}

TEST_F(Channels, AFailedWriteStaysWithTheChannel) {
    ASSERT_TRUE(t_Open(1, "@/dev/full", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    QXFILE* f = t_GetFile(1);
    s_Write(1, "x");
    EXPECT_EQ(b_Raised([&] { t_Driver(f)->Flush(f, true); }), ENOSPC);
    EXPECT_EQ(f->iErrno, ENOSPC);
    EXPECT_EQ(b_Raised([&] { t_Driver(f)->CheckError(f); }), ENOSPC);
    EXPECT_EQ(b_Raised([] { t_Close(1); }), 0) << "reported once";
    EXPECT_FALSE(f->bOpen);

    ASSERT_TRUE(t_Open(1, "@/dev/full", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    s_Write(1, "y");
    EXPECT_EQ(b_Raised([] { t_Close(1); }), ENOSPC) << "an unreported failure surfaces at close";
    EXPECT_FALSE(t_GetFile(1)->bOpen);
}

TEST_F(Channels, UpdateStreamsReadAndWriteInPlace) {
    b_WriteFile("upd.txt", "xyz123");
    ASSERT_TRUE(t_Open(1, "upd.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_UPDATE, 0));
    QXFILE* f = t_GetFile(1);
    CDriver* d = t_Driver(f);
    EXPECT_EQ(d->GetChar(f), 'x');
    d->PutChar(f, 'Q');
    EXPECT_EQ(d->GetChar(f), 'z');
    EXPECT_FALSE(d->Eof(f));
    s_Write(1, "!");
    t_Close(1);
    EXPECT_EQ(b_ReadFile("upd.txt"), "xQz!23");
}

TEST_F(Channels, AForkDoesNotWriteBufferedOutputTwice) {
    ASSERT_TRUE(t_Open(1, "once.txt", DEV_DISK, ORG_SEQUENTIAL, ACC_OUTPUT, 0));
    s_Write(1, "once");
    pid_t pid = fork();
    if (pid == 0) {
        std::fflush(nullptr);  // as exit would: every stdio stream of the child
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
    t_Close(1);
    EXPECT_EQ(b_ReadFile("once.txt"), "once");
}
