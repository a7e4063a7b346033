// FileCalls: the file utility CALL routines (velbra/FileCalls.h). Choices:
// - SEQ_FREAD reads in steps of 64 KiB, so a large count never allocates
//   more than the file holds; a read error gives -1;
// - SEQ_READ walks the record within its length: a BCD number or a string
//   cut by the end of the record ends the walk with 1;
// - FILE_CREATE_EX with an empty type gives 35 like an unknown type;
// - FILE_RECORDS counts a tagged file's records by their end bytes, skipping
//   field payloads; a negative 4-byte string length skips only the length.
#include <velbra/FileCalls.h>
#include <velbra/ErrorTrap.h>
#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/FuncDate.h>
#include <velbra/LockWait.h>
#include <velbra/Record.h>
#include <velbra/Startup.h>
#include <morka/morka.h>
#include "runtime/files/RecordOps.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace morka {

namespace {

constexpr int READ_STEP = 64 * 1024;

// Runs a routine: its result, or the number of an error raised inside it,
// becomes CALL_RETURN_VALUE. bRaise12: out of memory is raised again.
template <class TFn>
int s_Call(TFn&& fn, bool bRaise12 = false) {
    int n;
    try {
        n = fn();
    } catch (...) {
        n = b_CurrentErrorNumber();
        if (n == 12 && bRaise12) throw 12;
    }
    CALL_RETURN_VALUE = n;
    return n;
}

QXFILE* s_Check(QXFILE const* pFile, int iMask, int iAccess) { return b_CheckOpen(t_GetFileNum(pFile), iMask, iAccess); }

// Walks a record read by SEQ_READ: BCD numbers become decimal fields, string
// bytes 128 become 231 when asked. 0 at the end of the record, 1 at a field
// of another kind or one cut by the end.
int s_ConvertRecord(unsigned char* p, int nLen, bool b128To231) {
    int i = 0;
    while (i < nLen) {
        unsigned char cTag = p[i++];
        if (cTag == TAG_INT16) {
            if (i + 2 > nLen) return 1;
            i += 2;
        } else if (cTag == TAG_BCD) {
            if (i + 8 > nLen) return 1;
            p[i - 1] = TAG_DECIMAL;
            decimal64 x = bcd2dfp(p + i);
            std::memcpy(p + i, &x, 8);
            i += 8;
        } else if (cTag == TAG_STRING8 || cTag == TAG_STRING32) {
            int nPrefix = cTag == TAG_STRING8 ? 1 : 4;
            if (i + nPrefix > nLen) return 1;
            long long nStr = cTag == TAG_STRING8 ? p[i]
                                                : static_cast<int32_t>(p[i] | p[i + 1] << 8 | p[i + 2] << 16 |
                                                                       static_cast<uint32_t>(p[i + 3]) << 24);
            i += nPrefix;
            if (nStr < 0 || i + nStr > nLen) return 1;
            if (b128To231)
                for (long long k = 0; k < nStr; ++k)
                    if (p[i + k] == 128) p[i + k] = 231;
            i += static_cast<int>(nStr);
        } else {
            return 1;
        }
    }
    return 0;
}

int s_SeqRead(QXFILE* pFileArg, CBString& record, bool b128To231) {
    record = CBString();
    return s_Call([&] {
        QXFILE* pFile = s_Check(pFileArg, ORG_SEQUENTIAL, ACC_INPUT);
        _Read(pFile);
        if (pFile->bEndOfFile) return -1;
        int nLen = pFile->nRecordLen < pFile->nBufferSize ? pFile->nRecordLen : pFile->nBufferSize;
        int iResult = s_ConvertRecord(pFile->pRecord, nLen, b128To231);
        record = CBString(reinterpret_cast<char const*>(pFile->pRecord), nLen);
        return iResult;
    });
}

int s_WriteKeyed(QXFILE* pFileArg, int iMask, CBString const* pKey, CDfp const* pNumber, CBString const& record) {
    return s_Call([&] {
        QXFILE* pFile = s_Check(pFileArg, iMask, ACC_OUTPUT);
        if (pKey) _SetStringKey(pFile, pKey->c_str(), true);
        else _SetIntegerKey(pFile, CInt32(*pNumber));
        _SetRecordBytes(pFile, record.data(), record.length(), false);
        _WriteRecord(pFile);
        return 0;
    });
}

// The number of records of a record-number file, read in key order on a
// channel of its own.
unsigned long long s_CountDirect(CBString const& sName) {
    int iChannel = t_NextFile();
    b_LockWait(nullptr, MORKA_ELOCKED, [&] { return t_Open(iChannel, sName.c_str(), DEV_DISK, ORG_DIRECT, ACC_INPUT, 0); });
    unsigned long long n = 0;
    QXFILE* pFile = t_GetFile(iChannel);
    try {
        for (;;) {
            try {
                _ReadPositional(pFile, POS_NEXT);
            } catch (int e) {
                if (e != MORKA_EEOF) throw;
                break;
            }
            ++n;
        }
    } catch (...) {
        t_Close(iChannel);
        throw;
    }
    t_Close(iChannel);
    return n;
}

// Records of a tagged sequential file: the end bytes between its fields.
unsigned long long s_CountTagged(FILE* fp) {
    unsigned long long n = 0;
    int c;
    while ((c = getc_unlocked(fp)) != EOF) {
        long long nSkip = 0;
        switch (c) {
        case 0: ++n; break;
        case TAG_INT16: nSkip = 2; break;
        case TAG_INT32: nSkip = 4; break;
        case TAG_BCD:
        case TAG_DECIMAL:
        case TAG_DOUBLE: nSkip = 8; break;
        case TAG_STRING8:
        case TAG_STRING16:
        case TAG_STRING32: {
            int nPrefix = c == TAG_STRING8 ? 1 : c == TAG_STRING16 ? 2 : 4;
            unsigned char ab[4] = {};
            if (fread_unlocked(ab, 1, static_cast<std::size_t>(nPrefix), fp) != static_cast<std::size_t>(nPrefix)) return n;
            nSkip = c == TAG_STRING8 ? ab[0] : c == TAG_STRING16 ? (ab[0] | ab[1] << 8)
                  : static_cast<int32_t>(ab[0] | ab[1] << 8 | ab[2] << 16 | static_cast<uint32_t>(ab[3]) << 24);
            if (nSkip < 0) nSkip = 0;
            break;
        }
        default: break;
        }
        if (nSkip && std::fseek(fp, static_cast<long>(nSkip), SEEK_CUR) != 0) return n;
    }
    return n;
}

// Lines of a text file: its line end is the first LF or CR in the first
// 32767 bytes (CR when there is none).
unsigned long long s_CountText(FILE* fp) {
    char aBuf[32767];
    std::size_t nGot = fread_unlocked(aBuf, 1, sizeof aBuf, fp);
    int cEnd = '\r';
    for (std::size_t i = 0; i < nGot; ++i) {
        if (aBuf[i] == '\n' || aBuf[i] == '\r') {
            cEnd = aBuf[i];
            break;
        }
    }
    std::rewind(fp);
    unsigned long long n = 0;
    int c;
    while ((c = getc_unlocked(fp)) != EOF)
        if (c == cEnd) ++n;
    return n;
}

// Locates a file for FILE_RECORDS and FIND_FILE_EX; false (ERR set from
// errno) when it is no disk file or cannot be located.
bool s_Locate(CBString const& sName, CFileInfo& info) {
    int n = t_Device(sName.c_str()) == DEV_DISK ? t_Locate(info, sName.c_str()) : -1;
    if (n == 0) return true;
    int iErrno = n < 0 ? ENODEV : errno;
    if (n == 1034) b_ErrorHandler(1034, 0);
    b_QxErrno2Berror(iErrno);
    return false;
}

}  // namespace

