// IoFixture: a channel table of its own and a temporary directory for each
// test; errors with a BASIC number come back as that number (Error.bThrow),
// so a test sees what an ON ERROR handler would see in ERR.
#pragma once

#include "TestDir.h"

#include <velbra.h>

#include <gtest/gtest.h>
#include <string>

class CIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("b_opennl");
        morka::t_InitFiles();
        morka::FileMngr.iLockMode = 0;
        m_bSavedThrow = morka::Error.bThrow;
        morka::Error.bThrow = true;
        m_cSavedDecimal = morka::Morka.cDecimal;
        morka::b_bConformToDoc = true;
    }
    void TearDown() override {
        try {
            morka::t_CloseAll();
        } catch (int) {
        }
        morka::Error.bThrow = m_bSavedThrow;
        morka::Morka.cDecimal = m_cSavedDecimal;
        morka::b_bConformToDoc = true;
    }

    // Opens channel ch on a new text file for output with flags, runs fn,
    // closes it and returns what the file holds.
    template <class TFn>
    std::string Written(unsigned uFlags, TFn&& fn, int ch = 1) {
        morka::Open(ch, "print.txt", morka::ORG_SEQUENTIAL, morka::ACC_OUTPUT, uFlags);
        fn();
        morka::Close(ch);
        return b_ReadFile("print.txt");
    }

    CTestDir m_dir;
    bool m_bSavedThrow = false;
    char m_cSavedDecimal = '.';
};

// Channel 1 on a string-keyed file and channel 2 on a record-number file,
// both served by the test's own driver while the test runs.
template <class TDriver>
class CKeyedTest : public CIoTest {
protected:
    void SetUp() override {
        CIoTest::SetUp();
        m_pKeyed = morka::t_GetDriver(morka::DRV_KEYED);
        m_pDirect = morka::t_GetDriver(morka::DRV_DIRECT);
        morka::t_SetDriver(morka::DRV_KEYED, &m_driver);
        morka::t_SetDriver(morka::DRV_DIRECT, &m_driver);
        morka::Open(1, "keys.dat", morka::ORG_KEYED, morka::ACC_UPDATE, 0);
        morka::Open(2, "numbers.dat", morka::ORG_DIRECT, morka::ACC_UPDATE, 0);
    }
    void TearDown() override {
        CIoTest::TearDown();
        morka::t_SetDriver(morka::DRV_KEYED, m_pKeyed);
        morka::t_SetDriver(morka::DRV_DIRECT, m_pDirect);
    }
    TDriver m_driver;
    morka::CDriver* m_pKeyed = nullptr;   // the system layer's drivers, put back afterwards
    morka::CDriver* m_pDirect = nullptr;
};
