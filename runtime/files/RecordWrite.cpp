// RecordWrite: the field encoders of the tagged record format and the two
// places a record is built in: the record buffer (WRITE KEY) and the stdio
// stream of a sequential channel (WRITE). One visitor encodes every operand
// into a field and hands it to a sink, so both places get the same bytes.
// Numbers: tag 2 where the BCD form holds the value (always in 14 digits for
// the IEEE flavour), else tag 6 (IEEE) or tag 3 (decimal), so that writing
// never changes a value beyond the 14-digit rounding of the BCD form.
// Stream records are built in one buffer and handed to the channel's output
// driver in one piece: a WRITE record with its 0 byte through PutRecord (the
// record's end is a flush point of the channel), fields alone through Write.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace morka {

namespace {

void s_Raise(QXFILE* pFile, int n) {
    pFile->iErrno = n;
    throw n;
}

void s_PutLe(unsigned char* p, unsigned long long u, int nBytes) {
    for (int i = 0; i < nBytes; ++i, u >>= 8) p[i] = static_cast<unsigned char>(u);
}

// Field heads: the tag and the fixed payload or the length prefix. Each
// returns the number of bytes written to p (at most 9).
int s_HeadInt16(int n, unsigned char* p) {
    p[0] = TAG_INT16;
    s_PutLe(p + 1, static_cast<uint16_t>(n), 2);
    return 3;
}

int s_HeadLong(int n, unsigned char* p) {
    p[0] = TAG_INT32;
    s_PutLe(p + 1, static_cast<uint32_t>(n), 4);
    return 5;
}

// The number field into p[0..8]: the BCD form converted in place from the
// host image, or the host image itself when the BCD form cannot hold it.
int s_HeadNumber(dfp_t x, unsigned char* p) {
    static_assert(sizeof x == 8);
    std::memcpy(p + 1, &x, 8);  // the host image, little-endian, for tags 6 and 3
    if constexpr (b_bDecimalFlavour) {
        p[0] = dfp2bcd(static_cast<decimal64>(x), p + 1) ? TAG_BCD : TAG_DECIMAL;
    } else {
        p[0] = ieee2bcd(p + 1) ? TAG_BCD : TAG_DOUBLE;
    }
    return 9;
}

int s_HeadString(int nLen, unsigned char* p) {
    if (nLen <= 255) {
        p[0] = TAG_STRING8;
        p[1] = static_cast<unsigned char>(nLen);
        return 2;
    }
    p[0] = TAG_STRING32;
    s_PutLe(p + 1, static_cast<uint32_t>(nLen), 4);
    return 5;
}

// The stream record being built: one buffer for all channels (statements do
// not nest), kept from record to record unless a record made it large.
class CRecordBytes {
public:
    void Clear() {
        if (m_nCap > KEEP_MAX) {
            m_p.reset();
            m_nCap = 0;
        }
        m_nLen = 0;
    }
    // Room for n more bytes; Commit says how many were written there.
    unsigned char* Room(std::size_t n) {
        if (m_nLen + n > m_nCap) Grow(m_nLen + n);
        return m_p.get() + m_nLen;
    }
    void Commit(std::size_t n) { m_nLen += n; }
    char const* Data() const { return reinterpret_cast<char const*>(m_p.get()); }
    std::size_t Length() const { return m_nLen; }

private:
    static constexpr std::size_t KEEP_MAX = 1 << 20;
    void Grow(std::size_t nNeed) {
        std::size_t nCap = std::max<std::size_t>({nNeed, m_nCap * 2, 4096});
        std::unique_ptr<unsigned char[]> p(new unsigned char[nCap]);
        if (m_nLen) std::memcpy(p.get(), m_p.get(), m_nLen);
        m_p = std::move(p);
        m_nCap = nCap;
    }
    std::unique_ptr<unsigned char[]> m_p;
    std::size_t m_nCap = 0;
    std::size_t m_nLen = 0;
};

CRecordBytes s_record;

// The place a record is built in: the record buffer at iWritePos, or the
// stream record, which goes to the channel's driver when the statement is
// done: a whole record through PutRecord, the fields alone through Write
// (also when a later operand fails, so the fields before it are in the
// stream as they would be written one by one).
class CSink {
public:
    CSink(QXFILE* pFile, bool bStream) : m_pFile(pFile), m_bStream(bStream) {
        // Strings go to the record buffer converted to the channel's
        // character set; to a stream too, unless the settings say otherwise.
        m_pConv = bStream && (Morka.uStreamFlags & 4) ? nullptr : t_ConvOutTable(pFile);
        if (bStream) s_record.Clear();
    }

    // Room for a whole field of n bytes; Commit(n) after it is written. The
    // record buffer takes a field only whole: 1028 when it does not fit.
    unsigned char* Room(int n) {
        if (m_bStream) return s_record.Room(static_cast<std::size_t>(n));
        long long nEnd = static_cast<long long>(m_pFile->iWritePos) + n;
        if (m_pFile->iWritePos < 0 || nEnd > m_pFile->nBufferSize || !m_pFile->pRecord) s_Raise(m_pFile, MORKA_EBUFFER);
        return m_pFile->pRecord + m_pFile->iWritePos;
    }
    void Commit(int n) {
        if (m_bStream) s_record.Commit(static_cast<std::size_t>(n));
        else m_pFile->iWritePos += n;
    }