int RECORD_FIELDS(QXFILE* pFile, CInt16& count) {
    int n = t_Fields(t_GetFileNum(pFile));
    count = CInt16(b_I(n));
    if (n != -1) return 0;
    CALL_RETURN_VALUE = -1;
    return -1;
}

int SPOOLER_REPORT(QXFILE* pFile, CInt32& n) {
    return s_Call([&] {
        QXFILE* p = s_Check(pFile, ORG_SEQUENTIAL, ACC_OUTPUT);
        n = CInt32(b_L(static_cast<long>(t_SpoolerReport(p->iChannel))));
        return 0;
    });
}

int SPOOLER_REPORT(QXFILE* pFile, CDfp& n) {
    return s_Call([&] {
        QXFILE* p = s_Check(pFile, ORG_SEQUENTIAL, ACC_OUTPUT);
        n = CDfp(static_cast<long long>(t_SpoolerReport(p->iChannel)));
        return 0;
    });
}

int USERID(CBString name) { return s_Call([&] { return t_LinuxUid(name.c_str()); }); }
int TUSERID(CBString name) { return s_Call([&] { return t_MorkaUid(name.c_str()); }); }

int SEQ_FWRITE(QXFILE* pFile, CBString& data) {
    return s_Call(
        [&] {
            QXFILE* p = s_Check(pFile, ORG_SEQUENTIAL, ACC_OUTPUT);
            try {
                t_DriverOut(p)->Write(p, data.data(), static_cast<std::size_t>(data.length()));
            } catch (int n) {
                if (n < 1000 && n != 12) return -1;
                throw;
            }
            return 0;
        },
        true);
}

