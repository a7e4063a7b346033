// Process table: task numbers are unique among running programs and a killed
// program's number is free again at once.
#include <morka/morka.h>

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct CTask {
    pid_t pid;
    int iTask;
};

// Starts a process that takes a task number, reports it and waits to be killed.
CTask s_StartTask() {
    int aPipe[2];
    if (pipe(aPipe) != 0) return {-1, 0};
    pid_t pid = fork();
    if (pid == 0) {
        close(aPipe[0]);
        unsetenv("b_morkatask");
        setenv("b_termmode", "1", 1);
        char aName[] = "task";
        char* argv[] = {aName, nullptr};
        int iTask = 0;
        try {
            morka::t_Init(1, argv, 2, false);
            iTask = morka::t_GetPid();
        } catch (int) {
            iTask = -1;
        }
        (void)!write(aPipe[1], &iTask, sizeof iTask);
        pause();
        _exit(0);
    }
    close(aPipe[1]);
    int iTask = 0;
    (void)!read(aPipe[0], &iTask, sizeof iTask);
    close(aPipe[0]);
    return {pid, iTask};
}

void s_Kill(CTask const& t) {
    kill(t.pid, SIGKILL);
    waitpid(t.pid, nullptr, 0);
}

class ProcTable : public ::testing::Test {
protected:
    void SetUp() override {
        char aTemplate[] = "/tmp/velbra-tasks-XXXXXX";
        int fd = mkstemp(aTemplate);
        ASSERT_GE(fd, 0);
        close(fd);
        m_sPath = aTemplate;
        setenv("b_tasktable", m_sPath.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("b_tasktable");
        std::remove(m_sPath.c_str());
    }
    std::string m_sPath;
};

}  // namespace

TEST_F(ProcTable, NumbersAreUniqueAndFreedWhenAProgramDies) {
    std::vector<CTask> aTasks;
    for (int i = 0; i < 5; ++i) aTasks.push_back(s_StartTask());
    std::set<int> seen;
    for (CTask const& t : aTasks) {
        EXPECT_GE(t.iTask, 1);
        EXPECT_LE(t.iTask, morka::t_GetMaxTask());
        seen.insert(t.iTask);
    }
    EXPECT_EQ(seen.size(), aTasks.size()) << "two running programs share a task number";

    // Killing a program (no clean-up runs) frees its number for the next one.
    int iFreed = aTasks[2].iTask;
    s_Kill(aTasks[2]);
    CTask next = s_StartTask();
    EXPECT_EQ(next.iTask, iFreed);
    aTasks[2] = next;
    for (CTask const& t : aTasks) s_Kill(t);
}
