// RecordStream: the reader that assembles one tagged record from a
// sequential channel into the record buffer. The first byte comes through the
// channel's driver (which readies an update stream for reading and notes the
// end of the file); the bytes after it are read from the channel's stdio
// stream (standard input when that is standard output), through the driver
// only for a channel without one; runs of bytes are copied out of the
// stream's buffer at once through the GNU C library's FILE fields, as its
// getc_unlocked macro does byte by byte. Room is made as bytes arrive (the
// driver's GrowBuffer): 2048
// more bytes before a fixed-size part that would not fit, and string bytes
// in steps of at most 64 KiB, so a damaged length never allocates more than
// the stream really holds. Every byte read counts in the record length, so a
// field cut by the end of the stream is seen by the fetch (1087 for a
// string, 1088 for a fixed-size field). A negative 4-byte string length ends
// the record after the length (the fetch then reports 1087); the bytes after
// it are read as the next record.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace morka {

namespace {

constexpr int GROW_FIXED = 2048;
constexpr int STRING_STEP = 64 * 1024;

bool s_StartsField(int c) { return (c >= 1 && c <= 6) || c == 9 || c == 12; }

// Payload size after the tag: the fixed part, or the string length prefix.
int s_FixedPart(unsigned char cTag) {
    switch (cTag) {
    case TAG_INT16: return 2;
    case TAG_INT32: return 4;
    case TAG_STRING8: return 1;
    case TAG_STRING16: return 2;
    case TAG_STRING32: return 4;
    default: return 8;
    }
}

// The stream bytes of one record as they arrive, appended to the record
// buffer. The buffer's pointer, length and size live in locals while bytes
// arrive and are stored back (Sync) before anything that may read them or
// raise.
class CRecordReader {
public:
    CRecordReader(QXFILE* pFile, CDriver* pDriver)
        : m_pFile(pFile), m_pDriver(pDriver), m_fp(pFile->pStream == stdout ? stdin : pFile->pStream) {
        Load();
    }
    ~CRecordReader() { Sync(); }

    // The next byte; -1 at the end of the stream (bEndOfFile set, the stream
    // ready to be read again should the file grow). The first comes through
    // the driver, which readies an update stream for reading.
    int Next() {
        if (m_fp && !m_bFirst) {
            int c = getc_unlocked(m_fp);
            return c != EOF ? c : End(true);
        }
        m_bFirst = false;
        Sync();
        return m_pDriver->GetChar(m_pFile);
    }
    // Appends n bytes when the stream's buffer holds them all (what
    // getc_unlocked does byte by byte, in one copy); false otherwise, nothing
    // taken. Room must be made first.
    bool Take(int n) {
        if (!m_fp || m_bFirst) return false;
        char* pAt = m_fp->_IO_read_ptr;
        if (m_fp->_IO_read_end - pAt < n) return false;
        std::memcpy(m_p + m_nLen, pAt, static_cast<std::size_t>(n));
        m_fp->_IO_read_ptr = pAt + n;
        m_nLen += n;
        return true;
    }
    // Appends up to n bytes; returns how many arrived.
    int Bytes(int n) {
        Room(n, n);
        if (Take(n)) return n;
        std::size_t nGot;
        if (m_fp) {
            nGot = fread_unlocked(m_p + m_nLen, 1, static_cast<std::size_t>(n), m_fp);
            // A short read leaves the stream's end mark: the next tag read
            // meets the end there.
            if (nGot < static_cast<std::size_t>(n)) End(false);
        } else {
            Sync();
            nGot = m_pDriver->Read(m_pFile, m_p + m_nLen, static_cast<std::size_t>(n));
            m_nLen += static_cast<int>(nGot);
            return static_cast<int>(nGot);
        }
        m_nLen += static_cast<int>(nGot);
        return static_cast<int>(nGot);
    }
    void Put(int c) { m_p[m_nLen++] = static_cast<unsigned char>(c); }
    // Room for nNeed more bytes: the buffer grows by nGrow when short.
    void Room(int nNeed, int nGrow) {
        if (static_cast<long long>(m_nLen) + nNeed <= m_nCap) return;
        Sync();
        m_pDriver->GrowBuffer(m_pFile, nGrow);
        Load();
    }
    unsigned char const* At(int i) const { return m_p + i; }
    int Length() const { return m_nLen; }
    void Unget(int c) {
        Sync();
        m_pDriver->UngetChar(m_pFile, c);
    }

private:
    void Load() {
        m_p = m_pFile->pRecord;
        m_nCap = m_pFile->nBufferSize;
        m_nLen = m_pFile->nRecordLen;
    }
    void Sync() { m_pFile->nRecordLen = m_nLen; }
    // At the end of the stream: raises a read error; else notes the end
    // (bClear: the stream ready to be read again) and answers -1.
    int End(bool bClear) {
        if (ferror_unlocked(m_fp)) {
            Sync();
            m_pFile->iErrno = errno ? errno : EIO;
            throw m_pFile->iErrno;
        }
        if (bClear) clearerr_unlocked(m_fp);
        m_pFile->bEndOfFile = 1;
        return -1;
    }

    QXFILE* m_pFile;
    CDriver* m_pDriver;
    FILE* m_fp;
    bool m_bFirst = true;
    unsigned char* m_p = nullptr;
    int m_nCap = 0;
    int m_nLen = 0;
};

}  // namespace

void _Read(QXFILE* pFile) {
    pFile->nFields = 0;
    pFile->iReadPos = 0;
    pFile->nRecordLen = 0;
    pFile->bEndOfRecord = 0;
    CDriver* pDriver = t_Driver(pFile);
    if (!(pFile->eOrg & (ORG_SEQUENTIAL | ORG_TEXT))) {
        pDriver->ReadRecord(pFile);
        return;
    }
    CRecordReader in(pFile, pDriver);
    for (;;) {
        int c = in.Next();
        if (c < 0) return;
        if (c == TAG_END) return;
        if (!s_StartsField(c)) {
            // Resynchronise on the next byte that can start a field.
            do {
                c = in.Next();
            } while (c > 0 && !s_StartsField(c));
            if (c > 0) in.Unget(c);
            return;
        }
        auto cTag = static_cast<unsigned char>(c);
        int nFixed = s_FixedPart(cTag);
        in.Room(1 + nFixed, GROW_FIXED);
        in.Put(cTag);
        int iPrefix = in.Length();
        if (!in.Take(nFixed)) {
            for (int k = 0; k < nFixed; ++k) {
                int b = in.Next();
                if (b < 0) return;
                in.Put(b);
            }
        }
        if (cTag != TAG_STRING8 && cTag != TAG_STRING16 && cTag != TAG_STRING32) continue;
        unsigned char const* p = in.At(iPrefix);
        long long nLen = cTag == TAG_STRING8 ? p[0]
                       : cTag == TAG_STRING16 ? (p[0] | p[1] << 8)
                       : static_cast<long long>(static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24));
        if (nLen < 0) return;
        while (nLen > 0) {
            int nStep = static_cast<int>(std::min<long long>(nLen, STRING_STEP));
            int nGot = in.Bytes(nStep);
            nLen -= nGot;
            if (nGot < nStep) break;  // the end of the stream shows at the next tag read
        }
    }
}

}  // namespace morka
