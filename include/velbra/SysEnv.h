// SysEnv: the environment functions: SYSENV selectors, named environment
// values (GetEnv/SetEnv over the b_ variables), the line-end mode of a text
// channel, command-line arguments, control-code names of the terminal and
// the printer, and the console dialogues Errmsg and Yesno.
#pragma once

#include <morka/CBString.h>

namespace morka {

// The system value of selector (null name: "", for selector 7 "CON").
// Unknown selectors give "".
CBString SysEnv(int selector, char const* name);
// The value of a named environment value (CHARSET, HOME, ... or the name
// itself as a variable); "" when unset.
CBString GetEnv(char const* name);
// Sets a named environment value (read-only names are not set; an empty
// value removes the variable); returns value.
CBString SetEnv(char const* name, char const* value);
// "channel[,mode]": the channel's line-end mode (1 LF, 2 CR LF, 0 other),
// then set to mode (1 LF, 2 CR LF, other CR) when given. "" when the channel
// is not an open text channel.
CBString _SetOpenNl(char const* text);
// Command-line argument i (0: the program), "" outside the list.
CBString Cmdarg(int i);
// The control byte of a terminal / printer function name, "" when unknown.
CBString Crt(char const* name);
CBString Prt(char const* name);
// Shows message on the window's last line, waits for a key and returns it
// (upper case).
CBString Errmsg(char const* message);
CBString Errmsg(CBString const& message);
// Writes "(Y/N)" with the letters of b_yes / b_no and returns the letter
// answered.
CBString Yesno();

}  // namespace morka
