// The storage engine of keyed and record-number files: creation, key order,
// positions between operations, record locks between real processes, and
// files that survive a writer killed with SIGKILL.
#include "../TestDir.h"

#include <morka/Store.h>
#include <morka/FileMngr.h>

#include <lmdb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace morka;

namespace {

// Each test works in its own temporary directory.
class StoreTest : public ::testing::Test {
protected:
    CTestDir m_dir;
    std::string Path(char const* pszName) const { return m_dir.Path() + "/" + pszName; }
};

// All records in key order through READ NEXT from the start.
std::vector<std::string> s_Scan(CStoreChannel& ch) {
    std::vector<std::string> a;
    std::string sKey, sRec;
    ch.ReadFirst(sKey, sRec);
    a.push_back(sKey);
    for (;;) {
        try {
            ch.ReadNext(sKey, sRec);
        } catch (int n) {
            EXPECT_EQ(n, 1063);
            return a;
        }
        a.push_back(sKey);
    }
}

// A pipe to say "done" between processes.
class CSignal {
public:
    int afd[2];
    CSignal() { EXPECT_EQ(pipe(afd), 0); }
    ~CSignal() {
        close(afd[0]);
        close(afd[1]);
    }
    void Post() { EXPECT_EQ(write(afd[1], "x", 1), 1); }
    void Wait() {
        char c;
        EXPECT_EQ(read(afd[0], &c, 1), 1);
    }
};

int s_WaitChild(pid_t pid) {
    int iStatus = 0;
    waitpid(pid, &iStatus, 0);
    return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : 128 + WTERMSIG(iStatus);
}

}  // namespace

TEST_F(StoreTest, CreateChecksItsArgumentsAndNeverOverwrites) {
    std::string sKeyed = Path("cust.dat"), sDirect = Path("rel.dat");
    EXPECT_EQ(t_StoreCreate(sKeyed.c_str(), ORG_KEYED, 128, 16), 0);
    EXPECT_EQ(t_StoreCreate(sDirect.c_str(), ORG_DIRECT, 64, 99), 0);
    struct {
        char const* pszId;
        char const* pszName;
        int eOrg, nSize, nKey, nResult;
    } const aCases[] = {
        {"create-1 exists", "cust.dat", ORG_KEYED, 128, 16, 17},
        {"create-2 key too long", "k2", ORG_KEYED, 128, 511, 1029},
        {"create-3 key length 0", "k3", ORG_KEYED, 128, 0, 1029},
        {"create-4 record size 0", "k4", ORG_KEYED, 0, 8, 1028},
        {"create-5 other organisation", "k5", ORG_SEQUENTIAL, 10, 8, 1011},
        {"create-6 no directory", "no/such", ORG_DIRECT, 10, 0, ENOENT},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(t_StoreCreate(Path(c.pszName).c_str(), c.eOrg, c.nSize, c.nKey), c.nResult);
        if (c.nResult != 17) {
            EXPECT_NE(access(Path(c.pszName).c_str(), F_OK), 0) << "left a file behind";
        }
    }
    CStoreHeader h;
    unsigned long long n = 99;
    ASSERT_EQ(t_StoreInfo(sKeyed.c_str(), h, n), 0);
    EXPECT_EQ(h.eOrg, ORG_KEYED);
    EXPECT_EQ(h.nRecordSize, 128);
    EXPECT_EQ(h.nKeyLen, 16);
    EXPECT_EQ(n, 0u);
    ASSERT_EQ(t_StoreInfo(sDirect.c_str(), h, n), 0);
    EXPECT_EQ(h.eOrg, ORG_DIRECT);
    EXPECT_EQ(h.nKeyLen, 0);

    FILE* fp = std::fopen(Path("text.txt").c_str(), "w");
    std::fputs("not a store\n", fp);
    std::fclose(fp);
    EXPECT_EQ(t_StoreInfo(Path("text.txt").c_str(), h, n), 1011);
    EXPECT_FALSE(t_IsStoreFile(Path("text.txt").c_str()));
    EXPECT_TRUE(t_IsStoreFile(sKeyed.c_str()));
    CStoreChannel ch;
    EXPECT_EQ(b_Raised([&] { ch.Open(Path("missing").c_str(), false); }), ENOENT);
}

