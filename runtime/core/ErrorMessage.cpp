// ErrorMessage: the message text of an error number. Numbers up to 2999 take
// the system layer's text; BASIC errors (3000 + k) start with "Error k " and
// continue with the text of the table below. Entries that name a file use the
// last file name in both forms and fall back to a system text when either
// name is empty.
#include <velbra/ErrorTrap.h>
#include <morka/morka.h>

namespace morka {

namespace {

enum class t_Kind {
    Text,        // pszText as it is
    SysText,     // the system layer's text of iSys
    FileNames,   // pszText with both file names; iSys text when a name is empty
    Command,     // pszText with the Zezir-form name
    NotEmpty,    // pszText with both names; "Directory or library not empty" without
};

struct CMessage {
    int iNumber;
    t_Kind eKind;
    char const* pszText;
    int iSys;
};

constexpr CMessage s_aMessages[] = {
    {3027, t_Kind::Text, "File is not open", 0},
    {3028, t_Kind::SysText, nullptr, 1019},
    {3029, t_Kind::Text, "Subscript range error", 0},
    {3030, t_Kind::FileNames, "File %s (%s) not found", 2},
    {3031, t_Kind::SysText, nullptr, 28},
    {3032, t_Kind::SysText, nullptr, 1011},
    {3033, t_Kind::FileNames, "File %s (%s) is protected", 1},
    {3034, t_Kind::SysText, nullptr, 1029},
    {3035, t_Kind::SysText, nullptr, 1014},
    {3036, t_Kind::Text, "Out of data", 0},
    {3038, t_Kind::SysText, nullptr, 1053},
    {3039, t_Kind::Command, "Command %s not found", 0},
    {3041, t_Kind::SysText, nullptr, 1058},
    {3042, t_Kind::SysText, nullptr, 1059},
    {3043, t_Kind::SysText, nullptr, 1060},
    {3044, t_Kind::SysText, nullptr, 1061},
    {3045, t_Kind::SysText, nullptr, 1062},
    {3046, t_Kind::SysText, nullptr, 1005},
    {3047, t_Kind::SysText, nullptr, 1028},
    {3048, t_Kind::SysText, nullptr, 1024},
    {3049, t_Kind::FileNames, "File %s (%s) is locked", 1023},
    {3050, t_Kind::Text, "Division by zero", 0},
    {3051, t_Kind::Text, "Integer overflow", 0},
    {3052, t_Kind::Text, "Window is not opened", 0},
    {3053, t_Kind::Text, "This console does not support windowing", 0},
    {3054, t_Kind::Text, "Insufficient memory for WINDOW statement", 0},
    {3055, t_Kind::Text, "Invalid window size specified", 0},
    {3056, t_Kind::Text, "Advanced windowing feature not supported here", 0},
    {3057, t_Kind::Text, "Invalid window number", 0},
    {3058, t_Kind::Text, "WINDOW statement error", 0},
    {3059, t_Kind::Text, "Invalid ON KEY token", 0},
    {3061, t_Kind::Text, "ON KEY not supported on this console", 0},
    {3062, t_Kind::Text, "PUT COMMON failed because main task has no memory", 0},
    {3063, t_Kind::SysText, nullptr, 1057},
    {3064, t_Kind::SysText, nullptr, 1025},
    {3065, t_Kind::SysText, nullptr, 1063},
    {3068, t_Kind::Text, "COMMON variable not found in main task", 0},
    {3069, t_Kind::SysText, nullptr, 1064},
    {3087, t_Kind::Text, "Corrupted string in record", 0},
    {3088, t_Kind::Text, "Corrupted record", 0},
    {3089, t_Kind::SysText, nullptr, 1034},
    {3118, t_Kind::NotEmpty, "Directory or library %s (%s) not empty", 0},
    {3119, t_Kind::FileNames, "File %s (%s) already exists", 17},
    {3120, t_Kind::SysText, nullptr, 24},
    {3121, t_Kind::SysText, nullptr, 23},
    {3122, t_Kind::Text, "Stack management overflow", 0},
    {3123, t_Kind::Text, "Restore to unknown line", 0},
};

CMessage const* s_Find(int n) {
    for (CMessage const& m : s_aMessages)
        if (m.iNumber == n) return &m;
    return nullptr;
}

}  // namespace

CBString ErrorMessage(int n) {
    if (n <= 2999) return CBString(t_strerror(n));
    if (n == 3001) return CBString();

    CBString s;
    s.format("Error %d ", n - 3000);
    CMessage const* pMsg = s_Find(n);
    if (!pMsg) return s.formata("Runtime error %d", n);

    bool bNames = !t_sMorkaFname.empty() && !t_sLinuxFname.empty();
    switch (pMsg->eKind) {
    case t_Kind::Text:
        s += pMsg->pszText;
        break;
    case t_Kind::SysText:
        s += t_strerror(pMsg->iSys);
        break;
    case t_Kind::FileNames:
        // Without both names the whole message is the system text.
        if (!bNames) return CBString(t_strerror(pMsg->iSys));
        s.formata(pMsg->pszText, t_sMorkaFname.c_str(), t_sLinuxFname.c_str());
        break;
    case t_Kind::Command:
        s.formata(pMsg->pszText, t_sMorkaFname.c_str());
        break;
    case t_Kind::NotEmpty:
        if (!bNames) return CBString("Directory or library not empty");
        s.formata(pMsg->pszText, t_sMorkaFname.c_str(), t_sLinuxFname.c_str());
        break;
    }
    return s;
}

}  // namespace morka
