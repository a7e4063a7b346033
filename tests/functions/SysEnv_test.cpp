// SysEnv, GetEnv/SetEnv, the line-end mode of a channel, temporary names and
// the control-code names.
#include "../io/IoFixture.h"

#include <velbra/SysEnv.h>

using namespace morka;

namespace {

std::string S(CBString const& s) { return std::string(s.c_str(), static_cast<std::size_t>(s.length())); }

}  // namespace

TEST(ControlCodes, NamesAndPatterns) {
    struct Row {
        char const* pszName;
        bool bPrinter;
        int iCode;  // -1: no code
    };
    Row const aRows[] = {
        {"cr", false, 13},    {"CLEAR", false, 12}, {"C", false, 12},   {"DL", false, 18},
        {"DOWN", false, 10},  {"ulc", false, 160},  {"HORIZ", false, 169}, {"DVER", true, -1},
        {"DVERT.", false, 185}, {"ZZ", false, -1},  {"", false, -1},    {"LF", true, 10},
        {"EJECT", true, 12},  {"ULC", true, 160},   {"CR", true, -1},   {"CPI12", true, 17},
    };
    for (Row const& r : aRows) {
        SCOPED_TRACE(std::string(r.pszName) + (r.bPrinter ? " prt" : " crt"));
        CBString s = r.bPrinter ? Prt(r.pszName) : Crt(r.pszName);
        if (r.iCode < 0) {
            EXPECT_EQ(s.length(), 0);
        } else {
            ASSERT_EQ(s.length(), 1);
            EXPECT_EQ(static_cast<unsigned char>(s.c_str()[0]), r.iCode);
        }
    }
}

TEST(SysEnv, NamedValues) {
    unsetenv("b_home");
    EXPECT_EQ(S(SetEnv("home", "/x")), "/x");
    EXPECT_EQ(S(GetEnv("HOME")), "/x");
    EXPECT_EQ(S(SysEnv(17, "Home=/y")), "/x");
    EXPECT_EQ(S(GetEnv("home")), "/y");
    SetEnv("HOME", "");
    EXPECT_EQ(getenv("b_home"), nullptr);
    // Read-only names are not set.
    setenv("b_quit", "q", 1);
    SysEnv(17, "QUIT=z");
    EXPECT_EQ(S(GetEnv("QUIT")), "q");
    unsetenv("b_quit");
    // Names outside the table are variables of their own.
    SetEnv("VELBRA_T1", "v");
    EXPECT_EQ(S(SysEnv(1017, "VELBRA_T1")), "v");
    unsetenv("VELBRA_T1");
}

TEST(SysEnv, FixedSelectors) {
    EXPECT_EQ(S(SysEnv(19, nullptr)), b_bDecimalFlavour ? "BCD" : "IEEE");
    EXPECT_EQ(S(SysEnv(100, nullptr)), "LINUX");
    EXPECT_EQ(S(SysEnv(999, nullptr)), "");
    unsetenv("b_yes");
    EXPECT_EQ(S(SysEnv(8, "0")), "1YES");
    EXPECT_EQ(S(SysEnv(8, "2")), "");
    int32_t iSaved = b_iOnSignalsTraps;
    b_iOnSignalsTraps = 0x101;
    EXPECT_EQ(S(SysEnv(21, nullptr)), "0100000001");
    b_iOnSignalsTraps = iSaved;
}

TEST(SysEnv, TemporaryNames) {
    std::string a = S(SysEnv(20, "work.xxxxxx"));
    std::string b = S(SysEnv(20, "work.xxxxxx"));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.compare(0, 5, "work."), 0);
    EXPECT_NE(a, b);
    std::string c = S(SysEnv(20, "t###@.tmp"));
    EXPECT_NE(c.find(".tmp"), std::string::npos);
    EXPECT_EQ(c.find('#'), std::string::npos);
    EXPECT_EQ(S(SysEnv(20, "keep.me")), "keep.me");
    EXPECT_EQ(S(SysEnv(20, "")).compare(0, 11, "system.work"), 0);
}

class OpenNlTest : public CIoTest {};

TEST_F(OpenNlTest, ReadsAndSetsTheLineEnd) {
    EXPECT_EQ(S(_SetOpenNl("1,1")), "");  // not open
    Open(1, "nl.txt", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
    _SetOpenNl("1,2");
    EXPECT_EQ(S(_SetOpenNl("1,1")), "2");
    EXPECT_EQ(S(_SetOpenNl("1")), "1");
    EXPECT_EQ(S(_SetOpenNl("1")), "0");
    Close(1);
}
