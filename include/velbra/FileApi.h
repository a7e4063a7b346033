// FileApi: the channel statements and functions of the language: OPEN, CLOSE,
// the name statements CREATE, ERASE, RENAME, TRUNCATE and COPY, WAIT, UNLOCK,
// and the channel functions EOF, POS, LINE, PAGE and the file queries.
//
// Channel numbers: OPEN and every statement on an open channel accept
// 0 <= n < nChannels - 2 (else error 1053); CLOSE acts on 1 <= n <
// nChannels - 3 only; the queries answer 0 or "" outside 0 <= n < nChannels.
// Statements run in the statement frame: their errors go to b_ErrorHandler
// with the channel number (0 for the name statements) and a true answer
// repeats the statement.
#pragma once

#include <cstdio>
#include <morka/CBString.h>
#include <morka/FileMngr.h>

namespace morka {

// Checks channel: 1053 outside 0..nChannels-3, else the system layer's
// check of organisation mask (0 any) and access (the channel must have one of
// the access bits); returns the channel record. Raises 9 (not open), 1011
// (organisation), 1019 (access).
QXFILE* b_CheckOpen(int channel, int orgMask, int access);

// OPEN: opens name (blanks at both ends ignored) on channel. Errors: 1053
// channel out of range, 1054 channel in use, 1009 blank name, 19 no such
// device, 1064 a device with an organisation other than sequential, 1011 an
// unknown organisation, 1023 (BASIC 49) still locked by another program when
// the OPTION LOCK limit has passed (no limit: waits until free), and the
// operating-system numbers of the open (2 not found, 13 protected, ...).
// flags: OPEN_* of morka/FileMngr.h.
void Open(int channel, char const* name, t_FileOrg org, t_FileAccess access, unsigned flags);
// CLOSE: closes the channel (a carriage-control line end still pending is
// written first); outside 1..nChannels-4 nothing happens. A failed last write
// raises its operating-system number (the channel is closed all the same).
void Close(int channel);
// CLOSE without a channel: every channel but the console.
void CloseAll();

// The name statements: the system layer's result, when not 0, is raised
// through the frame for channel 0 (morka/FileOps.h lists the numbers).
void Create(char const* name, t_FileOrg org);
void Create(char const* name, t_FileOrg org, char const* extra);
void Create(char const* name, t_FileOrg org, int recordSize, int keyLen);
void Erase(char const* name);
void Rename(char const* from, char const* to);
void Truncate(char const* name);
void Copy(char const* from, char const* to, int replace);

// EOF: -1 when the channel's driver reports end of input, else 0. Any
// organisation and access; an unopened channel raises 9 through the frame.
int Eof(int channel);
// POS: the print column (0 at line start) of an open sequential channel with
// output access; 0 otherwise.
int Pos(int channel);
// LINE / PAGE: on a printer channel its line / page counter minus 1; LINE
// of the console on a terminal the cursor's row from 0; else 0.
int Line(int channel);
int Page(int channel);
// UNLOCK: releases the record lock of a channel with output access; other
// channels (and numbers out of range) nothing.
void Unlock(int channel);
// WAIT on a channel (mask 0x110, input): returns when input is there. On the
// keyboard of a terminal it waits through the console; on another channel it
// reads one character (polling events while the read meets end of file) and
// pushes it back.
void Wait(int channel);
// WAIT on the console: waits through the console when input is the keyboard
// of a terminal; returns at once when standard input is not a terminal.
void Wait();

// The channel record (null outside the table), its stdio stream (null when
// none), the name it was opened with ("" when not in use or out of range).
QXFILE* GetFile(int channel);
FILE* GetFILE(int channel);
CBString GetFileName(int channel);
// The file-mode bits of a channel (0 when out of range or not open): 0x001
// append, 0x002 output, 0x004 input, 0x008 sequential, 0x020 record-number
// keyed, 0x040 string keyed, 0x010 option 0x04 (no lock), 0x100 quote mode,
// 0x200 carriage control, 0x800 option 0x08 (no create).
int GetFileMode(int channel);
// The lowest free channel number; error 1003 (BASIC 35) when none is free.
int NextFile();
// The device class of a name: the console's class for the terminal, the
// printer driver's class for a configured printer, 0 for anything else.
int Class(char const* name);

// Formatted terminal output: CR is inserted before every LF of the format.
void Printf(char const* pszFormat, ...) __attribute__((format(printf, 1, 2)));

}  // namespace morka
