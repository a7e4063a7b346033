// ControlCodes: Crt and Prt (control-code names of the terminal and the
// printer, line-drawing names first) and the console dialogues Errmsg and
// Yesno. A pattern ending in "*?" accepts any longer spelling ("CLEAR" for
// C*?), "*." any spelling ending in a period. Exact names are looked for
// before patterns, so that CR (13) is not taken by the pattern C*? (12).
#include <velbra/Hooks.h>
#include <velbra/SysEnv.h>
#include <morka/morka.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace morka {

namespace {

struct CCode {
    char const* pszName;
    unsigned char uCode;
};

constexpr CCode s_aLine[] = {
    {"DDI", 183}, {"DFWI", 179}, {"DHOR*?", 184}, {"DI", 168}, {"DL", 18}, {"DLI", 180}, {"DLLC", 178},
    {"DLRC", 177}, {"DRI", 181}, {"DSBK", 173}, {"DUI", 182}, {"DULC", 175}, {"DURC", 176}, {"DVER*.", 185},
    {"FWI", 164}, {"HOR*?", 169}, {"LI", 165}, {"LLC", 163}, {"LRC", 162}, {"LSBK", 171}, {"MSBK", 172},
    {"RI", 166}, {"RLLC", 174}, {"RLRC", 173}, {"RULC", 171}, {"RURC", 172}, {"SDBK", 174}, {"UI", 167},
    {"ULC", 160}, {"URC", 161}, {"VER*?", 170},
};

constexpr CCode s_aCrt[] = {
    {"BEL*?", 7}, {"BOF*?", 30}, {"BON", 29}, {"C*?", 12}, {"CR", 13}, {"DC", 20}, {"DL", 18}, {"D*?", 10},
    {"EOL", 23}, {"EOS", 24}, {"ESC", 27}, {"EU", 28}, {"FOF*?", 3}, {"FON", 2}, {"GOF*?", 133}, {"GON", 132},
    {"HOF*?", 5}, {"HON", 4}, {"H*?", 1}, {"IC", 19}, {"IL", 17}, {"KOF*?", 21}, {"KON", 25}, {"L*?", 8},
    {"MOF*?", 129}, {"MON", 128}, {"NL", 128}, {"POF*?", 5}, {"PON", 4}, {"RVOF*?", 15}, {"RVON", 14},
    {"R*?", 6}, {"SOF*?", 131}, {"SON", 130}, {"TAB", 9}, {"ULOF*?", 22}, {"ULON", 11}, {"U*?", 26},
};

constexpr CCode s_aPrt[] = {
    {"BAC*?", 8}, {"BCOF*?", 20}, {"BCON", 6}, {"BDOF*?", 15}, {"BDON", 14}, {"BEL*?", 7}, {"CDOF*?", 3},
    {"CDON", 2}, {"CHAR", 255}, {"CMDOF*?", 129}, {"CMDON", 128}, {"CPI10", 16}, {"CPI12", 17},
    {"DATA", 254}, {"DHOF*?", 25}, {"DHON", 21}, {"DWOF*?", 24}, {"DWON", 23}, {"EJ*?", 12}, {"ESC", 27},
    {"GOF*?", 133}, {"GON", 132}, {"ITOF*?", 30}, {"ITON", 29}, {"LAND*?", 28}, {"LF", 10}, {"LPI6", 18},
    {"LPI8", 19}, {"LPIG*?", 130}, {"OVERL*?", 1}, {"OVERP*?", 31}, {"PORT*?", 26}, {"SHOF*?", 5},
    {"SHON", 4}, {"ULOF*?", 22}, {"ULON", 11},
};

// The pattern's stem before '*' must start the name; "*?" takes any rest,
// "*." a rest ending in a period.
bool s_Matches(std::string const& sPattern, std::string const& sName) {
    std::size_t iStar = sPattern.find('*');
    if (iStar == std::string::npos) return false;
    if (sName.compare(0, iStar, sPattern, 0, iStar) != 0) return false;
    if (sPattern.compare(iStar, std::string::npos, "*.") == 0) return sName.size() > iStar && sName.back() == '.';
    return true;
}

template <std::size_t N>
int s_Find(CCode const (&aTable)[N], std::string const& sName, bool bPattern) {
    for (CCode const& c : aTable) {
        if (c.pszName[0] > sName[0]) break;
        if (bPattern ? s_Matches(c.pszName, sName) : sName == c.pszName) return c.uCode;
    }
    return -1;
}

template <std::size_t N>
CBString s_Code(char const* name, CCode const (&aTable)[N]) {
    if (!name || !*name) return CBString();
    std::string s(name);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (bool bPattern : {false, true}) {
        int iCode = s_Find(s_aLine, s, bPattern);
        if (iCode < 0) iCode = s_Find(aTable, s, bPattern);
        if (iCode >= 0) return CBString(static_cast<char>(iCode));
    }
    return CBString();
}

int s_UpperKey(int iKey) { return iKey >= 0 && iKey < 256 ? std::toupper(iKey) : iKey; }

// The letter of b_yes / b_no (its second character) or the default.
char s_Letter(char const* pszVar, char cDefault) {
    char const* p = std::getenv(pszVar);
    return p && p[0] && p[1] ? static_cast<char>(std::toupper(static_cast<unsigned char>(p[1]))) : cDefault;
}

}  // namespace

CBString Crt(char const* name) { return s_Code(name, s_aCrt); }
CBString Prt(char const* name) { return s_Code(name, s_aPrt); }

CBString Errmsg(char const* message) {
    int iLast = TermPage(TermGetActive()) - 1;
    TermMove(iLast, 0);
    TermPrintf("%s%c%c ", message ? message : "", 23, 7);
    int iKey = s_UpperKey(TermConvIn(b_ConGetW(7)));
    TermMove(iLast, 0);
    TermPut(23);
    TermRefresh();
    return iKey > 0 && iKey < 256 ? CBString(static_cast<char>(iKey)) : CBString();
}

CBString Errmsg(CBString const& message) { return Errmsg(message.c_str()); }

CBString Yesno() {
    char cYes = s_Letter("b_yes", 'Y');
    char cNo = s_Letter("b_no", 'N');
    TermPrintf("(%c/%c)", cYes, cNo);
    for (;;) {
        int iKey = s_UpperKey(TermConvIn(b_ConGetW(0)));
        // End of input answers "no": the question never hangs on a closed keyboard.
        if (iKey < 0) return CBString(cNo);
        if (iKey == cYes || iKey == cNo) return CBString(static_cast<char>(iKey));
    }
}

}  // namespace morka