    void Int16(int n) {
        unsigned char* p = Room(3);
        Commit(s_HeadInt16(n, p));
    }
    void Long(int n) {
        unsigned char* p = Room(5);
        Commit(s_HeadLong(n, p));
    }
    void Number(dfp_t x) {
        unsigned char* p = Room(9);
        Commit(s_HeadNumber(x, p));
    }
    void String(char const* pBytes, int nLen) {
        if (nLen < 0 || !pBytes) nLen = 0;
        unsigned char* p = Room((nLen <= 255 ? 2 : 5) + nLen);
        int nHead = s_HeadString(nLen, p);
        t_ConvertBytes(m_pConv, pBytes, reinterpret_cast<char*>(p + nHead), static_cast<std::size_t>(nLen));
        Commit(nHead + nLen);
    }
    void Map(CTypeMap const* pMap);
    // The operands' fields; bEnd: a whole stream record (end byte included).
    void Walk(char const* pszTypes, va_list* pAp, char const* pszAccepted, bool bEnd = false);
    // Hands the stream fields on; bEnd: with the end byte, as one record.
    void Drain(bool bEnd = false) {
        if (!m_bStream) return;
        if (bEnd) {
            *s_record.Room(1) = TAG_END;
            s_record.Commit(1);
            t_DriverOut(m_pFile)->PutRecord(m_pFile, s_record.Data(), s_record.Length());
        } else if (s_record.Length()) {
            t_DriverOut(m_pFile)->Write(m_pFile, s_record.Data(), s_record.Length());
        }
        s_record.Clear();
    }
    // Runs fn, then hands on what it collected, also when it fails.
    template <class TFn>
    void Run(TFn&& fn, bool bEnd = false) {
        try {
            fn();
        } catch (...) {
            Drain();
            throw;
        }
        Drain(bEnd);
    }

private:
    QXFILE* m_pFile;
    bool m_bStream;
    unsigned char const* m_pConv;
};

// Encodes every operand it is handed (scalars, array elements, records).
class CFieldWriter final : public CTypeVisitor {
public:
    explicit CFieldWriter(CSink& sink) : m_sink(sink) {}
    void Item(CItem const& item) override {
        switch (item.cType) {
        case 'd': m_sink.Number(static_cast<CDfp const*>(item.pVar)->xValue); break;
        case 'i': m_sink.Int16(static_cast<CInt16 const*>(item.pVar)->iValue); break;
        case 'l': m_sink.Long(static_cast<CInt32 const*>(item.pVar)->iValue); break;
        case 's': {
            auto const* p = static_cast<CBString const*>(item.pVar);
            if (p) m_sink.String(p->data(), p->length());
            else m_sink.String(nullptr, 0);
            break;
        }
        case 'z': {
            auto const* psz = static_cast<char const*>(item.pVar);
            m_sink.String(psz, psz ? static_cast<int>(std::strlen(psz)) : 0);
            break;
        }
        default: b_WalkArray(item, *this); break;
        }
    }

private:
    CSink& m_sink;
};

void CSink::Map(CTypeMap const* pMap) {
    Run([&] {
        CFieldWriter writer(*this);
        b_WalkMap(pMap, writer);
    });
}

void CSink::Walk(char const* pszTypes, va_list* pAp, char const* pszAccepted, bool bEnd) {
    Run(
        [&] {
            CFieldWriter writer(*this);
            b_WalkTypesStatic(pszTypes, pAp, t_Pass::Output, pszAccepted, false, writer, m_pFile);
        },
        bEnd);
}

constexpr char const* VAR_LETTERS = "cdilrstz";
constexpr char const* ARRAY_LETTERS = "CDILST";
constexpr bool BUFFER = false;
constexpr bool STREAM = true;

}  // namespace

void _BAppendInt16(QXFILE* pFile, int n) { CSink(pFile, BUFFER).Int16(n); }
void _BAppendLong(QXFILE* pFile, int n) { CSink(pFile, BUFFER).Long(n); }
void _BAppendDfp(QXFILE* pFile, dfp_t x) { CSink(pFile, BUFFER).Number(x); }
void _BAppendString(QXFILE* pFile, char const* pBytes, int nLen) { CSink(pFile, BUFFER).String(pBytes, nLen); }
void _BAppendType(QXFILE* pFile, CTypeMap const* pMap) { CSink(pFile, BUFFER).Map(pMap); }
void _Vars2Buffer(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, BUFFER).Walk(pszTypes, pAp, VAR_LETTERS); }
void _Arrays2Buffer(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, BUFFER).Walk(pszTypes, pAp, ARRAY_LETTERS); }

void _FWriteInt16(QXFILE* pFile, int n) {
    CSink sink(pFile, STREAM);
    sink.Run([&] { sink.Int16(n); });
}
void _FWriteLong(QXFILE* pFile, int n) {
    CSink sink(pFile, STREAM);
    sink.Run([&] { sink.Long(n); });
}
void _FWriteDfp(QXFILE* pFile, dfp_t x) {
    CSink sink(pFile, STREAM);
    sink.Run([&] { sink.Number(x); });
}
void _FWriteString(QXFILE* pFile, char const* pBytes, int nLen) {
    CSink sink(pFile, STREAM);
    sink.Run([&] { sink.String(pBytes, nLen); });
}
void _FWriteType(QXFILE* pFile, CTypeMap const* pMap) { CSink(pFile, STREAM).Map(pMap); }
void _Vars2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, STREAM).Walk(pszTypes, pAp, VAR_LETTERS); }
void _Arrays2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, STREAM).Walk(pszTypes, pAp, ARRAY_LETTERS); }
void _FWriteRecord(QXFILE* pFile, char const* pszTypes, va_list* pAp, bool bArrays) {
    CSink(pFile, STREAM).Walk(pszTypes, pAp, bArrays ? ARRAY_LETTERS : VAR_LETTERS, true);
}

void _FWriteEor(QXFILE* pFile) {
    CDriver* pDriver = t_DriverOut(pFile);
    pDriver->PutChar(pFile, TAG_END);
    pDriver->Flush(pFile, false);
}

}  // namespace morka
