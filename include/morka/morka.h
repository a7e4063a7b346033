// The system layer libmorka: everything a run-time module may call.
#pragma once

#include <morka/CBString.h>
#include <morka/CharClass.h>
#include <morka/Charset.h>
#include <morka/Bcd.h>
#include <morka/FileInfo.h>
#include <morka/CharsetConv.h>
#include <morka/Console.h>
#include <morka/Driver.h>
#include <morka/FileLock.h>
#include <morka/FileMngr.h>
#include <morka/FnSym.h>
#include <morka/Lang.h>
#include <morka/FileName.h>
#include <morka/FileOps.h>
#include <morka/Settings.h>
#include <morka/Store.h>
#include <morka/StrMatch.h>
#include <morka/System.h>
#include <morka/Term.h>
#include <morka/TermKeys.h>
