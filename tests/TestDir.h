// TestDir: a fresh temporary directory that a test runs in; the previous
// working directory comes back and the directory is removed afterwards.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <string>
#include <unistd.h>

class CTestDir {
public:
    CTestDir() {
        char szTemplate[] = "/tmp/velbra-test-XXXXXX";
        char* psz = mkdtemp(szTemplate);
        if (psz) m_sPath = psz;
        char szCwd[4096];
        if (getcwd(szCwd, sizeof szCwd)) m_sOld = szCwd;
        if (!m_sPath.empty()) (void)!chdir(m_sPath.c_str());
    }
    ~CTestDir() {
        if (!m_sOld.empty()) (void)!chdir(m_sOld.c_str());
        if (!m_sPath.empty())
            nftw(m_sPath.c_str(), [](char const* p, struct stat const*, int, struct FTW*) { return std::remove(p); }, 16,
                 FTW_DEPTH | FTW_PHYS);
    }
    CTestDir(CTestDir const&) = delete;
    CTestDir& operator=(CTestDir const&) = delete;
    std::string const& Path() const { return m_sPath; }

private:
    std::string m_sPath;
    std::string m_sOld;
};

// The whole content of a file ("" when it cannot be read).
inline std::string b_ReadFile(std::string const& sPath) {
    std::ifstream in(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void b_WriteFile(std::string const& sPath, std::string const& sText) {
    std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
    out << sText;
}

// The int error number fn raised, or 0.
template <class TFn>
int b_Raised(TFn&& fn) {
    try {
        fn();
    } catch (int n) {
        return n;
    }
    return 0;
}
