// t_Locate, t_Engine, t_Fields and the user ids (names as host paths: "@path").
#include <morka/morka.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace morka;

TEST(FileInfo, LocateTellsKeyedFilesFromOthers) {
    char szDir[] = "/tmp/velbra-info-XXXXXX";
    ASSERT_NE(mkdtemp(szDir), nullptr);
    std::string sDir = szDir, sKeyed = sDir + "/cust.dat", sText = sDir + "/notes.txt";
    ASSERT_EQ(t_StoreCreate(sKeyed.c_str(), ORG_KEYED, 128, 20), 0);
    {
        CStoreChannel ch;
        ch.Open(sKeyed.c_str(), true);
        ASSERT_TRUE(ch.Write("a", "1", 1));
        ASSERT_TRUE(ch.Write("b", "2", 1));
    }
    FILE* fp = std::fopen(sText.c_str(), "w");
    std::fputs("line\n", fp);
    std::fclose(fp);
    chmod(sText.c_str(), 0640);

    CFileInfo info;
    ASSERT_EQ(t_Locate(info, ("@" + sKeyed).c_str()), 0);
    EXPECT_EQ(info.eOrg, ORG_KEYED);
    EXPECT_EQ(info.uNumber1, 20u);
    EXPECT_EQ(info.uNumber2, 128u);
    EXPECT_EQ(info.nRecords, 2u);
    EXPECT_EQ(info.sText1, "LMDB");
    EXPECT_EQ(info.sPath, sKeyed.c_str());
    EXPECT_EQ(info.sExtension, "dat");
    EXPECT_EQ(info.cDevice, DEV_DISK);
    EXPECT_EQ(info.uUid, getuid());

    ASSERT_EQ(t_Locate(info, ("@" + sText).c_str()), 0);
    EXPECT_EQ(info.eOrg, ORG_SEQUENTIAL);
    EXPECT_EQ(info.nSize, 5u);
    EXPECT_EQ(info.uMode, 0640u);
    EXPECT_EQ(info.sText1, "STDIO");
    EXPECT_EQ(t_Engine(("@" + sKeyed).c_str()), "LMDB");
    EXPECT_EQ(t_Engine(("@" + sText).c_str()), "STDIO");

    EXPECT_EQ(t_Locate(info, ("@" + sDir + "/missing").c_str()), 3030);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(t_Locate(info, ("@" + sDir).c_str()), 1034);
    EXPECT_EQ(t_Engine(("@" + sDir + "/missing").c_str()), "");
    std::system(("rm -rf " + sDir).c_str());
}

TEST(FileInfo, UserIdsAndFieldCounts) {
    EXPECT_EQ(t_LinuxUid("root"), 0);
    EXPECT_EQ(t_LinuxUid("no-such-user-here"), -1);
    EXPECT_EQ(t_LinuxUid(""), -1);
    EXPECT_EQ(t_MorkaUid("root"), 0);
    EXPECT_EQ(t_MorkaUid(1000u), 1000);
    EXPECT_EQ(t_MorkaUid(32768u), -1);
    EXPECT_EQ(t_MorkaUid("no-such-user-here"), -1);

    t_InitFiles();
    QXFILE* pFile = t_GetFile(3);
    pFile->bOpen = true;
    pFile->nFields = 4;
    EXPECT_EQ(t_Fields(3), 4);
    pFile->bOpen = false;
    EXPECT_EQ(t_Fields(3), -1);
    EXPECT_EQ(t_Fields(9999), -1);
}