TEST_F(StoreTest, KeysFollowByteOrderAndRecordNumbersNumericOrder) {
    std::string sKeyed = Path("k"), sDirect = Path("d");
    ASSERT_EQ(t_StoreCreate(sKeyed.c_str(), ORG_KEYED, 32, 8), 0);
    ASSERT_EQ(t_StoreCreate(sDirect.c_str(), ORG_DIRECT, 32, 0), 0);
    CStoreChannel k, d;
    k.Open(sKeyed.c_str(), true);
    d.Open(sDirect.c_str(), true);
    std::vector<std::string> aKeys = {"b", "", "ab", "a", "\x01", "B", "a b", "\xff", "aa"};
    std::vector<uint32_t> aNumbers = {256, 1, 65536, 0, 255, 4294967295u, 2};
    for (auto const& s : aKeys) ASSERT_TRUE(k.Write(s, s.data(), s.size()));
    for (uint32_t n : aNumbers) ASSERT_TRUE(d.Write(t_RecnoKey(n), &n, sizeof n));
    std::sort(aKeys.begin(), aKeys.end(), [](std::string const& a, std::string const& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    EXPECT_EQ(s_Scan(k), aKeys);
    std::sort(aNumbers.begin(), aNumbers.end());
    std::vector<std::string> aExpect;
    for (uint32_t n : aNumbers) aExpect.push_back(t_RecnoKey(n));
    EXPECT_EQ(s_Scan(d), aExpect);
    EXPECT_EQ(k.Count(), 9u);
    std::string sRec;
    ASSERT_TRUE(d.ReadKey(t_RecnoKey(65536), sRec));
    EXPECT_EQ(sRec, std::string("\x00\x00\x01\x00", 4));
}

TEST_F(StoreTest, PositionSurvivesBetweenOperations) {
    std::string sPath = Path("pos");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 32, 8), 0);
    CStoreChannel ch;
    ch.Open(sPath.c_str(), true);
    for (char const* psz : {"b", "d", "f", "h"}) ASSERT_TRUE(ch.Write(psz, psz, 1));
    std::string sKey, sRec;
    struct {
        char const* pszId;
        char cOp;          // K read key, N next, P prev, T top, E end, D delete
        char const* pszArg;
        char const* pszKey;  // key found, or "!n" for error n
    } const aSteps[] = {
        {"pos-1 fresh channel NEXT is the first", 'N', "", "b"},
        {"pos-2 NEXT", 'N', "", "d"},
        {"pos-3 PREV", 'P', "", "b"},
        {"pos-4 PREV at the start", 'P', "", "!1063"},
        {"pos-5 NEXT after the start", 'N', "", "b"},
        {"pos-6 missing key", 'K', "e", "!1025"},
        {"pos-7 NEXT after a missing key", 'N', "", "f"},
        {"pos-8 missing key then PREV", 'K', "c", "!1025"},
        {"pos-9 PREV after a missing key", 'P', "", "b"},
        {"pos-10 END", 'E', "", "h"},
        {"pos-11 NEXT at the end", 'N', "", "!1063"},
        {"pos-12 NEXT stays at the end", 'N', "", "!1063"},
        {"pos-13 PREV after the end is the last", 'P', "", "h"},
        {"pos-14 read key", 'K', "d", "d"},
        {"pos-15 delete the current record", 'D', "d", "d"},
        {"pos-16 NEXT after a deleted record", 'N', "", "f"},
        {"pos-17 TOP", 'T', "", "b"},
    };
    for (auto const& s : aSteps) {
        SCOPED_TRACE(s.pszId);
        sKey = "?";
        int n = b_Raised([&] {
            switch (s.cOp) {
            case 'K': ASSERT_TRUE(ch.ReadKey(s.pszArg, sRec)); sKey = s.pszArg; break;
            case 'N': ASSERT_TRUE(ch.ReadNext(sKey, sRec)); break;
            case 'P': ASSERT_TRUE(ch.ReadPrev(sKey, sRec)); break;
            case 'T': ASSERT_TRUE(ch.ReadFirst(sKey, sRec)); break;
            case 'E': ASSERT_TRUE(ch.ReadLast(sKey, sRec)); break;
            case 'D': ASSERT_TRUE(ch.Delete(s.pszArg)); sKey = s.pszArg; break;
            }
        });
        std::string sGot = n ? "!" + std::to_string(n) : sKey;
        EXPECT_EQ(sGot, s.pszKey);
        if (!n && s.cOp != 'D') {
            EXPECT_EQ(sRec, sKey);
        }
    }
    EXPECT_EQ(b_Raised([&] { ch.Delete("zz"); }), 1025);
}

