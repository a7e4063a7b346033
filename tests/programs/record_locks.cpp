// Programs sharing one keyed file "cust.dat" (made by "create").
//   create               makes the file with record A and the counter C = 0
//   hold SECONDS         READ KEY A on an update channel (held), leaves the
//                        flag file held.flag, keeps A for SECONDS, then ends
//   wait LIMIT           OPTION LOCK LIMIT, READ KEY A on an update channel;
//                        says how long that took or which error it met
//   count ROUNDS         READ KEY C (held) and WRITE KEY C + 1, ROUNDS times
//   show                 prints the counter
//   write FROM           WRITE KEY of records FROM, FROM+1, ... until killed;
//                        after each WRITE KEY returns its number goes to the
//                        file acked.txt with one unbuffered write
//   check                reads back every acknowledged record
#include <velbra.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace morka;

namespace {

CBString s_Key(int i) {
    CBString s;
    s.format("R%07d", i);
    return s;
}

CBString s_Value(int i) {
    CBString s;
    s.format("record %d ", i);
    return s + CBString('x', i % 50);
}

}  // namespace

int main(int argc, char** argv) {
    b_Init(argc, argv, false);
    if (argc < 2) b_Terminate(2);
    char const* pszMode = argv[1];
    int iArg = argc > 2 ? std::atoi(argv[2]) : 0;
    CBString s;
    CInt32 n;
    if (std::strcmp(pszMode, "create") == 0) {
        Create("cust.dat", ORG_KEYED, 128, 8);
        Open(1, "cust.dat", ORG_KEYED, ACC_UPDATE, 0);
        WriteKey(1, "A", "z", "alpha");
        WriteKey(1, "C", "l", 0);
        b_Terminate(0);
    }
    Open(1, "cust.dat", ORG_KEYED, ACC_UPDATE, 0);
    if (std::strcmp(pszMode, "hold") == 0) {
        ReadKey(1, "A", "s", &s);
        Open(2, "held.flag", ORG_SEQUENTIAL, ACC_OUTPUT, 0);
        Close(2);
        sleep(static_cast<unsigned>(iArg));
        b_Terminate(0);
    }
    static double tStart = 0;
    if (std::strcmp(pszMode, "wait") == 0) {
        if (setjmp(*OnErrorGoto(true))) {
            Printf("ERR=%d after %d s\n", iERR, static_cast<int>(b_LockClock() - tStart));
            b_ErrorResume();
            b_Terminate(1);
        }
        OptionLock(iArg);
        tStart = b_LockClock();
        ReadKey(1, "A", "s", &s);
        Printf("read %s after %d s\n", s.c_str(), static_cast<int>(b_LockClock() - tStart));
        b_Terminate(0);
    }
    if (std::strcmp(pszMode, "count") == 0) {
        for (int i = 0; i < iArg; ++i) {
            ReadKey(1, "C", "l", &n);
            WriteKey(1, "C", "l", n.iValue + 1);
        }
        b_Terminate(0);
    }
    if (std::strcmp(pszMode, "show") == 0) {
        ReadKey(1, "C", "l", &n);
        Printf("counter %d\n", n.iValue);
        b_Terminate(0);
    }
    if (std::strcmp(pszMode, "write") == 0) {
        int fd = open("acked.txt", O_WRONLY | O_CREAT | O_APPEND, 0666);
        for (int i = iArg;; ++i) {
            CBString sValue = s_Value(i);
            WriteKey(1, &(s = s_Key(i)), "sl", &sValue, i);
            char sz[16];
            int nLen = std::snprintf(sz, sizeof sz, "%d\n", i);
            if (write(fd, sz, static_cast<std::size_t>(nLen)) != nLen) b_Terminate(3);
        }
    }
    if (std::strcmp(pszMode, "check") == 0) {
        FILE* fp = std::fopen("acked.txt", "r");
        int i, nChecked = 0, nLast = -1;
        while (fp && std::fscanf(fp, "%d", &i) == 1) {
            CBString sValue;
            CInt32 l;
            ReadKey(1, &(s = s_Key(i)), "sl", &sValue, &l);
            if (!(sValue == s_Value(i)) || l.iValue != i) {
                Printf("record %d differs\n", i);
                b_Terminate(1);
            }
            ++nChecked;
            nLast = i;
        }
        Printf("checked %d records, last %d\n", nChecked, nLast);
        b_Terminate(nChecked > 0 ? 0 : 1);
    }
    b_Terminate(2);
}
