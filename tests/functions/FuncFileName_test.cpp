// VirtualFile and LinuxFile: the two directions of the file-name translation.
#include <velbra.h>

#include <cstdlib>
#include <gtest/gtest.h>

using namespace morka;

TEST(FuncFileName, BothDirectionsAgree) {
    setenv("b_drive_Q", "/tmp/velbra-drive-q", 1);
    for (char const* pszName : {"report.dat", "lib\\acct/report.dat.old", "x.dat:q", "/abs/file.txt"}) {
        SCOPED_TRACE(pszName);
        CBString sLinux = LinuxFile(pszName);
        ASSERT_FALSE(sLinux.empty());
        EXPECT_EQ(LinuxFile(VirtualFile(sLinux.c_str()).c_str()).str(), sLinux.str());
    }
    EXPECT_EQ(LinuxFile("x.dat:q").str(), "/tmp/velbra-drive-q/x.dat");
    EXPECT_EQ(LinuxFile("*").str(), "");
    EXPECT_EQ(LinuxFile(nullptr).str(), "");
    EXPECT_EQ(VirtualFile(nullptr).str(), "");
    unsetenv("b_drive_Q");
}
