// velbra.h: the one header a compiled BASIC program includes. It declares
// everything the run-time exports, in namespace morka. Build a program with
//   g++ prog.cpp $(pkg-config --cflags --libs velbra-ieee)
// (or velbra-bcd for the decimal flavour, which defines VELBRA_BCD=1).
#pragma once

#include <morka/morka.h>

#include <velbra/Flavour.h>
#include <velbra/NumClasses.h>
#include <velbra/ErrorTrap.h>
#include <velbra/ConsoleWait.h>
#include <velbra/Events.h>
#include <velbra/TypeBase.h>
#include <velbra/Startup.h>
#include <velbra/SysEnv.h>
#include <velbra/Hooks.h>
#include <velbra/Debug.h>
#include <velbra/FileApi.h>
#include <velbra/FileKey.h>
#include <velbra/FormatG.h>
#include <velbra/LockWait.h>
#include <velbra/Matrix.h>
#include <velbra/FuncCharset.h>
#include <velbra/FuncWords.h>
#include <velbra/Input.h>
#include <velbra/Print.h>
#include <velbra/PrintOut.h>
#include <velbra/RealMath.h>
#include <velbra/FuncStr.h>
#include <velbra/FuncNum.h>
#include <velbra/NumFormat.h>
#include <velbra/FuncDate.h>
#include <velbra/Data.h>
#include <velbra/Record.h>
#include <velbra/FileRecord.h>
#include <velbra/FileRawApi.h>
#include <velbra/FileCalls.h>
