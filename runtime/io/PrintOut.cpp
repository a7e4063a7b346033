// PrintOut: the block writer and the line-end routine of the PRINT family.
// Bytes go to the driver in chunks (one call per run of ordinary characters),
// which gives the same file as one put-character call per byte. Line-end
// characters, FF and the code written for '+' are control codes and are
// written as they are; every other character goes through t_chrconvout (a
// character the channel cannot write is left out but still counts as a
// column). A carriage-control channel opened on an empty line (bFresh) drops
// one line advance from its first control character, so a file does not
// start with an empty line.
#include <velbra/PrintOut.h>
#include <morka/morka.h>

#include <cstring>

namespace morka {

bool b_bConformToDoc = true;

namespace {

bool s_NeedsQuotes(char const* p, int n, char cSep) {
    if (n == 1) return p[0] == ' ' || p[0] == '"' || p[0] == cSep;
    if (n == 0) return false;
    if (p[0] == ' ' || p[n - 1] == ' ') return true;
    for (int i = 0; i < n; ++i) {
        if (p[i] == cSep || p[i] == '"') return true;
        if (p[i] == ' ' && i + 1 < n && p[i + 1] == ' ') return true;
    }
    return false;
}

// The cursor column of the terminal (0-based).
int s_TermColumn() {
    int iRow = 0, iColumn = 0, iShape = 0;
    TermGetCursor(iRow, iColumn, iShape);
    return iColumn;
}

}  // namespace

CPrintOut::CPrintOut(QXFILE* pFile, bool bRecord) : m_pFile(pFile), m_pDriver(t_DriverOut(pFile)) {
    if (bRecord)
        m_eTarget = t_Target::Record;
    else if (pFile->eDevType == DEV_TERMINAL && isatty(pFile))
        m_eTarget = t_Target::Terminal;
    else
        m_eTarget = t_Target::Stream;
}

char CPrintOut::Separator() const { return b_bConformToDoc && Morka.cDecimal != '.' ? ';' : ','; }

void CPrintOut::Emit(char const* pBytes, int n) {
    if (n <= 0) return;
    switch (m_eTarget) {
    case t_Target::Terminal:
        TermWrite(pBytes, n);
        break;
    case t_Target::Stream:
        m_pDriver->Write(m_pFile, pBytes, static_cast<std::size_t>(n));
        m_bDirty = true;
        break;
    case t_Target::Record: {
        QXFILE* f = m_pFile;
        while (f->iWritePos + n > f->nBufferSize) {
            if (!(f->eOrg & (ORG_SEQUENTIAL | ORG_TEXT))) {
                f->iErrno = MORKA_EBUFFER;
                throw static_cast<int>(MORKA_EBUFFER);
            }
            t_Driver(f)->GrowBuffer(f, 2048);
        }
        std::memcpy(f->pRecord + f->iWritePos, pBytes, static_cast<std::size_t>(n));
        f->iWritePos += n;
        break;
    }
    }
}

// Advances the column by n; in the record buffer the position already moved.
void CPrintOut::Column(int n) {
    if (m_eTarget != t_Target::Record) m_pFile->iWritePos += n;
}

void CPrintOut::LineEnd() {
    char const* psz = t_LineEndChars(m_pFile->uFlags);
    Emit(psz, static_cast<int>(std::strlen(psz)));
}

// The line advance that the control character of a carriage-control line
// selects: '+' code 21, '-' three line ends, '0' two, '1' a line end and FF,
// anything else one.
void CPrintOut::ControlAdvance(char cControl) {
    int nEnds = cControl == '+' ? 0 : cControl == '-' ? 3 : cControl == '0' ? 2 : 1;
    if (m_pFile->bFresh) {
        m_pFile->bFresh = false;
        if (nEnds > 0) --nEnds;
    }
    if (cControl == '+') EmitChar(21);
    for (int i = 0; i < nEnds; ++i) LineEnd();
    if (cControl == '1') EmitChar('\f');
    if (m_eTarget != t_Target::Record) m_pFile->iWritePos = 0;
    m_pFile->bEndOfRecord = 0;
}

// The characters of a block on a file (step after quoting and control).
void CPrintOut::Chars(char const* pText, int nLen) {
    QXFILE* f = m_pFile;
    bool bCC = CarriageControl();
    char aBuf[256];
    int k = 0;
    int nColumns = 0;
    auto flushRun = [&] {
        Emit(aBuf, k);
        k = 0;
        Column(nColumns);
        nColumns = 0;
    };
    for (int i = 0; i < nLen; ++i) {
        unsigned char c = static_cast<unsigned char>(pText[i]);
        if (c == '\r' || c == '\n' || c == '\f') {
            flushRun();
            if (c == '\r') {
                if (bCC) {
                    f->bEndOfRecord = 1;
                    continue;
                }
                // A CR in the text ends the line in the channel's style; style 0
                // still needs a line end here and takes LF.
                unsigned uStyle = f->uFlags & UF_EOL_MASK;
                char const* pszEnd = uStyle == UF_EOL_CR ? "\r" : uStyle == UF_EOL_CRLF ? "\r\n" : "\n";
                Emit(pszEnd, static_cast<int>(std::strlen(pszEnd)));
                if (m_eTarget != t_Target::Record) f->iWritePos = 0;
                f->bEndOfRecord = 1;
            } else if (c == '\n') {
                EmitChar('\n');
                if ((f->uFlags & UF_EOL_MASK) == UF_EOL_LF && m_eTarget != t_Target::Record) f->iWritePos = 0;
            } else {
                EmitChar('\f');
                if (bCC && i == nLen - 1)
                    LineEnd();
                else if (!bCC)
                    f->bEndOfRecord = 1;
            }
            continue;
        }
        int oc = t_chrconvout(f, c);
        ++nColumns;
        if (oc < 0) continue;
        aBuf[k++] = static_cast<char>(oc);
        if (k == static_cast<int>(sizeof aBuf)) flushRun();
    }
    flushRun();
}

void CPrintOut::Block(char const* pText, int nLen) {
    if (nLen <= 0) return;
    QXFILE* f = m_pFile;
    bool bQuote = QuoteMode() && s_NeedsQuotes(pText, nLen, Separator());
    if (m_eTarget == t_Target::Terminal) {
        if (bQuote) TermPut('"');
        TermWrite(pText, nLen);
        if (bQuote) TermPut('"');
        f->iWritePos = s_TermColumn();
        return;
    }
    char const* p = pText;
    int n = nLen;
    CBString sQuoted;
    if (bQuote) {
        sQuoted.str().reserve(static_cast<std::size_t>(nLen) + 8);
        sQuoted += '"';
        for (int i = 0; i < nLen; ++i) {
            if (pText[i] == '"') sQuoted += '"';
            sQuoted += pText[i];
        }
        sQuoted += '"';
        p = sQuoted.data();
        n = sQuoted.length();
    }
    if (CarriageControl() && f->bEndOfRecord) {
        ControlAdvance(p[0]);
        ++p;
        --n;
    }
    Chars(p, n);
}

void CPrintOut::Number(dfp_t x) {
    char aBuf[48];
    Block(aBuf, b_PrintNumberText(aBuf, x, QuoteMode()));
}

void CPrintOut::Integer(int n) {
    char aBuf[24];
    Block(aBuf, b_PrintIntegerText(aBuf, n, QuoteMode()));
}

void CPrintOut::End(int e) {
    QXFILE* f = m_pFile;
    if (e == 1) {
        if (m_eTarget == t_Target::Terminal) {
            TermTab((s_TermColumn() / b_kZoneWidth + 1) * b_kZoneWidth);
            f->iWritePos = s_TermColumn();
            return;
        }
        if (QuoteMode()) {
            int oc = t_chrconvout(f, static_cast<unsigned char>(Separator()));
            if (oc >= 0) EmitChar(static_cast<char>(oc));
            Column(1);
        } else {
            do {
                EmitChar(' ');
                Column(1);
            } while (f->iWritePos % b_kZoneWidth != 0);
        }
        Flush();
    } else if (e == 2) {
        if (m_eTarget == t_Target::Terminal) {
            TermPut('\r');
            f->iWritePos = 0;
            return;
        }
        if (m_eTarget == t_Target::Record) {
            if (CarriageControl()) {
                f->bEndOfRecord = 1;
                return;
            }
            LineEnd();
            EmitChar(0);
            f->nRecordLen = f->iWritePos;
            return;
        }
        LineEnd();
        f->iWritePos = 0;
        // In carriage-control mode the flag means a line end still to come;
        // this one is written already.
        if (!CarriageControl()) f->bEndOfRecord = 1;
        Flush();
    }
}

void CPrintOut::Tab(int iColumn) {
    QXFILE* f = m_pFile;
    if (m_eTarget == t_Target::Terminal) {
        TermTab(iColumn);
        f->iWritePos = s_TermColumn();
        return;
    }
    while (f->iWritePos < iColumn) {
        EmitChar(' ');
        Column(1);
    }
}

void CPrintOut::PutChar(int c) {
    if (m_eTarget == t_Target::Terminal) {
        TermPut(c & 0xFF);
        return;
    }
    int oc = t_chrconvout(m_pFile, c & 0xFF);
    if (oc < 0) return;
    m_pDriver->PutChar(m_pFile, oc);
    m_bDirty = true;
}

void CPrintOut::Flush() {
    if (m_eTarget == t_Target::Terminal) {
        TermRefresh();
    } else if (m_eTarget == t_Target::Stream && m_bDirty) {
        m_bDirty = false;
        m_pDriver->Flush(m_pFile, false);
    }
}

void CPrintOut::CheckError() {
    if (m_eTarget == t_Target::Stream) m_pDriver->CheckError(m_pFile);
}

}  // namespace morka
