// ErrorText: the texts of error numbers. 1..999 are operating-system numbers
// (strerror); 1000..2999 belong to the system layer and are listed in one
// table keyed by number. A number without a text gets a generic one that
// still names it, so a message is never empty.
#include <morka/System.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace morka {

namespace {

struct CErrorText {
    int iNumber;
    char const* pszText;
};

// Sorted by number.
constexpr CErrorText s_aTexts[] = {
    {1000, "Privilege level too low"},
    {1003, "No more channels or buffers available"},
    {1005, "Device not available"},
    {1009, "File name is empty or malformed"},
    {1011, "Wrong file organisation"},
    {1014, "Resource exhausted"},
    {1019, "File is not open for this operation"},
    {1023, "File is locked by another program"},
    {1024, "Record is locked by another program"},
    {1025, "Key not found"},
    {1028, "Record buffer overflow"},
    {1029, "Key or record number not valid"},
    {1030, "Type code not accepted by this statement"},
    {1034, "Unexpected object in directory"},
    {1047, "Operation not supported"},
    {1053, "Channel number out of range"},
    {1054, "Channel is already in use"},
    {1057, "Duplicate key"},
    {1058, "ISAM file definition not valid"},
    {1059, "ISAM index not found"},
    {1060, "ISAM key part not valid"},
    {1061, "ISAM record not valid"},
    {1062, "Value does not fit its ISAM key part"},
    {1063, "End of file"},
    {1064, "Operation not allowed on this device"},
    {1087, "Corrupted string in record"},
    {1088, "Corrupted record"},
    {1099, "Internal run-time failure"},
    {1100, "Process table unavailable or full"},
    {1121, "Character set not available on this system"},
};

thread_local char s_szBuffer[128];

}  // namespace

char const* t_strerror(int n) {
    if (n >= 1 && n <= 999) {
        // strerror_r (GNU) may return its own static text or fill the buffer.
        return strerror_r(n, s_szBuffer, sizeof s_szBuffer);
    }
    auto it = std::lower_bound(std::begin(s_aTexts), std::end(s_aTexts), n,
                               [](CErrorText const& e, int k) { return e.iNumber < k; });
    if (it != std::end(s_aTexts) && it->iNumber == n) return it->pszText;
    std::snprintf(s_szBuffer, sizeof s_szBuffer, "System error %d", n);
    return s_szBuffer;
}

}  // namespace morka