TEST_F(StoreTest, RecordsOfAnySizeAndReadOnlyChannels) {
    std::string sPath = Path("sizes");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 200000, 8), 0);
    CStoreChannel w, r;
    w.Open(sPath.c_str(), true);
    r.Open(sPath.c_str(), false);
    std::string sBig(150000, 'x');
    sBig[77777] = 0;
    ASSERT_TRUE(w.Write("big", sBig.data(), sBig.size()));
    ASSERT_TRUE(w.Write("empty", "", 0));
    std::string sRec;
    ASSERT_TRUE(r.ReadKey("big", sRec));
    EXPECT_EQ(sRec, sBig);
    ASSERT_TRUE(r.ReadKey("empty", sRec));
    EXPECT_EQ(sRec, "");
    EXPECT_EQ(b_Raised([&] { r.Write("x", "x", 1); }), 1019);
    EXPECT_EQ(b_Raised([&] { r.Delete("big"); }), 1019);
}

// One process holds a record; another process (and another channel of the
// same process) is refused while it is held, and gets it once it is let go
// or the holder dies.
TEST_F(StoreTest, RecordLocksBetweenProcesses) {
    std::string sPath = Path("locks");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 32, 8), 0);
    {
        CStoreChannel w;
        w.Open(sPath.c_str(), true);
        ASSERT_TRUE(w.Write("A", "a1", 2));
        ASSERT_TRUE(w.Write("B", "b1", 2));
    }
    CSignal held, release, released;
    pid_t pid = fork();
    if (pid == 0) {
        CStoreChannel ch;
        ch.Open(sPath.c_str(), true);
        std::string sRec;
        if (!ch.ReadKey("A", sRec)) _exit(1);
        held.Post();
        release.Wait();
        ch.Unlock();
        released.Post();
        release.Wait();
        if (!ch.ReadKey("A", sRec)) _exit(2);  // hold it again, then die holding it
        held.Post();
        pause();
        _exit(0);
    }
    held.Wait();
    CStoreChannel w, r;
    w.Open(sPath.c_str(), true);
    r.Open(sPath.c_str(), false);
    std::string sKey, sRec;
    EXPECT_FALSE(w.ReadKey("A", sRec)) << "read by key on an output channel";
    EXPECT_FALSE(r.ReadKey("A", sRec)) << "read by key on an input channel";
    EXPECT_FALSE(w.Write("A", "a2", 2));
    EXPECT_FALSE(w.Delete("A"));
    EXPECT_FALSE(w.ReadFirst(sKey, sRec)) << "a positional read that would hold A";
    ASSERT_TRUE(r.ReadFirst(sKey, sRec)) << "an input channel's positional read does not wait";
    EXPECT_EQ(sKey, "A");
    EXPECT_TRUE(w.ReadKey("B", sRec));
    EXPECT_TRUE(w.Write("B", "b2", 2));

    release.Post();
    released.Wait();
    ASSERT_TRUE(w.ReadKey("A", sRec));
    EXPECT_EQ(sRec, "a1");
    // Held now by w: another channel of this process is refused too.
    EXPECT_FALSE(r.ReadKey("A", sRec));
    ASSERT_TRUE(w.Write("A", "a2", 2));  // the write lets go
    ASSERT_TRUE(r.ReadKey("A", sRec));
    EXPECT_EQ(sRec, "a2");

    release.Post();
    held.Wait();
    EXPECT_FALSE(w.ReadKey("A", sRec));
    kill(pid, SIGKILL);
    EXPECT_EQ(s_WaitChild(pid), 128 + SIGKILL);
    ASSERT_TRUE(w.ReadKey("A", sRec)) << "the lock died with its process";
    EXPECT_EQ(sRec, "a2");
}

