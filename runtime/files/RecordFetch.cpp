// RecordFetch: the field decoders of the tagged record format. One step
// finds the next field (s_NextField) and guards every byte it reads against
// the record length, so no field, however damaged, is read past the valid
// bytes of the record buffer. Conversions between kinds follow the table of
// the record format: numbers to text as "%.14G" of the double, integers as
// "%d", text to numbers by its leading number.
// A fixed-size field cut by the record length (a stream record cut inside a
// field) raises 1088 like an invalid tag.
#include <velbra/Record.h>
#include <velbra/NumClasses.h>
#include <morka/morka.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace morka {

namespace {

struct CField {
    unsigned char cTag = TAG_END;
    unsigned char const* p = nullptr;  // payload (the string bytes for strings)
    int nLen = 0;                      // payload length
};

void s_Raise(QXFILE* pFile, int n) {
    pFile->iErrno = n;
    throw n;
}

unsigned long long s_GetLe(unsigned char const* p, int nBytes) {
    unsigned long long u = 0;
    for (int i = nBytes - 1; i >= 0; --i) u = u << 8 | p[i];
    return u;
}

// Payload size of the fixed-size tags, 0 for strings, -1 for invalid tags.
int s_FixedSize(unsigned char cTag) {
    switch (cTag) {
    case TAG_INT16: return 2;
    case TAG_INT32: return 4;
    case TAG_BCD:
    case TAG_DECIMAL:
    case TAG_DOUBLE: return 8;
    case TAG_STRING8:
    case TAG_STRING16:
    case TAG_STRING32: return 0;
    default: return -1;
    }
}

int s_PrefixSize(unsigned char cTag) { return cTag == TAG_STRING8 ? 1 : cTag == TAG_STRING16 ? 2 : 4; }

// Finds the next field. False at the end of the record (flag set). With
// bRaise false a damaged field ends the record quietly (counting a damaged
// string field, as the fetch does).
bool s_NextField(QXFILE* pFile, CField& f, bool bRaise = true) {
    int nLimit = std::min(pFile->nRecordLen, pFile->nBufferSize);
    if (pFile->bEndOfRecord || pFile->iReadPos < 0 || pFile->iReadPos >= nLimit || !pFile->pRecord) {
        pFile->bEndOfRecord = 1;
        return false;
    }
    unsigned char const* pRec = pFile->pRecord;
    f.cTag = pRec[pFile->iReadPos];
    ++pFile->nFields;
    ++pFile->iReadPos;
    int nFixed = s_FixedSize(f.cTag);
    if (f.cTag == TAG_END || nFixed < 0 || (nFixed > 0 && pFile->iReadPos + nFixed > nLimit)) {
        --pFile->nFields;
        pFile->bEndOfRecord = 1;
        if (f.cTag == TAG_END || !bRaise) return false;
        s_Raise(pFile, MORKA_ECORRRECORD);
    }
    if (nFixed > 0) {
        f.p = pRec + pFile->iReadPos;
        f.nLen = nFixed;
        pFile->iReadPos += nFixed;
        return true;
    }
    int nPrefix = s_PrefixSize(f.cTag);
    long long nBody = -1;
    if (pFile->iReadPos + nPrefix <= nLimit) {
        unsigned long long u = s_GetLe(pRec + pFile->iReadPos, nPrefix);
        nBody = f.cTag == TAG_STRING32 ? static_cast<long long>(static_cast<int32_t>(u)) : static_cast<long long>(u);
    }
    if (nBody < 0 || pFile->iReadPos + nPrefix + nBody > nLimit) {
        if (!bRaise) {
            pFile->bEndOfRecord = 1;
            return false;
        }
        s_Raise(pFile, MORKA_ECORRSTRING);
    }
    f.p = pRec + pFile->iReadPos + nPrefix;
    f.nLen = static_cast<int>(nBody);
    pFile->iReadPos += nPrefix + static_cast<int>(nBody);
    return true;
}

double s_Double(CField const& f) {
    double x;
    std::memcpy(&x, f.p, 8);  // little-endian host image
    return x;
}

// The string bytes as a NUL-terminated text for strtod/strtol.
std::string s_Text(CField const& f) { return std::string(reinterpret_cast<char const*>(f.p), static_cast<std::size_t>(f.nLen)); }

dfp_t s_ToNumber(CField const& f) {
    switch (f.cTag) {
    case TAG_INT16: return static_cast<int16_t>(s_GetLe(f.p, 2));
    case TAG_INT32: return static_cast<int32_t>(s_GetLe(f.p, 4));
    case TAG_BCD:
        if constexpr (b_bDecimalFlavour) return static_cast<dfp_t>(bcd2dfp(f.p));
        else return static_cast<dfp_t>(bcd2ieee(f.p));
    case TAG_DECIMAL:
        if constexpr (b_bDecimalFlavour) {
            decimal64 d;
            std::memcpy(&d, f.p, 8);
            return static_cast<dfp_t>(d);
        } else {
            return static_cast<dfp_t>(bid2ieee(f.p));
        }
    case TAG_DOUBLE: return static_cast<dfp_t>(s_Double(f));
    default:
        if constexpr (b_bDecimalFlavour) return static_cast<dfp_t>(strtod64(s_Text(f).c_str(), nullptr));
        else return static_cast<dfp_t>(std::strtod(s_Text(f).c_str(), nullptr));
    }
}

int s_ToInteger(CField const& f) {
    switch (f.cTag) {
    case TAG_INT16: return static_cast<int16_t>(s_GetLe(f.p, 2));
    case TAG_INT32: return static_cast<int32_t>(s_GetLe(f.p, 4));
    case TAG_BCD: return b_L(bcd2ieee(f.p));
    case TAG_DECIMAL: return b_L(bid2ieee(f.p));
    case TAG_DOUBLE: return b_L(s_Double(f));
    default: return b_L(std::strtol(s_Text(f).c_str(), nullptr, 10));
    }
}

// The field as text into s (its storage reused): string bytes through the
// channel's conversion table pConv, numbers formatted.
void s_ToString(CField const& f, unsigned char const* pConv, CBString& s) {
    char sz[40];
    switch (f.cTag) {
    case TAG_INT16:
    case TAG_INT32: std::snprintf(sz, sizeof sz, "%d", s_ToInteger(f)); break;
    case TAG_BCD: std::snprintf(sz, sizeof sz, "%.14G", bcd2ieee(f.p)); break;
    case TAG_DECIMAL: std::snprintf(sz, sizeof sz, "%.14G", bid2ieee(f.p)); break;
    case TAG_DOUBLE: std::snprintf(sz, sizeof sz, "%.14G", s_Double(f)); break;
    default:
        s.str().assign(reinterpret_cast<char const*>(f.p), static_cast<std::size_t>(f.nLen));
        t_ConvertBytes(pConv, s.data(), s.data(), static_cast<std::size_t>(f.nLen));
        return;
    }
    s.str().assign(sz);
}

void s_FetchString(QXFILE* pFile, unsigned char const* pConv, CBString& s) {
    CField f;
    if (s_NextField(pFile, f)) s_ToString(f, pConv, s);
    else s.str().clear();
}

// Fills every variable it is handed from the next field(s).
class CFieldReader final : public CTypeVisitor {
public:
    explicit CFieldReader(QXFILE* pFile) : m_pFile(pFile), m_pConv(t_ConvInTable(pFile)) {}
    void Item(CItem const& item) override {
        switch (item.cType) {
        case 'd': static_cast<CDfp*>(item.pVar)->xValue = _BFetchDfp(m_pFile); break;
        case 'i': static_cast<CInt16*>(item.pVar)->iValue = static_cast<int16_t>(b_I(_BFetchInteger(m_pFile))); break;
        case 'l': static_cast<CInt32*>(item.pVar)->iValue = _BFetchInteger(m_pFile); break;
        case 's': s_FetchString(m_pFile, m_pConv, *static_cast<CBString*>(item.pVar)); break;
        default: b_WalkArray(item, *this); break;
        }
    }
    void ListBegin() override { m_pFile->nFields = 0; }

private:
    QXFILE* m_pFile;
    unsigned char const* m_pConv;
};

}  // namespace

