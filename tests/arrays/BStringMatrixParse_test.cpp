// Split, Parse, Path and Join of string arrays.
#include <velbra.h>
#include <velbra/Matrix.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#include "../ArrayBaseGuard.h"

using namespace morka;

namespace {

// Elements from subscript 1 to the upper bound (column 1 of a 2-D array).
std::vector<std::string> From1(CBStringMatrix& a) {
    std::vector<std::string> v;
    for (int i = 1; i <= a.Ubound(1); ++i) v.push_back(a(i, 1).str());
    return v;
}

using V = std::vector<std::string>;

}  // namespace

TEST(BStringMatrixParse, SplitAndParse) {
    struct { char const* id; char const* pszText; char const* pszDelims; V aSplit; V aParse; } const aCases[] = {
        {"commas", ",a,,b,", ",", {"a", "b"}, {",", "a", ",,", "b", ","}},
        {"no-delims", "abc", "", {"abc"}, {"abc"}},
        {"empty-text", "", ",", {""}, {""}},
        {"delims-only", ",,", ",", {""}, {",,"}},
        {"two-delims", "a b;c", " ;", {"a", "b", "c"}, {"a", " ", "b", ";", "c"}},
        {"no-delim-in-text", "abc", ",", {"abc"}, {"abc"}},
    };
    for (long lBase : {1L, 0L}) {
        CArrayBaseGuard base(lBase);
        for (auto const& c : aCases) {
            SCOPED_TRACE(std::string(c.id) + " base " + std::to_string(lBase));
            CBStringMatrix a(7, 0);
            a = "old";
            a.Split(c.pszText, c.pszDelims);
            EXPECT_EQ(From1(a), c.aSplit);
            if (lBase == 0) {
                EXPECT_EQ(a(0, 0).str(), "");
            }
            a.Parse(CBString(c.pszText), CBString(c.pszDelims));
            EXPECT_EQ(From1(a), c.aParse);
            if (lBase == 0) {
                EXPECT_EQ(a(0, 0).str(), "");
            }
        }
    }
}

TEST(BStringMatrixParse, TwoDimensionalArraysFillColumnOne) {
    for (long lBase : {1L, 0L}) {
        SCOPED_TRACE(lBase);
        CArrayBaseGuard base(lBase);
        CBStringMatrix a(2, 3);
        a = "old";
        a.Split(CBString("x y z"), " ");
        EXPECT_EQ(a.nDims, 2);
        EXPECT_EQ(a.Ubound(1), 3);
        EXPECT_EQ(a.Ubound(2), 1);
        EXPECT_EQ(From1(a), (V{"x", "y", "z"}));
        EXPECT_EQ(a.Join(-1, -1).str(), "xyz");
    }
}

TEST(BStringMatrixParse, PathLayout) {
    setenv("VELBRA_PATH_LIB", "/srv/lib", 1);
    struct { char const* id; char const* pszPath; int iMode; V aExpected; bool bMember; } const aCases[] = {
        {"name-drive", "report.dat:d", 0, {"", "", "", "", "report", ".", "dat", ":", "d"}, false},
        {"member", "lib\\acct/report.dat.old", 0,
         {"lib", "\\", "acct", "/", "report", ".", "dat", ".", "old", ":", "*"}, true},
        {"host", "/home/u/file.log:@", 0, {"", "", "/home/u", "/", "file", ".", "log", ":", "@"}, false},
        {"dir-only", "dir/", 0, {"", "", "dir", "/", ":", "*"}, false},
        {"empty", "", 0, {"", "", "", "", ":", "*"}, false},
        {"star-drive", "a:*", 0, {"", "", "", "", "a", ":", "*"}, false},
        {"upper-drive", "a:Q", 0, {"", "", "", "", "a", ":", "q"}, false},
        {"host-no-slash", "file.c:host", 0, {"", "", "", "", "file", ".", "c", ":", "@"}, false},
        {"host-dir-only", "/tmp/:@", 0, {"", "", "/tmp", "/", ":", "@"}, false},
        {"symbol-library", "$VELBRA_PATH_LIB\\x", 0, {"/srv/lib", "\\", "", "", "x", ":", "*"}, false},
        {"host-keeps-symbol", "$VELBRA_PATH_LIB/x:@", 0, {"", "", "$VELBRA_PATH_LIB", "/", "x", ":", "@"}, false},
        {"dest-equals", "a==b=.===:c", 2, {"", "", "", "", "a=b=", ".", "=", ":", "c"}, false},
        {"src-equals-kept", "a==b:c", 1, {"", "", "", "", "a==b", ":", "c"}, false},
        {"empty-part", "a..b", 0, {"", "", "", "", "a", ".", "", ".", "b", ":", "*"}, true},
        {"library-only", "lib\\", 0, {"lib", "\\", "", "", ":", "*"}, false},
    };
    for (long lBase : {1L, 0L}) {
        CArrayBaseGuard base(lBase);
        for (auto const& c : aCases) {
            SCOPED_TRACE(std::string(c.id) + " base " + std::to_string(lBase));
            CBStringMatrix a(3, 0);
            a.Path(c.pszPath, c.iMode);
            EXPECT_EQ(From1(a), c.aExpected);
            EXPECT_EQ(a.IsMemberPath(), c.bMember);
        }
    }
    unsetenv("VELBRA_PATH_LIB");
}

TEST(BStringMatrixParse, JoinRanges) {
    struct { char const* id; long lBase; int iFrom; int iTo; char const* pszExpected; } const aCases[] = {
        {"one", 1, 1, 1, "x"},          {"to-end", 1, 2, -1, "yz"},     {"clamped", 1, 0, 99, "xyz"},
        {"reversed", 1, 3, 2, ""},      {"past-end", 1, 4, 9, ""},      {"negative-to", 1, 1, -2, ""},
        {"b0-all", 0, 0, -1, "xyz"},    {"b0-last", 0, 3, 3, "z"},      {"b0-beyond", 0, 1, 4, "xyz"},
    };
    for (auto const& c : aCases) {
        SCOPED_TRACE(c.id);
        CArrayBaseGuard base(c.lBase);
        CBStringMatrix a(3, 0);
        a.Split("x y z", " ");
        EXPECT_EQ(a.Join(c.iFrom, c.iTo).str(), c.pszExpected);
        EXPECT_EQ(Join(a, c.iFrom, c.iTo).str(), c.pszExpected);
    }
}
