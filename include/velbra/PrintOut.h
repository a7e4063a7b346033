// PrintOut: the output side of one PRINT-family statement on a channel: the
// block writer, the print ends, TAB, and the rendering of numbers. PRINT,
// MAT PRINT, PRINT KEY, PUT and PRINT USING write through it, so the rules of
// blocks are written once. A statement makes one CPrintOut for its channel.
//
// Three targets: the terminal layer (the console, or a device opened on it,
// when it is a terminal: file rules do not apply), a stream channel (its
// character-output driver, every byte through t_chrconvout), and the record
// buffer of a keyed channel (PRINT KEY: iWritePos is both the position in the
// buffer and the column).
#pragma once

#include <velbra/Flavour.h>
#include <morka/FileMngr.h>

namespace morka {

class CDriver;

// True at load: quote mode separates with ';' when the decimal separator is
// ',', and the print end after an io list is taken as written.
extern bool b_bConformToDoc;

// Print zones are this many columns wide.
inline constexpr int b_kZoneWidth = 21;

// The text PRINT writes for a number: "%.14G" when negative or in quote mode,
// else " %.13G"; '.' becomes the decimal separator; a blank follows outside
// quote mode. Returns the length (pBuf: 48 bytes). Negative zero prints as 0.
int b_PrintNumberText(char* pBuf, dfp_t x, bool bQuote);
// The same for an integer: "%d" / " %d", trailing blank outside quote mode.
int b_PrintIntegerText(char* pBuf, int n, bool bQuote);

class CPrintOut {
public:
    // Output to pFile (open, checked by the caller); bRecord: into its record
    // buffer.
    CPrintOut(QXFILE* pFile, bool bRecord = false);

    QXFILE* File() const { return m_pFile; }
    bool Terminal() const { return m_eTarget == t_Target::Terminal; }
    bool Record() const { return m_eTarget == t_Target::Record; }
    bool QuoteMode() const { return (m_pFile->uFlags & UF_QUOTE) != 0; }
    bool CarriageControl() const { return !Terminal() && (m_pFile->uFlags & UF_CC) != 0; }
    // The quote-mode separator: ';' when b_bConformToDoc and the decimal
    // separator is not '.', else ','.
    char Separator() const;

    // Writes a block of text by the block rules (quoting in quote mode,
    // carriage control, CR/LF/FF, the column).
    void Block(char const* pText, int nLen);
    // A number or an integer rendered as PRINT renders it, as a block.
    void Number(dfp_t x);
    void Integer(int n);
    // The print end e: 1 next zone (quote mode: the separator), 2 line end,
    // 0 and others nothing. On a file a zone or line end is followed by a
    // flush point. Record buffer in carriage-control mode: 2 is only marked.
    void End(int e);
    // TAB(n): blanks while the column is below n (terminal: its tab).
    void Tab(int iColumn);
    // PUT of one character: the low 8 bits, through the character set; the
    // column does not move.
    void PutChar(int c);
    // A flush point: the terminal is refreshed, a stream flushed (see
    // CDriver::Flush); raises a stream error.
    void Flush();
    // Raises an earlier stream error of the channel.
    void CheckError();

private:
    enum class t_Target { Terminal, Stream, Record };

    void Emit(char const* pBytes, int n);
    void EmitChar(char c) { Emit(&c, 1); }
    void LineEnd();
    void Column(int n);
    void ControlAdvance(char cControl);
    void Chars(char const* pText, int nLen);

    QXFILE* m_pFile;
    CDriver* m_pDriver;
    t_Target m_eTarget;
    bool m_bDirty = false;  // written to the stream since the last flush point
};

}  // namespace morka
