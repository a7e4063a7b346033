// RecordWrite: the field encoders of the tagged record format and the two
// places a record is built in: the record buffer (WRITE KEY) and the stdio
// stream of a sequential channel (WRITE). One visitor encodes every operand
// into a field and hands it to a sink, so both places get the same bytes.
// Numbers: tag 2 where the BCD form holds the value (always in 14 digits for
// the IEEE flavour), else tag 6 (IEEE) or tag 3 (decimal), so that writing
// never changes a value beyond the 14-digit rounding of the BCD form.
// Stream records go through the channel's output driver; a record ends with
// its 0 byte and a flush point of the channel.
#include <velbra/Record.h>
#include <morka/morka.h>

#include <string>

#include <cstring>

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

int s_HeadNumber(dfp_t x, unsigned char* p) {
    static_assert(sizeof x == 8);
    unsigned long long u;
    std::memcpy(&u, &x, 8);
    s_PutLe(p + 1, u, 8);  // the host image, little-endian, for tags 6 and 3
    if constexpr (b_bDecimalFlavour) {
        unsigned char ab[8];
        if (dfp2bcd(static_cast<decimal64>(x), ab)) {
            p[0] = TAG_BCD;
            std::memcpy(p + 1, ab, 8);
        } else {
            p[0] = TAG_DECIMAL;
        }
    } else {
        double d = static_cast<double>(x);
        unsigned char ab[8];
        std::memcpy(ab, &d, 8);
        if (ieee2bcd(ab)) {
            p[0] = TAG_BCD;
            std::memcpy(p + 1, ab, 8);
        } else {
            p[0] = TAG_DOUBLE;
        }
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

// Bytes of stream fields not yet handed to the channel's driver.
std::string s_sPending;
constexpr std::size_t PENDING_MAX = 8192;

// The place a record is built in: the record buffer at iWritePos, or the
// channel's stream. Stream fields are collected and handed to the driver in
// one write per statement (and whenever 8 KiB have gathered); Drain hands
// them on, also when a later operand fails, so the fields before it are in
// the stream as they would be written one by one.
class CSink {
public:
    CSink(QXFILE* pFile, bool bStream) : m_pFile(pFile), m_bStream(bStream) {
        if (bStream) s_sPending.clear();
    }
    QXFILE* File() const { return m_pFile; }

    // One whole field: its head and its string bytes (if any).
    void Field(unsigned char const* pHead, int nHead, char const* pBody, int nBody) {
        if (m_bStream) {
            s_sPending.append(reinterpret_cast<char const*>(pHead), static_cast<std::size_t>(nHead));
            if (nBody) s_sPending.append(pBody, static_cast<std::size_t>(nBody));
            if (s_sPending.size() >= PENDING_MAX) Drain();
            return;
        }
        long long nEnd = static_cast<long long>(m_pFile->iWritePos) + nHead + nBody;
        if (m_pFile->iWritePos < 0 || nEnd > m_pFile->nBufferSize || !m_pFile->pRecord) s_Raise(m_pFile, MORKA_EBUFFER);
        unsigned char* p = m_pFile->pRecord + m_pFile->iWritePos;
        std::memcpy(p, pHead, static_cast<std::size_t>(nHead));
        if (nBody) std::memcpy(p + nHead, pBody, static_cast<std::size_t>(nBody));
        m_pFile->iWritePos = static_cast<int>(nEnd);
    }

    void Int16(int n) {
        unsigned char ab[9];
        Field(ab, s_HeadInt16(n, ab), nullptr, 0);
    }
    void Long(int n) {
        unsigned char ab[9];
        Field(ab, s_HeadLong(n, ab), nullptr, 0);
    }
    void Number(dfp_t x) {
        unsigned char ab[9];
        Field(ab, s_HeadNumber(x, ab), nullptr, 0);
    }
    // Strings go to the record buffer converted to the channel's character
    // set; to a stream too, unless the settings say otherwise or the channel
    // keeps the system's own set.
    void String(CBString const& s) {
        bool bConvert = !m_bStream || (!(Morka.uStreamFlags & 4) && !t_IsInternalCharset(m_pFile));
        CBString sStored = bConvert ? t_strconvout(m_pFile, s) : s;
        unsigned char ab[9];
        Field(ab, s_HeadString(sStored.length(), ab), sStored.data(), sStored.length());
    }
    void Map(CTypeMap const* pMap);
    void Walk(char const* pszTypes, va_list* pAp, char const* pszAccepted);
    // Hands the collected stream bytes to the channel's output driver.
    void Drain() {
        if (!m_bStream || s_sPending.empty()) return;
        std::string sOut;
        sOut.swap(s_sPending);
        t_DriverOut(m_pFile)->Write(m_pFile, sOut.data(), sOut.size());
        sOut.clear();
        sOut.swap(s_sPending);
    }
    // Runs fn, then hands on what it collected, also when it fails.
    template <class TFn>
    void Run(TFn&& fn) {
        try {
            fn();
        } catch (...) {
            Drain();
            throw;
        }
        Drain();
    }

private:
    QXFILE* m_pFile;
    bool m_bStream;
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
        case 's': m_sink.String(item.pVar ? *static_cast<CBString const*>(item.pVar) : CBString()); break;
        case 'z': m_sink.String(CBString(static_cast<char const*>(item.pVar))); break;
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

void CSink::Walk(char const* pszTypes, va_list* pAp, char const* pszAccepted) {
    Run([&] {
        CFieldWriter writer(*this);
        b_WalkTypes(pszTypes, pAp, t_Pass::Output, pszAccepted, false, writer, m_pFile);
    });
}

constexpr char const* VAR_LETTERS = "cdilrstz";
constexpr char const* ARRAY_LETTERS = "CDILST";
constexpr bool BUFFER = false;
constexpr bool STREAM = true;

}  // namespace

void _BAppendInt16(QXFILE* pFile, int n) { CSink(pFile, BUFFER).Int16(n); }
void _BAppendLong(QXFILE* pFile, int n) { CSink(pFile, BUFFER).Long(n); }
void _BAppendDfp(QXFILE* pFile, dfp_t x) { CSink(pFile, BUFFER).Number(x); }
void _BAppendString(QXFILE* pFile, char const* pBytes, int nLen) { CSink(pFile, BUFFER).String(CBString(pBytes, nLen)); }
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
    sink.Run([&] { sink.String(CBString(pBytes, nLen)); });
}
void _FWriteType(QXFILE* pFile, CTypeMap const* pMap) { CSink(pFile, STREAM).Map(pMap); }
void _Vars2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, STREAM).Walk(pszTypes, pAp, VAR_LETTERS); }
void _Arrays2Stream(QXFILE* pFile, char const* pszTypes, va_list* pAp) { CSink(pFile, STREAM).Walk(pszTypes, pAp, ARRAY_LETTERS); }

void _FWriteEor(QXFILE* pFile) {
    CDriver* pDriver = t_DriverOut(pFile);
    pDriver->PutChar(pFile, TAG_END);
    pDriver->Flush(pFile, false);
}

}  // namespace morka