int SEQ_WRITE(QXFILE* pFile, CBString data) {
    return s_Call([&] {
        QXFILE* p = s_Check(pFile, ORG_SEQUENTIAL, ACC_OUTPUT);
        t_DriverOut(p)->Write(p, data.data(), static_cast<std::size_t>(data.length()));
        _FWriteEor(p);
        return 0;
    });
}

int SEQ_FREAD(QXFILE* pFile, CBString& data, CDfp count) {
    data = CBString();
    return s_Call(
        [&] {
            int nWant = CInt32(count);
            QXFILE* p = s_Check(pFile, ORG_SEQUENTIAL, ACC_INPUT);
            std::string sBytes;
            try {
                while (nWant > 0) {
                    int nStep = nWant < READ_STEP ? nWant : READ_STEP;
                    std::size_t nOld = sBytes.size();
                    sBytes.resize(nOld + static_cast<std::size_t>(nStep));
                    std::size_t nGot = t_Driver(p)->Read(p, sBytes.data() + nOld, static_cast<std::size_t>(nStep));
                    sBytes.resize(nOld + nGot);
                    nWant -= static_cast<int>(nGot);
                    if (nGot < static_cast<std::size_t>(nStep)) break;
                }
            } catch (int n) {
                data = CBString(std::move(sBytes));
                if (n < 1000 && n != 12) return -1;
                throw;
            }
            data = CBString(std::move(sBytes));
            return 0;
        },
        true);
}

int SEQ_READ(QXFILE* pFile, CBString& record) { return s_SeqRead(pFile, record, false); }
int SEQ_READ_128TO231(QXFILE* pFile, CBString& record) { return s_SeqRead(pFile, record, true); }

int IND_WRITE(QXFILE* pFile, CBString key, CBString record) {
    return s_WriteKeyed(pFile, MASK_STRING_KEY, &key, nullptr, record);
}

int DIR_WRITE(QXFILE* pFile, CDfp number, CBString record) {
    return s_WriteKeyed(pFile, MASK_NUMBER_KEY, nullptr, &number, record);
}

int FILE_COPY_EX(CBString from, CBString to, CInt16 a, CInt16 b, CBString c, CBString d) {
    return s_Call([&] { return t_Copy(from.c_str(), to.c_str(), a != 0, b != 0, c.c_str(), d.c_str()); });
}

int FILE_CREATE_EX(CBString name, CBString type, CDfp recordSize, CInt16 keyLength, CDfp) {
    return s_Call([&] {
        char c = type.empty() ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
        int eOrg = (c == 'I' || c == 'K' || c == 'L') ? ORG_KEYED : c == 'D' ? ORG_DIRECT : 0;
        if (!eOrg) return 35;
        return t_Create(name.c_str(), eOrg, CInt32(recordSize), keyLength);
    });
}

