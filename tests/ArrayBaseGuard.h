// CArrayBaseGuard: sets the array base (OPTION BASE) for one test scope and
// restores it.
#pragma once

#include <morka/System.h>

class CArrayBaseGuard {
public:
    explicit CArrayBaseGuard(long lBase) : m_lSaved(morka::b_lArrayBase) { morka::b_lArrayBase = lBase; }
    ~CArrayBaseGuard() { morka::b_lArrayBase = m_lSaved; }
    CArrayBaseGuard(CArrayBaseGuard const&) = delete;
    CArrayBaseGuard& operator=(CArrayBaseGuard const&) = delete;

private:
    long m_lSaved;
};
