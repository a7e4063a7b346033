// SysEnv: SYSENV and the named environment values. Numbers come back as
// their decimal text. Choices: the language code (selector 4) is b_lang's
// value, else the first two letters of LANG upper-cased, else "EN"; the
// system layer's version (1010) is the run-time's version text; there is no
// mouse (selector 32 gives "-1").
#include <velbra/ConsoleWait.h>
#include <velbra/Events.h>
#include <velbra/FileApi.h>
#include <velbra/Flavour.h>
#include <velbra/Startup.h>
#include <velbra/SysEnv.h>
#include <morka/morka.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <pwd.h>
#include <string>
#include <sys/utsname.h>
#include <unistd.h>
#include <utmpx.h>

namespace morka {

namespace {

struct CEnvName {
    char const* pszName;
    char const* pszVar;
    bool bSettable;
};

constexpr CEnvName s_aEnv[] = {
    {"CHARSET", "b_charset", true},   {"CURRENCY", "b_currency", false},
    {"DATEFORM", "b_dateform", false}, {"DATEIN", "b_datein", false},
    {"DATEOUT", "b_dateout", false},   {"HOME", "b_home", true},
    {"IDENT", "b_ident", false},       {"LANG", "b_lang", true},
    {"OPENNL", "b_opennl", false},     {"PRIV", "b_privlev", false},
    {"PRIVLEV", "b_privlev", false},   {"QUIT", "b_quit", false},
    {"STRTIME", "b_strtime", true},    {"WORK", "b_work", true},
    {"NOTLIBCOMPATIBLE", "b_notlibcompatible", false},
};

std::string s_Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string s_Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The variable of a name and whether a program may set it.
struct CEnvVar {
    std::string sVar;
    bool bSettable = true;
};

CEnvVar s_Lookup(std::string const& sName) {
    std::string sUpper = s_Upper(sName);
    for (CEnvName const& e : s_aEnv)
        if (sUpper == e.pszName) return {e.pszVar, e.bSettable};
    return {sName, true};
}

CBString s_Var(std::string const& sVar) {
    char const* p = std::getenv(sVar.c_str());
    return CBString(p ? p : "");
}

void s_Store(CEnvVar const& v, std::string const& sValue) {
    if (!v.bSettable) return;
    if (sValue.empty()) {
        ::unsetenv(v.sVar.c_str());
    } else if (::setenv(v.sVar.c_str(), sValue.c_str(), 1) != 0) {
        throw 12;
    }
}

void s_Charset(std::string const& sValue) {
    std::string s = s_Upper(sValue);
    if (s == "ZEZIR") TermCharSet(256);
    else if (s == "MORKA") TermCharSet(512);
}

CBString s_Number(long n) { return CBString(std::to_string(n)); }

// Selector 17: "name" or "name=value".
CBString s_NamedValue(std::string const& sText) {
    std::size_t iEq = sText.find('=');
    bool bSet = iEq != std::string::npos;
    std::string sName = bSet ? sText.substr(0, iEq) : sText;
    std::string sValue = bSet ? sText.substr(iEq + 1) : std::string();
    CEnvVar v = s_Lookup(sName);
    CBString sResult = s_Var(v.sVar);
    if (!bSet) return sResult;
    if (v.sVar == "b_charset") {
        s_Charset(sValue);
    } else if (v.sVar == "b_opennl") {
        return _SetOpenNl(sValue.c_str());
    } else if (v.sVar == "b_strtime") {
        std::string s = s_Upper(sValue);
        if (s == "ZEZIR") Morka.bGlibcTime = false;
        else if (s == "GLIBC") Morka.bGlibcTime = true;
    }
    s_Store(v, sValue);
    return sResult;
}

int s_iTmp = 1;
char s_cTmp = 'a';

// Selector 20: a temporary name from a template.
CBString s_TempName(std::string s) {
    char aBuf[64];
    std::size_t i = s.find("###@");
    if (i != std::string::npos) {
        std::snprintf(aBuf, sizeof aBuf, "%03d%c", t_GetPid(), s_cTmp);
        s_cTmp = s_cTmp == 'z' ? 'a' : static_cast<char>(s_cTmp + 1);
        return CBString(s.replace(i, 4, aBuf));
    }
    std::string sLower = s_Lower(s);
    std::size_t iLast = sLower.rfind("xxxxxx");
    if (iLast != std::string::npos && (sLower.rfind("xxxxxx", 0) == 0 || sLower.find(".xxxxxx") != std::string::npos)) {
        std::snprintf(aBuf, sizeof aBuf, "%03d%03d", t_GetPid(), s_iTmp);
        s_iTmp = s_iTmp >= 999 ? 1 : s_iTmp + 1;
        return CBString(s.replace(iLast, 6, aBuf));
    }
    if (!s.empty()) return CBString(s);
    std::snprintf(aBuf, sizeof aBuf, "system.work%03d%03d", t_GetPid(), s_iTmp);
    s_iTmp = s_iTmp >= 999 ? 1 : s_iTmp + 1;
    return CBString(aBuf);
}

// Selector 34: "stdin|stdout|stderr[,device]".
CBString s_Streams(std::string const& sText) {
    std::size_t iComma = sText.find(',');
    std::string sName = s_Lower(sText.substr(0, iComma));
    FILE* pStream = sName == "stdin" ? stdin : sName == "stdout" ? stdout : sName == "stderr" ? stderr : nullptr;
    if (!pStream) return CBString("Y");
    CBString sResult(::isatty(fileno(pStream)) ? "N" : "Y");
    if (iComma != std::string::npos) {
        std::string sDevice = sText.substr(iComma + 1);
        std::string sLow = s_Lower(sDevice);
        if (sLow == "con" || sLow == "console") sDevice = "/dev/tty";
        b_ConRedirect(pStream, sDevice.c_str());
    }
    return sResult;
}

// "PRT#*#": PRT, a digit, anything, a digit (upper-cased name).
bool s_PrinterName(std::string const& s) {
    return s.size() >= 5 && s.compare(0, 3, "PRT") == 0 && std::isdigit(static_cast<unsigned char>(s[3])) &&
           std::isdigit(static_cast<unsigned char>(s.back()));
}

CBString s_LoginTime() {
    setutxent();
    utmpx* p;
    pid_t iPid = getpid();
    CBString sResult;
    while ((p = getutxent()) != nullptr) {
        if (p->ut_pid != iPid) continue;
        time_t t = p->ut_tv.tv_sec;
        tm tmLocal;
        localtime_r(&t, &tmLocal);
        char const* pszForm = Morka.cDateForm == 'E'   ? "%d-%m-%Y %H:%M:%S"
                              : Morka.cDateForm == 'I' ? "%Y.%m.%d %H:%M:%S"
                                                       : "%m/%d/%Y %H:%M:%S";
        char aBuf[64];
        std::strftime(aBuf, sizeof aBuf, pszForm, &tmLocal);
        sResult = aBuf;
        break;
    }
    endutxent();
    return sResult;
}

std::string s_LoginName() {
    passwd* p = getpwuid(geteuid());
    return p ? p->pw_name : "";
}

}  // namespace

CBString SysEnv(int selector, char const* name) {
    std::string sName = name ? name : (selector == 7 ? "CON" : "");
    char aBuf[64];
    switch (selector) {
    case 0: return CBString(b_szVersion);
    case 1: {
        char const* p = std::getenv("b_account");
        return CBString(s_Upper(p ? p : s_LoginName()));
    }
    case 2: return s_Number(static_cast<long>(getuid()));
    case 3: return s_Number(t_GetPid());
    case 4: {
        char const* p = std::getenv("b_lang");
        if (p) return CBString(p);
        char const* pLang = std::getenv("LANG");
        if (pLang && std::isalpha(static_cast<unsigned char>(pLang[0])) && std::isalpha(static_cast<unsigned char>(pLang[1])))
            return CBString(s_Upper(std::string(pLang, 2)));
        return CBString("EN");
    }
    case 5: {
        char const* p = std::getenv("b_privlev");
        int n = p ? std::atoi(p) : 0;
        return s_Number(n >= 10 ? 9 : n);
    }
    case 6: return s_Number(nice(0));
    case 7: {
        std::string sUpper = s_Upper(sName);
        if (sUpper.empty() || sUpper == "CON" || (sUpper.size() <= 5 && s_PrinterName(sUpper)))
            return s_Number(Class(sName.empty() ? "CON" : sName.c_str()));
        return CBString();
    }
    case 8: {
        if (sName.empty()) return CBString();
        char* pEnd = nullptr;
        long n = std::strtol(sName.c_str(), &pEnd, 10);
        if (*pEnd != 0) return CBString();
        char const* pszVar = n == 0 ? "b_yes" : n == 1 ? "b_no" : nullptr;
        if (!pszVar) return CBString();
        char const* p = std::getenv(pszVar);
        return CBString(p ? p : (n == 0 ? "1YES" : "1NO"));
    }
    case 10: {
        char const* p = std::getenv("b_osver");
        return CBString(p ? p : "5.0");
    }
    case 12: return s_LoginTime();
    case 13: {
        char const* p = std::getenv("b_ident");
        if (p) return CBString(p);
        utsname u;
        return CBString(uname(&u) == 0 ? u.nodename : "");
    }
    case 14:
    case 15: return CBString("2");
    case 16: {
        std::string sLower = s_Lower(sName);
        if (s_PrinterName(s_Upper(sLower)) && std::getenv(("b_" + sLower).c_str()))
            return CBString(Morka.bPrinter ? "1" : "0");
        return CBString("-1");
    }
    case 17: return s_NamedValue(sName);
    case 19: return CBString(b_bDecimalFlavour ? "BCD" : "IEEE");
    case 20: return s_TempName(sName);
    case 21: {
        std::string s;
        for (int i = 9; i >= 0; --i) s.push_back((b_iOnSignalsTraps >> i) & 1 ? '1' : '0');
        return CBString(s);
    }
    case 22: return CBString("Y");
    case 26:
        std::snprintf(aBuf, sizeof aBuf, "%dx%d", TermLine(), TermPage());
        return CBString(aBuf);
    case 32:
    case 33: return CBString("-1");
    case 34: return s_Streams(sName);
    case 35: return s_Number(static_cast<long>(m_iUsers));
    case 36: {
        bool bCurses = TermHasNCurses();
        if (!sName.empty()) {
            long n = std::strtol(sName.c_str(), nullptr, 10);
            if (n != 0 && !bCurses) {
                TermExit();
                TermInit(3);
            } else if (n == 0 && bCurses) {
                TermExit();
                TermInit(2);
            }
        }
        return CBString(bCurses ? "-1" : "0");
    }
    case 100: return CBString("LINUX");
    case 101: return CBString(Morka.iCharset == 256 ? "T" : Morka.iCharset == 512 ? "X" : "L");
    case 102: return CBString("L");
    case 103: return CBString(getintenv("b_opennl", 0) != 0 ? "10" : "13");
    case 105: return CBString(std::string("Velbra run-time ") + b_szVersion);
    case 1001: return CBString(s_LoginName());
    case 1002: return s_Number(static_cast<long>(geteuid()));
    case 1003: return s_Number(static_cast<long>(getpid()));
    case 1010: return CBString(b_szVersion);
    case 1017: return s_Var(sName);
    default: return CBString();
    }
}

CBString GetEnv(char const* name) { return s_Var(s_Lookup(name ? name : "").sVar); }

CBString SetEnv(char const* name, char const* value) {
    std::string sValue = value ? value : "";
    CEnvVar v = s_Lookup(name ? name : "");
    if (v.sVar == "b_charset") {
        s_Charset(sValue);
    } else if (v.sVar == "b_opennl") {
        _SetOpenNl(sValue.c_str());
    } else if (v.sVar == "b_strtime") {
        Morka.bGlibcTime = s_Upper(sValue) == "GLIBC";
        if (!Morka.bGlibcTime) ::unsetenv("b_strtime");
    } else {
        s_Store(v, sValue);
    }
    return CBString(sValue);
}

CBString _SetOpenNl(char const* text) {
    int iChannel = 0, iMode = 0;
    int n = text ? std::sscanf(text, "%d,%d", &iChannel, &iMode) : 0;
    if (n < 1 || iChannel < 1 || iChannel >= FileMngr.nChannels) return CBString();
    QXFILE& f = FileMngr.aFiles[static_cast<std::size_t>(iChannel)];
    if (!f.bOpen || f.eOrg != ORG_SEQUENTIAL) return CBString();
    unsigned uEol = f.uFlags & UF_EOL_MASK;
    CBString sResult = s_Number(uEol == UF_EOL_LF ? 1 : uEol == UF_EOL_CRLF ? 2 : 0);
    f.uFlags &= ~static_cast<unsigned>(UF_EOL_MASK);
    if (n == 2) f.uFlags |= iMode == 1 ? UF_EOL_LF : iMode == 2 ? UF_EOL_CRLF : UF_EOL_CR;
    return sResult;
}

CBString Cmdarg(int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= t_asCmdargs.size()) return CBString();
    return t_asCmdargs[static_cast<std::size_t>(i)];
}

}  // namespace morka
