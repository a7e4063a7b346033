// FileName: translation between the system's file names and Linux paths.
// A name is taken apart once (s_Parse); the reverse translation builds a
// candidate name and keeps it only when it translates back to the very same
// path, so the two directions can never disagree ("@path" otherwise).
#include <morka/FileName.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace morka {

namespace {

struct CName {
    bool bHost = false;       // "@path": sRest is the path as it is
    char cDrive = 0;          // 'A'..'Z' or 0
    CBString sLibrary;        // before '\'
    CBString sRest;           // [directory/]name
};

bool s_NameOk(CBString const& sRest) {
    if (sRest.empty() || sRest.str().back() == '/') return false;
    int iSlash = sRest.reversefind('/', sRest.length() - 1);
    CBString sName = sRest.midstr(iSlash + 1, sRest.length());
    // Dot-separated parts, none empty: this also refuses "." and "..".
    int iStart = 0;
    for (;;) {
        int iDot = sName.find('.', iStart);
        int iEnd = iDot < 0 ? sName.length() : iDot;
        if (iEnd == iStart) return false;
        if (iDot < 0) return true;
        iStart = iDot + 1;
    }
}

bool s_Parse(CBString s, CName& out) {
    s.trim();
    if (s.empty() || s == "*") return false;
    if (s[0] == '@') {
        out.bHost = true;
        out.sRest = s.midstr(1, s.length());
        return !out.sRest.empty();
    }
    int n = s.length();
    if (n >= 2 && s[n - 2] == ':' && std::isalpha(static_cast<unsigned char>(s[n - 1]))) {
        out.cDrive = static_cast<char>(std::toupper(static_cast<unsigned char>(s[n - 1])));
        s.truncate(n - 2);
    }
    if (s.find(':') >= 0) return false;
    int iBack = s.find('\\');
    if (iBack >= 0) {
        if (s.find('\\', iBack + 1) >= 0) return false;
        out.sLibrary = s.left(iBack);
        s = s.midstr(iBack + 1, s.length());
        if (out.sLibrary.empty() || out.sLibrary.find('/') >= 0) return false;
    }
    bool bAbsolute = !s.empty() && s[0] == '/';
    if (bAbsolute && (out.cDrive || !out.sLibrary.empty())) return false;
    out.sRest = s;
    return s_NameOk(s);
}

// The directory of drive c without a trailing '/'; empty when not set.
CBString s_DriveDir(char c) {
    char szVar[] = "b_drive_X";
    szVar[8] = c;
    char const* psz = std::getenv(szVar);
    CBString s(psz ? psz : "");
    while (s.length() > 1 && s.str().back() == '/') s.truncate(s.length() - 1);
    return s;
}

bool s_IsPrinterName(CBString const& sUpper) {
    if (sUpper.length() < 4 || sUpper.left(3) != CBString("PRT")) return false;
    for (int i = 3; i < sUpper.length(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(sUpper[i]))) return false;
    return true;
}

// The environment value of printer name s, or null when it is not configured.
char const* s_PrinterValue(CBString const& sTrimmed) {
    CBString sUpper(sTrimmed);
    sUpper.toupper();
    if (!s_IsPrinterName(sUpper)) return nullptr;
    CBString sVar("b_");
    sVar += CBString(sTrimmed).tolower();
    return std::getenv(sVar.c_str());
}

}  // namespace

CBString t_morka_fn_2_linux_fn(char const* pszName) {
    CName name;
    if (!pszName || !s_Parse(pszName, name)) return CBString();
    if (name.bHost) return name.sRest;
    CBString sPath;
    if (name.cDrive) {
        sPath = s_DriveDir(name.cDrive);
        if (sPath.empty()) return CBString();
        if (sPath != CBString("/")) sPath += '/';
    }
    if (!name.sLibrary.empty()) sPath += name.sLibrary + ".lib/";
    sPath += name.sRest;
    return sPath;
}

CBString t_linux_fn_2_morka_fn(char const* pszPath, int iFlags) {
    CBString sPath(pszPath ? pszPath : "");
    if (sPath.empty()) return sPath;
    char cDrive = 0;
    CBString sRel = sPath;
    if (!(iFlags & 1)) {
        int nBest = 0;
        for (char c = 'A'; c <= 'Z'; ++c) {
            CBString sDir = s_DriveDir(c);
            if (sDir.empty()) continue;
            CBString sPrefix = sDir == CBString("/") ? sDir : sDir + "/";
            if (sPath.length() > sPrefix.length() && sPath.left(sPrefix.length()) == sPrefix &&
                sPrefix.length() > nBest) {
                nBest = sPrefix.length();
                cDrive = c;
                sRel = sPath.midstr(sPrefix.length(), sPath.length());
            }
        }
    }
    CBString sName;
    int iSlash = sRel.find('/');
    if (iSlash > 4 && sRel.midstr(iSlash - 4, 4) == CBString(".lib"))
        sName = sRel.left(iSlash - 4) + "\\" + sRel.midstr(iSlash + 1, sRel.length());
    else
        sName = sRel;
    if (cDrive) {
        sName += ':';
        sName += cDrive;
    }
    if (t_morka_fn_2_linux_fn(sName.c_str()) == sPath) return sName;
    return "@" + sPath;
}

int t_Device(char const* pszName) {
    CBString s(pszName ? pszName : "");
    s.trim();
    if (s.empty()) return 0;
    if (s.caselessEqual("CON") || s.caselessEqual("CONSOLE")) return 1;
    CBString sUpper(s);
    sUpper.toupper();
    if (s_IsPrinterName(sUpper)) return s_PrinterValue(s) ? 3 : 0;
    return t_morka_fn_2_linux_fn(s.c_str()).empty() ? 0 : 2;
}

CBString t_PrinterSpool(char const* pszName) {
    CBString s(pszName ? pszName : "");
    s.trim();
    char const* pszValue = s_PrinterValue(s);
    if (!pszValue) return CBString();
    if (*pszValue) return CBString(pszValue);
    return CBString(s).tolower() + ".spool";
}

}  // namespace morka
