// FileOps: the file statements of the system layer that work on names:
// CREATE, ERASE, RENAME, TRUNCATE and COPY. Each returns 0 or an error number
// (it raises nothing) and sets the last file names (t_sMorkaFname,
// t_sLinuxFname) to the name it failed on. A blank name gives 1009, a name
// that is no disk file 19, an organisation without a driver 1011; the rest
// are operating-system numbers (2 not found, 13 protected, 17 exists, 39
// directory not empty, 28 no space, ...). Every channel's output is handed to
// the system first, so the files are complete when they are named.
#pragma once

namespace morka {

// Creates an empty file of organisation org; recordSize and keyLen are the
// keyed drivers' record and key sizes (0: their defaults). 17 when it exists.
int t_Create(char const* name, int org);
int t_Create(char const* name, int org, char const* extra);
int t_Create(char const* name, int org, int recordSize, int keyLen);
// Creates an ISAM file from its record and index descriptions.
int t_Create(char const* name, char const* recordDescription, char const* indexDescription);
// Removes a file (an empty directory or library too).
int t_Remove(char const* name);
// Renames a file; never replaces an existing one (17).
int t_Rename(char const* from, char const* to);
// Empties a file, keeping it.
int t_ClearFile(char const* name);
// Copies from to to. bReplace: an existing target is replaced (else 17);
// bKeep: the copy keeps the permission bits and times of the original. The
// two texts are not used by the plain-file copy (pass null).
int t_Copy(char const* from, char const* to, bool bReplace, bool bKeep, char const* pszA, char const* pszB);

}  // namespace morka