// Many channels hold one record each and let go in random order: every
// record not let go stays held, every one let go is free, and once every
// channel is closed no lock table is left behind in shared memory. Random
// keys make some of them meet in the lock table's probe runs.
TEST_F(StoreTest, ManyHeldRecordsAndNoTableLeftBehind) {
    std::string sPath = Path("many");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 8, 8), 0);
    constexpr int N = 300;
    std::mt19937 rng(7);
    std::vector<std::string> asKeys;
    while (asKeys.size() < N) {
        std::string sKey(8, ' ');
        for (char& c : sKey) c = static_cast<char>('A' + rng() % 26);
        if (std::find(asKeys.begin(), asKeys.end(), sKey) == asKeys.end()) asKeys.push_back(sKey);
    }
    {
        CStoreChannel w;
        w.Open(sPath.c_str(), true);
        for (auto const& sKey : asKeys) ASSERT_TRUE(w.Write(sKey, "x", 1));
    }
    struct stat st;
    ASSERT_EQ(stat(sPath.c_str(), &st), 0);
    char szTable[96];
    std::snprintf(szTable, sizeof szTable, "/dev/shm/morka-rlock-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    {
        std::vector<std::unique_ptr<CStoreChannel>> aHolders;
        std::string sRec;
        for (auto const& sKey : asKeys) {
            aHolders.push_back(std::make_unique<CStoreChannel>());
            aHolders.back()->Open(sPath.c_str(), true);
            ASSERT_TRUE(aHolders.back()->ReadKey(sKey, sRec)) << sKey;
        }
        EXPECT_EQ(access(szTable, F_OK), 0) << "the lock table lives while channels are open";
        std::vector<int> aOrder(N);
        for (int i = 0; i < N; ++i) aOrder[i] = i;
        std::shuffle(aOrder.begin(), aOrder.end(), rng);
        std::vector<bool> abHeld(N, true);
        CStoreChannel r;
        r.Open(sPath.c_str(), false);
        for (int i = 0; i < N; ++i) {
            aHolders[aOrder[i]]->Unlock();
            abHeld[aOrder[i]] = false;
            if (i % 50 != 49) continue;
            for (int k = 0; k < N; ++k) ASSERT_EQ(r.ReadKey(asKeys[k], sRec), !abHeld[k]) << asKeys[k] << " after " << i;
        }
    }
    EXPECT_NE(access(szTable, F_OK), 0) << szTable;
}

// N processes add 1 to a counter record 200 times each, waiting while the
// record is held; no increment is lost.
TEST_F(StoreTest, CountersUnderLocksLoseNoIncrement) {
    std::string sPath = Path("counter");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_DIRECT, 8, 0), 0);
    {
        CStoreChannel ch;
        ch.Open(sPath.c_str(), true);
        long long n = 0;
        ASSERT_TRUE(ch.Write(t_RecnoKey(7), &n, sizeof n));
    }
    constexpr int PROCESSES = 4, ROUNDS = 200;
    std::vector<pid_t> aPids;
    for (int p = 0; p < PROCESSES; ++p) {
        pid_t pid = fork();
        if (pid == 0) {
            CStoreChannel ch;
            ch.Open(sPath.c_str(), true);
            for (int i = 0; i < ROUNDS; ++i) {
                std::string sRec;
                while (!ch.ReadKey(t_RecnoKey(7), sRec)) usleep(100);
                long long n;
                std::memcpy(&n, sRec.data(), sizeof n);
                ++n;
                if (!ch.Write(t_RecnoKey(7), &n, sizeof n)) _exit(3);
            }
            _exit(0);
        }
        aPids.push_back(pid);
    }
    for (pid_t pid : aPids) EXPECT_EQ(s_WaitChild(pid), 0);
    CStoreChannel ch;
    ch.Open(sPath.c_str(), false);
    std::string sRec;
    ASSERT_TRUE(ch.ReadKey(t_RecnoKey(7), sRec));
    long long n;
    std::memcpy(&n, sRec.data(), sizeof n);
    EXPECT_EQ(n, PROCESSES * ROUNDS);
}

// A writer is killed with SIGKILL at random moments of a write loop; each
// time the file opens and holds every record whose write had returned.
TEST_F(StoreTest, WriterKilledAtAnyMomentLosesNoAcknowledgedRecord) {
    std::string sPath = Path("kill");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 300, 12), 0);
    auto sValue = [](int i) { return std::string(static_cast<std::size_t>(50 + i % 200), static_cast<char>('a' + i % 26)) + std::to_string(i); };
    auto sKeyOf = [](int i) {
        char sz[16];
        std::snprintf(sz, sizeof sz, "K%08d", (i * 7919) % 1000003);
        return std::string(sz);
    };
    std::mt19937 rng(12345);
    int iNext = 0;
    for (int iRound = 0; iRound < 6; ++iRound) {
        SCOPED_TRACE(iRound);
        int afd[2];
        ASSERT_EQ(pipe(afd), 0);
        int iStart = iNext;
        pid_t pid = fork();
        if (pid == 0) {
            close(afd[0]);
            CStoreChannel ch;
            ch.Open(sPath.c_str(), true);
            for (int i = iStart;; ++i) {
                std::string s = sValue(i);
                if (!ch.Write(sKeyOf(i), s.data(), s.size())) _exit(4);
                if (write(afd[1], &i, sizeof i) != sizeof i) _exit(5);
            }
        }
        close(afd[1]);
        usleep(20000 + rng() % 80000);
        kill(pid, SIGKILL);
        int iAcked = iStart - 1, i;
        while (read(afd[0], &i, sizeof i) == sizeof i) iAcked = i;
        close(afd[0]);
        EXPECT_EQ(s_WaitChild(pid), 128 + SIGKILL);
        ASSERT_GT(iAcked, iStart) << "the writer made no progress";

        CStoreChannel ch;
        ch.Open(sPath.c_str(), false);
        for (int k = 0; k <= iAcked; ++k) {
            std::string sRec;
            ASSERT_TRUE(ch.ReadKey(sKeyOf(k), sRec));
            ASSERT_EQ(sRec, sValue(k)) << "record " << k;
        }
        unsigned long long n = ch.Count();
        EXPECT_TRUE(n == static_cast<unsigned long long>(iAcked + 1) || n == static_cast<unsigned long long>(iAcked + 2))
            << n << " records, " << iAcked + 1 << " acknowledged";
        iNext = static_cast<int>(n);
    }
}

