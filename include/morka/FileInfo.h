// FileInfo: what the system layer tells about a file by name (t_Locate), its
// storage engine, the record field count of a channel, and user ids.
#pragma once

#include <morka/CBString.h>

namespace morka {

// File information filled by t_Locate.
class CFileInfo {
public:
    unsigned char cDevice = 0;        // device type of the name (t_DevType; 2 disk)
    int eOrg = 0;                     // organisation: ORG_KEYED, ORG_DIRECT, else ORG_SEQUENTIAL
    unsigned uNumber1 = 0;            // maximum key length (string-keyed files)
    unsigned uNumber2 = 0;            // record size (keyed and record-number files)
    unsigned long long nRecords = 0;  // records held (keyed and record-number files)
    unsigned long long nSize = 0;     // size in bytes
    unsigned uMode = 0;               // permission bits, as stat gives them
    unsigned uUid = 0;                // owner's Linux user id
    long long tTime = 0;              // time of the last change, seconds since the epoch
    CBString sPath;                   // Linux path name
    CBString sText1;                  // storage engine ("LMDB", "STDIO")
    CBString sText2;                  // owner's user name ("" when unknown)
    CBString sName;                   // the name as given
    CBString sGroup;                  // group's name ("" when unknown)
    CBString sLinkTarget;             // target when the name is a symbolic link
    CBString sLockName;               // reader table beside a keyed file
    CBString sDirectory;              // directory part of the Linux path
    CBString sBase;                   // last part of the Linux path
    CBString sExtension;              // text after the last dot of the last part
    CBString sDevice;                 // device number as "major:minor"
    CBString sInode;                  // inode number as text
};

// Fills info for a file name in the system's form (morka/FileName.h). Returns
// 0; 3030 when there is no such file (or the name is malformed);
// 1034 when the name is a directory or another object that is not a file;
// or the system error number. errno holds the system's reason on failure.
int t_Locate(CFileInfo& info, char const* pszName);
// Storage engine of a file by name: "LMDB" for keyed and record-number files,
// "STDIO" for other files, "" when there is no such file.
CBString t_Engine(char const* pszName);
// Fields fetched from the current record of a channel (nFields); -1 when
// the channel is not open.
int t_Fields(int iChannel);
// The current directory in the system's form of names; "" when unknown.
CBString t_Getcwd();
// Bytes spooled so far by a printer channel (its output is handed to the
// spool file first); 0 for any other channel.
long long t_SpoolerReport(int iChannel);
// Linux user id of a user name; -1 when unknown.
int t_LinuxUid(char const* pszName);
// The legacy user id of a Linux user id: the same number when it fits the
// 16-bit user number of the system (0..32767), else -1.
int t_MorkaUid(unsigned uUid);
// The legacy user id of a user name; -1 when unknown.
int t_MorkaUid(char const* pszName);

}  // namespace morka