dfp_t _BFetchDfp(QXFILE* pFile) {
    CField f;
    return s_NextField(pFile, f) ? s_ToNumber(f) : dfp_t(0);
}

int _BFetchInteger(QXFILE* pFile) {
    CField f;
    return s_NextField(pFile, f) ? s_ToInteger(f) : 0;
}

CBString _BFetchString(QXFILE* pFile) {
    CBString s;
    s_FetchString(pFile, t_ConvInTable(pFile), s);
    return s;
}

void _BufferToType(QXFILE* pFile, CTypeMap const* pMap) {
    CFieldReader reader(pFile);
    b_WalkMap(pMap, reader);
}

void _Buffer2Vars(QXFILE* pFile, char const* pszTypes, va_list* pAp) {
    pFile->nFields = 0;
    CFieldReader reader(pFile);
    b_WalkTypesStatic(pszTypes, pAp, t_Pass::Input, "cdilrst", false, reader, pFile);
    CField f;
    while (s_NextField(pFile, f, false)) {
    }
}

void _Buffer2Arrays(QXFILE* pFile, char const* pszTypes, va_list* pAp) {
    pFile->nFields = 0;
    CFieldReader reader(pFile);
    b_WalkTypesStatic(pszTypes, pAp, t_Pass::Input, "CDILST", false, reader, pFile);
}

}  // namespace morka