// A channel opened before fork() works in the child (which opens its own
// A file grows past its first map while another process has it open: the
// writer's map grows and the other process follows at its next operation,
// reading and writing records that lie past its old map.
TEST_F(StoreTest, FilesGrowPastTheirMapWhileOthersHaveThemOpen) {
    std::string sPath = Path("grow");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_DIRECT, 2048, 0), 0);
    CSignal opened, grown;
    pid_t pid = fork();
    if (pid == 0) {
        CStoreChannel ch;
        ch.Open(sPath.c_str(), true);
        std::string sRec;
        ch.Write(t_RecnoKey(1), "first", 5);
        opened.Post();
        grown.Wait();
        if (!ch.ReadKey(t_RecnoKey(20000), sRec) || sRec != std::string(2000, 'r')) _exit(1);
        if (!ch.Write(t_RecnoKey(20001), "last", 4)) _exit(2);
        _exit(0);
    }
    opened.Wait();
    {
        CStoreChannel w;
        w.Open(sPath.c_str(), true);
        std::string sBig(2000, 'r');
        for (uint32_t n = 2; n <= 20000; ++n) ASSERT_TRUE(w.Write(t_RecnoKey(n), sBig.data(), sBig.size()));
    }
    grown.Post();
    EXPECT_EQ(s_WaitChild(pid), 0);
    struct stat st;
    ASSERT_EQ(stat(sPath.c_str(), &st), 0);
    EXPECT_GT(st.st_size, 40 << 20) << "the file grew past its first map";
    EXPECT_GE(st.st_blocks * 512LL, st.st_size) << "its blocks are reserved, not a sparse map";
    CStoreChannel r;
    r.Open(sPath.c_str(), false);
    EXPECT_EQ(r.Count(), 20001u);
}

// environment) and afterwards still in the parent.
TEST_F(StoreTest, ChannelsSurviveFork) {
    std::string sPath = Path("fork");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 32, 8), 0);
    CStoreChannel ch;
    ch.Open(sPath.c_str(), true);
    ASSERT_TRUE(ch.Write("p", "parent", 6));
    std::string sRec;
    ASSERT_TRUE(ch.ReadKey("p", sRec));  // the parent holds p
    pid_t pid = fork();
    if (pid == 0) {
        std::string s;
        if (ch.ReadKey("p", s)) _exit(1);  // the child is another holder
        if (!ch.Write("c", "child", 5)) _exit(2);
        _exit(0);
    }
    EXPECT_EQ(s_WaitChild(pid), 0);
    ASSERT_TRUE(ch.ReadKey("c", sRec));
    EXPECT_EQ(sRec, "child");
    ASSERT_TRUE(ch.ReadKey("p", sRec));
    EXPECT_EQ(sRec, "parent");
}

// b_syncwrite=1 forces every commit to disk; by default commits are not
// forced one by one.
TEST_F(StoreTest, SyncSettingChoosesForcedCommits) {
    std::string sPath = Path("sync");
    ASSERT_EQ(t_StoreCreate(sPath.c_str(), ORG_KEYED, 32, 8), 0);
    for (char const* pszSetting : {"", "1"}) {
        SCOPED_TRACE(pszSetting);
        setenv("b_syncwrite", pszSetting, 1);
        CStoreChannel ch;
        ch.Open(sPath.c_str(), true);
        unsigned uFlags = 0;
        mdb_env_get_flags(ch.Store().Env(), &uFlags);
        EXPECT_EQ((uFlags & MDB_NOSYNC) != 0, *pszSetting == 0);
        ASSERT_TRUE(ch.Write("k", pszSetting, std::strlen(pszSetting)));
        std::string sRec;
        ASSERT_TRUE(ch.ReadKey("k", sRec));
        EXPECT_EQ(sRec, pszSetting);
    }
    unsetenv("b_syncwrite");
}
