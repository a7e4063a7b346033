// MemoryKeyed: a keyed driver for tests that keeps the records it is given
// in memory (48-byte records, 6-byte keys), keyed by the string key or by
// "#" and the record number (for the CKeyedTest fixture of IoFixture.h).
#pragma once

#include "io/IoFixture.h"

#include <velbra.h>
#include <morka/Driver.h>

#include <map>
#include <string>

// Keeps records in memory; its first nHeld writes answer "held by another
// program".
class CMemoryKeyed : public morka::CDriver {
public:
    std::map<std::string, std::string> aRecords;
    int nHeld = 0;
    int nWrites = 0;

    bool Open(morka::QXFILE* pFile) override {
        morka::t_SetRecordSize(pFile, 48);
        morka::t_SetKeyLen(pFile, 6);
        return true;
    }
    void Close(morka::QXFILE*) override {}
    bool WriteRecord(morka::QXFILE* pFile) override {
        ++nWrites;
        if (nHeld > 0) {
            --nHeld;
            return false;
        }
        std::string sKey = (pFile->eOrg & morka::MASK_NUMBER_KEY) ? "#" + std::to_string(pFile->iRecord)
                                                           : std::string(pFile->pKey);
        aRecords[sKey].assign(reinterpret_cast<char*>(pFile->pRecord), static_cast<std::size_t>(pFile->nBufferSize));
        return true;
    }
};

// A record as the memory driver keeps it: the text, zero-filled to 48 bytes.
inline std::string b_Record(std::string sText) {
    sText.resize(48, '\0');
    return sText;
}
