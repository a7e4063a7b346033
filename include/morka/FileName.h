// FileName: the system's own form of a file name and its Linux path.
//
//   [library\][directory/]name[.part...][:X]     "*" no file     "@path" a host path
//
// The Linux path is  [drive/][library.lib/][directory/]name : drive X is the
// directory in the environment value b_drive_X (a letter without a value is
// no device); without a drive the path is relative to the current directory
// (or absolute when the directory starts with '/'); a library is a directory
// whose Linux name ends in ".lib". The rule reverses exactly: a path under a
// drive's directory gets that drive back (the longest directory wins, then
// the first letter), a first relative component ending in ".lib" becomes the
// library, and a path that has no such form comes back as "@path".
#pragma once

#include <morka/CBString.h>

namespace morka {

// The Linux path of a name (blanks at both ends ignored); the empty string
// when the name is malformed, names no file ("*") or a drive without a
// directory. Device names (the console, printers) are not file names.
CBString t_morka_fn_2_linux_fn(char const* pszName);
// The system's form of a Linux path. iFlags 1: no drive letters (the path
// comes back relative to the current directory, absolute, or as "@path").
CBString t_linux_fn_2_morka_fn(char const* pszPath, int iFlags);
// The device type of a name: 1 the console ("CON", "CONSOLE", any case), 3 a
// configured printer ("PRTn" with the environment value b_prtn set), 2 a
// well-formed file name, 0 anything else.
int t_Device(char const* pszName);
// The spool file of a printer name: the value of b_prtn, or "prtn.spool" in
// the current directory when that value is empty. Empty when not a printer.
CBString t_PrinterSpool(char const* pszName);

}  // namespace morka
