// Lang: the language of the system's own texts (month names, numbers in
// words). Codes: 0 leave names to the system library's locale, 1 English,
// 2 French, 3 German.
#pragma once

namespace morka {

enum : int {
    LANG_SYSTEM = 0,
    LANG_ENGLISH = 1,
    LANG_FRENCH = 2,
    LANG_GERMAN = 3,
};

// The language code: the environment value b_lang (a code 0-3, or a name
// such as "english", "fr", "Deutsch" by its first two letters, any case)
// wins; otherwise the language of LC_ALL, LC_MESSAGES or LANG (the first one
// set): fr 2, de 3, anything else (C, POSIX, en, ...) 1. Read at each call,
// so SetEnv of b_lang takes effect at once.
int getlang();

}  // namespace morka
