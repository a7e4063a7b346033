// StrArrayParse: Split/Parse tokens and the path layout. Choices: delimiters
// are bytes (an embedded NUL byte in the text is an ordinary byte); in Path
// the drive part is the text after the last ':' whatever it holds, and a
// name's empty parts ("a..b") keep their place as empty elements.
#include "StrArrayParse.h"

#include <cctype>
#include <morka/FnSym.h>

namespace morka {

std::vector<CBString> b_CutAtDelimiters(std::string_view s, std::string_view delimiters, bool bKeepDelimiters) {
    std::vector<CBString> aOut;
    if (delimiters.empty() || s.empty()) {
        aOut.emplace_back(s);
        return aOut;
    }
    std::size_t i = 0;
    while (i < s.size()) {
        bool bDelimiter = delimiters.find(s[i]) != std::string_view::npos;
        std::size_t iEnd = bDelimiter ? s.find_first_not_of(delimiters, i) : s.find_first_of(delimiters, i);
        if (iEnd == std::string_view::npos) iEnd = s.size();
        if (!bDelimiter || bKeepDelimiters) aOut.emplace_back(s.substr(i, iEnd - i));
        i = iEnd;
    }
    if (aOut.empty()) aOut.emplace_back();
    return aOut;
}

namespace {

enum : std::size_t { PATH_LIBRARY = 0, PATH_BACKSLASH, PATH_DIRECTORY, PATH_SLASH, PATH_NAME };

CBString s_TranslateName(CBString const& sName, int iMode) {
    switch (iMode) {
    case 0: return t_strfnsym(sName.c_str());
    case 1: return t_strsrcfnsym(sName.c_str());
    case 2: return t_strdstfnsym(sName.c_str());
    default: return sName;
    }
}

// The first run of '=' of a part reduced to one '=' (destination names).
CBString s_FirstEqualRunToOne(CBString const& sPart) {
    std::string s = sPart.str();
    std::size_t i = s.find('=');
    if (i != std::string::npos) {
        std::size_t iEnd = s.find_first_not_of('=', i);
        if (iEnd == std::string::npos) iEnd = s.size();
        s.erase(i + 1, iEnd - i - 1);
    }
    return CBString(std::move(s));
}

}  // namespace

std::vector<CBString> b_PathElements(CBString const& sPath, int iMode) {
    std::vector<CBString> aOut(5);
    std::string s = sPath.str();
    char cDrive = '*';
    bool bHost = false;
    std::size_t iColon = s.rfind(':');
    if (iColon != std::string::npos) {
        std::string sAfter = s.substr(iColon + 1);
        if (sAfter.size() == 1 && std::isalpha(static_cast<unsigned char>(sAfter[0]))) {
            cDrive = static_cast<char>(std::tolower(static_cast<unsigned char>(sAfter[0])));
        } else if (!sAfter.empty() && sAfter != "*") {
            cDrive = '@';
            bHost = true;
        }
        s.erase(iColon);
    }
    std::string sName;
    bool bHasName = true;
    if (bHost) {
        std::size_t iSlash = s.rfind('/');
        if (iSlash != std::string::npos) {
            aOut[PATH_DIRECTORY] = CBString(s.substr(0, iSlash));
            aOut[PATH_SLASH] = CBString("/");
            sName = s.substr(iSlash + 1);
        } else {
            sName = s;
        }
        bHasName = !sName.empty();
    } else {
        std::size_t iBack = s.find('\\');
        if (iBack != std::string::npos) {
            aOut[PATH_LIBRARY] = t_strfnsym(s.substr(0, iBack).c_str());
            aOut[PATH_BACKSLASH] = CBString("\\");
            s.erase(0, iBack + 1);
        }
        std::size_t iSlash = s.rfind('/');
        if (iSlash != std::string::npos) {
            aOut[PATH_DIRECTORY] = t_strfnsym(s.substr(0, iSlash).c_str());
            aOut[PATH_SLASH] = CBString("/");
            sName = s.substr(iSlash + 1);
        } else {
            sName = s;
        }
        bHasName = !sName.empty();
        if (bHasName) sName = s_TranslateName(CBString(sName), iMode).str();
    }
    aOut.resize(PATH_NAME);
    if (bHasName) {
        std::size_t iStart = 0;
        for (bool bFirst = true;; bFirst = false) {
            std::size_t iDot = sName.find('.', iStart);
            CBString sPart(sName.substr(iStart, iDot == std::string::npos ? std::string::npos : iDot - iStart));
            if (!bFirst) aOut.emplace_back(".");
            aOut.push_back(iMode == 2 ? s_FirstEqualRunToOne(sPart) : sPart);
            if (iDot == std::string::npos) break;
            iStart = iDot + 1;
        }
    }
    aOut.emplace_back(":");
    aOut.emplace_back(cDrive);
    return aOut;
}

}  // namespace morka
