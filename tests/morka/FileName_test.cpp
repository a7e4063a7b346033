// File names: the system's form to Linux paths and back, device types.
#include <morka/morka.h>

#include <cstdlib>
#include <gtest/gtest.h>

using namespace morka;

namespace {

class FileNames : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("b_drive_B", "/data/b/", 1);
        setenv("b_drive_C", "/data/b/c", 1);
        unsetenv("b_drive_D");
        setenv("b_prt1", "", 1);
        setenv("b_prt3", "/tmp/spool-p3", 1);
        unsetenv("b_prt2");
    }
    void TearDown() override {
        for (char const* psz : {"b_drive_B", "b_drive_C", "b_prt1", "b_prt3"}) unsetenv(psz);
    }
};

struct CNameCase {
    char const* pszId;
    char const* pszName;
    char const* pszLinux;  // "" when the name has no Linux path
};

}  // namespace

TEST_F(FileNames, SystemNameToLinuxPath) {
    CNameCase const aCases[] = {
        {"fn-1", "cust.dat", "cust.dat"},
        {"fn-2", "  cust.dat  ", "cust.dat"},
        {"fn-3", "dir/sub/cust.dat", "dir/sub/cust.dat"},
        {"fn-4", "/abs/x.y", "/abs/x.y"},
        {"fn-5", "cust.dat:B", "/data/b/cust.dat"},
        {"fn-6", "cust.dat:b", "/data/b/cust.dat"},
        {"fn-7", "LIB\\cust.dat:B", "/data/b/LIB.lib/cust.dat"},
        {"fn-8", "LIB\\dir/cust:C", "/data/b/c/LIB.lib/dir/cust"},
        {"fn-9", "LIB\\x", "LIB.lib/x"},
        {"fn-10", "@/tmp/a:b\\c", "/tmp/a:b\\c"},
        {"bad-1", "", ""},
        {"bad-2", "*", ""},
        {"bad-3", "a..b", ""},
        {"bad-4", ".profile", ""},
        {"bad-5", "x.", ""},
        {"bad-6", "dir/", ""},
        {"bad-7", "a:b:C", ""},
        {"bad-8", "L1\\L2\\x", ""},
        {"bad-9", "\\x", ""},
        {"bad-10", "/abs:B", ""},
        {"bad-11", "L\\/abs", ""},
        {"bad-12", "@", ""},
        {"bad-13", "x:D", ""},
        {"bad-14", "dir/..", ""},
    };
    for (CNameCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(t_morka_fn_2_linux_fn(c.pszName), CBString(c.pszLinux));
    }
}

TEST_F(FileNames, LinuxPathBackToSystemNameAndRoundTrip) {
    CNameCase const aCases[] = {
        {"rev-1", "/data/b/cust.dat", "cust.dat:B"},
        {"rev-2", "/data/b/c/x", "x:C"},  // the longest drive directory wins
        {"rev-3", "/data/b/LIB.lib/dir/cust", "LIB\\dir/cust:B"},
        {"rev-4", "rel/x.y", "rel/x.y"},
        {"rev-5", "lib.lib/x", "lib\\x"},
        {"rev-6", "/other/y", "/other/y"},
        {"rev-7", "/tmp/a:b", "@/tmp/a:b"},
        {"rev-8", "/data/b/", "@/data/b/"},
        {"rev-9", ".hidden", "@.hidden"},
        {"rev-10", "x.lib", "x.lib"},
        {"rev-11", "", ""},
    };
    for (CNameCase const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        CBString sName = t_linux_fn_2_morka_fn(c.pszName, 0);
        EXPECT_EQ(sName, CBString(c.pszLinux));
        if (*c.pszName) {
            EXPECT_EQ(t_morka_fn_2_linux_fn(sName.c_str()), CBString(c.pszName));
        }
    }
    EXPECT_EQ(t_linux_fn_2_morka_fn("/data/b/cust.dat", 1), CBString("/data/b/cust.dat"));
}

TEST_F(FileNames, DeviceTypesAndPrinterSpools) {
    struct {
        char const* pszId;
        char const* pszName;
        int iDevice;
    } const aCases[] = {
        {"dev-1", "CON", 1},      {"dev-2", " con ", 1}, {"dev-3", "Console", 1}, {"dev-4", "PRT1", 3},
        {"dev-5", "prt3", 3},     {"dev-6", "PRT2", 0},  {"dev-7", "x.dat", 2},   {"dev-8", "@/x", 2},
        {"dev-9", "", 0},         {"dev-10", "*", 0},    {"dev-11", "a..b", 0},   {"dev-12", "y:D", 0},
        {"dev-13", "PRTX", 2},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.pszId);
        EXPECT_EQ(t_Device(c.pszName), c.iDevice);
    }
    EXPECT_EQ(t_PrinterSpool("PRT1"), CBString("prt1.spool"));
    EXPECT_EQ(t_PrinterSpool("prt3"), CBString("/tmp/spool-p3"));
    EXPECT_EQ(t_PrinterSpool("PRT2"), CBString(""));
}
