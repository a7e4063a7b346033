// TempFile: a temporary file name for a test, the file removed at the end of
// the test (the process table of the programs a test starts, for one).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace morka::test {

class CTempFile {
public:
    CTempFile() {
        char aTemplate[] = "/tmp/velbra-test-XXXXXX";
        int fd = mkstemp(aTemplate);
        if (fd >= 0) close(fd);
        m_sPath = fd >= 0 ? aTemplate : "";
    }
    ~CTempFile() {
        if (!m_sPath.empty()) std::remove(m_sPath.c_str());
    }
    CTempFile(CTempFile const&) = delete;
    CTempFile& operator=(CTempFile const&) = delete;

    std::string const& Path() const { return m_sPath; }

private:
    std::string m_sPath;
};

}  // namespace morka::test