int MORKA_TO_LINUX_FILENAME(CBString& out, CBString name) {
    return s_Call([&] {
        if (t_Device(name.c_str()) != DEV_DISK) {
            out = CBString();
            return -1;
        }
        out = t_morka_fn_2_linux_fn(name.c_str());
        return out.empty() ? 46 : 0;
    });
}

int LINUX_TO_MORKA_FILENAME(CBString& out, CBString name) {
    return s_Call([&] {
        out = t_linux_fn_2_morka_fn(name.c_str(), 0);
        return 0;
    });
}

int FILE_ENGINE(CBString& out, CBString name) {
    out = t_Engine(name.c_str());
    return 0;
}

int CURRENT_DIRECTORY(CBString& out) {
    return s_Call([&] {
        out = t_Getcwd();
        if (out.empty()) out = "/:s";
        return 0;
    });
}

int FILE_RECORDS(CBString name, CDfp& count) {
    CFileInfo info;
    if (!s_Locate(name, info)) return CALL_RETURN_VALUE = -1;
    unsigned long long n = 0;
    if (info.eOrg == ORG_KEYED || info.eOrg == ORG_RAW || info.eOrg == ORG_ISAM) {
        n = info.nRecords;
    } else if (info.eOrg == ORG_DIRECT) {
        n = s_CountDirect(name);
    } else {
        FILE* fp = std::fopen(info.sPath.c_str(), "rb");
        if (!fp) {
            b_QxErrno2Berror(errno);
            return CALL_RETURN_VALUE = -1;
        }
        int c = getc_unlocked(fp);
        std::rewind(fp);
        bool bTagged = c == TAG_INT16 || c == TAG_BCD || c == TAG_STRING8 || c == TAG_STRING32 || c == TAG_INT32 ||
                       c == TAG_STRING16;
        n = c == EOF ? 0 : bTagged ? s_CountTagged(fp) : s_CountText(fp);
        std::fclose(fp);
    }
    count = CDfp(static_cast<double>(n));
    return CALL_RETURN_VALUE = 0;
}

int FIND_FILE_EX(CBString name, CDfp& size, CDfp& days, CDfp& seconds, CInt16& organisation, CInt16& protection,
                 CInt16& owner, CDfp& number2, CInt16& number1, CInt16& byteItem, CBString& path, CBString& text1,
                 CBString& text2) {
    size = days = seconds = number2 = CDfp(0);
    organisation = protection = owner = number1 = byteItem = CInt16(0);
    text1 = text2 = CBString();
    CFileInfo info;
    if (!s_Locate(name, info)) return CALL_RETURN_VALUE = -1;
    size = CDfp(static_cast<double>(info.nSize));
    int iDay = 0, iSeconds = 0;
    b_time2DaysSeconds(static_cast<long>(info.tTime), iDay, iSeconds);
    days = CDfp(iDay);
    seconds = CDfp(iSeconds);
    organisation = CInt16(info.eOrg);
    int iProt = 255;
    if (info.uMode & S_IRUSR) iProt &= ~1;
    if (info.uMode & S_IWUSR) iProt &= ~(2 | 8);
    if (info.uMode & S_IXUSR) iProt &= ~4;
    if (info.uMode & S_IRGRP) iProt &= ~16;
    if (info.uMode & S_IWGRP) iProt &= ~(32 | 128);
    protection = CInt16(iProt);
    owner = CInt16(t_MorkaUid(info.uUid));
    number2 = CDfp(static_cast<double>(info.uNumber2));
    number1 = CInt16(static_cast<int>(info.uNumber1 & 0xFFFF));
    byteItem = CInt16(info.cDevice);
    path = info.sPath;
    text1 = info.sText1;
    text2 = info.sText2;
    return CALL_RETURN_VALUE = 0;
}

}  // namespace morka
