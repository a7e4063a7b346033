// CCharsetGuard: sets the active character set (Morka.iCharset) for one test
// scope and restores it.
#pragma once

#include <morka/Settings.h>

class CCharsetGuard {
public:
    explicit CCharsetGuard(int iCharset) : m_iSaved(morka::Morka.iCharset) { morka::Morka.iCharset = iCharset; }
    ~CCharsetGuard() { morka::Morka.iCharset = m_iSaved; }
    CCharsetGuard(CCharsetGuard const&) = delete;
    CCharsetGuard& operator=(CCharsetGuard const&) = delete;

private:
    int m_iSaved;
};
