// System: start and end of the system layer, the command line, environment
// values, error texts and the small process-wide globals of libmorka.
#pragma once

#include <morka/CBString.h>
#include <vector>

namespace morka {

// Starts the system layer: settings from the environment, the channel table
// (channel 0 the console), the terminal, the task number. mode is 2 for a
// plain program and 3 for a program compiled with the debugger flag; linked is
// true when the program inherits open files from a linking parent. Returns the
// argument count including the program name (at least 1). Raises an int error
// number when the system layer cannot start.
int t_Init(int argc, char** argv, int mode, bool linked);
// Closes every channel, restores the terminal and releases the task slot when
// this process owns it. Safe to call more than once.
void t_Exit();
// Flushes the standard streams and ends the process with code.
[[noreturn]] void t_Terminate(int code);

// The command line: element 0 is the program name.
extern std::vector<CBString> t_asCmdargs;

// Integer value of environment variable pszName, or iDefault when it is unset
// or does not start with a number.
int getintenv(char const* pszName, int iDefault = 0);
// The user's privilege level: environment value b_privlev, 0 when unset.
int getpriv();

// Message text of an error number: operating-system numbers 1..999 and the
// system layer's own numbers 1000..2999. The pointer stays valid until the
// next call.
char const* t_strerror(int n);

// Array base of OPTION BASE: 0 or 1.
extern long b_lArrayBase;
// Logical (system) file names are in use for the current program.
extern bool b_bLogical;
// Last file name handled, in the system's own form and as a Linux path.
extern CBString t_sMorkaFname;
extern CBString t_sLinuxFname;

// Task number of this program (1..t_GetMaxTask()): unique among the main
// programs running on the machine, kept across CHAIN/LINK and shared with
// child tasks. Names shared-memory objects and the debugger port.
int t_GetPid();
// Highest task number the process table can hand out.
int t_GetMaxTask();
// Number of running programs holding a task number (at t_Init).
extern unsigned m_iUsers;

// System-layer error numbers raised by the layer itself.
enum : int {
    MORKA_EPRIV = 1000,        // privilege level too low
    MORKA_ENOCHANNEL = 1003,   // no free channel
    MORKA_EBADNAME = 1009,     // empty or malformed file name
    MORKA_EBADORG = 1011,      // organisation unknown or unfit for the statement
    MORKA_ERESOURCE = 1014,    // resource exhausted (storage engine tables)
    MORKA_ENOTOPEN = 1019,     // channel not open for this operation
    MORKA_ELOCKED = 1023,      // file locked by another program past the wait limit
    MORKA_ERECLOCKED = 1024,   // record locked by another program past the wait limit
    MORKA_ENOTFOUND = 1025,    // no record with this key (keyed and record-number files)
    MORKA_EBUFFER = 1028,      // record buffer full
    MORKA_EKEY = 1029,         // key too long or record number negative
    MORKA_ETYPECODE = 1030,    // type code not accepted by the statement
    MORKA_ECHANNEL = 1053,     // channel number out of range
    MORKA_EBUSY = 1054,        // channel already in use
    MORKA_EDUPLICATE = 1057,   // duplicate key
    MORKA_EEOF = 1063,         // end of a keyed file in a positional read
    MORKA_EBADDEVICE = 1064,   // operation not allowed on this device
    MORKA_ECORRSTRING = 1087,  // corrupted string in record
    MORKA_ECORRRECORD = 1088,  // corrupted record
    MORKA_EINTERNAL = 1099,    // foreign exception inside the run-time
    MORKA_ETASKTABLE = 1100,   // process table unavailable or full
    MORKA_ECHARSET = 1121,     // an external character set is missing from the host
};

}  // namespace morka
