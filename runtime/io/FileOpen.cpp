// FileOpen: OPEN with its lock wait, CLOSE, and WAIT on a channel. The wait
// of WAIT for a file that has no input yet pauses s_kPollMs between reads,
// polling events each round, instead of spinning.
#include <velbra/FileApi.h>
#include <velbra/Hooks.h>
#include <velbra/LockWait.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>

#include <unistd.h>

namespace morka {

namespace {

constexpr useconds_t s_kPollMs = 20;

}  // namespace

void Open(int channel, char const* name, t_FileOrg org, t_FileAccess access, unsigned flags) {
    CBString sName(name ? name : "");
    sName.trim();
    b_StatementFrame(channel, [&] {
        if (channel < 0 || channel >= FileMngr.nChannels - 2) throw static_cast<int>(MORKA_ECHANNEL);
        QXFILE* pFile = t_CheckFree(channel);
        t_sMorkaFname = sName;
        t_sLinuxFname = t_morka_fn_2_linux_fn(sName.c_str());
        if (sName.empty()) {
            pFile->iErrno = MORKA_EBADNAME;
            throw static_cast<int>(MORKA_EBADNAME);
        }
        int iDevice = org == ORG_TEXT ? DEV_DISK : t_Device(sName.c_str());
        if (iDevice == DEV_NONE) {
            pFile->iErrno = ENODEV;
            throw static_cast<int>(ENODEV);
        }
        if (iDevice != DEV_DISK && org != ORG_SEQUENTIAL) {
            pFile->iErrno = MORKA_EBADDEVICE;
            throw static_cast<int>(MORKA_EBADDEVICE);
        }
        bool bFirstTry = b_LockWait(pFile, MORKA_ELOCKED,
                                    [&] { return t_Open(channel, sName.c_str(), iDevice, org, access, flags); });
        // dialect quirk: a file opened after waiting under an OPTION LOCK limit
        // starts as after a line end.
        if (!bFirstTry && FileMngr.iLockMode != 0) pFile->bEndOfRecord = 1;
    });
}

void Close(int channel) {
    b_StatementFrame(channel, [&] {
        if (channel >= 1 && channel < FileMngr.nChannels - 3) t_Close(channel);
    });
}

void CloseAll() {
    b_StatementFrame(0, [] { t_CloseAll(); });
}

void Wait(int channel) {
    b_StatementFrame(channel, [&] {
        QXFILE* pFile = b_CheckOpen(channel, MASK_TEXT, ACC_INPUT);
        bool bStacked = t_StackReady();
        if (pFile->iDriver == DRV_CONSOLE && bStacked) return;
        if (pFile->eInDevType == DEV_TERMINAL && (::isatty(STDIN_FILENO) || bStacked)) {
            b_ConWait(false);
            return;
        }
        CDriver* pDriver = t_Driver(pFile);
        int c = pDriver->GetChar(pFile);
        if (channel != 0) {
            while (c < 0) {
                b_CheckAll();
                usleep(s_kPollMs * 1000);
                c = pDriver->GetChar(pFile);
            }
            pFile->bEndOfFile = 0;
        }
        if (c >= 0) pDriver->UngetChar(pFile, c);
    });
}

void Wait() {
    b_CheckAll();
    if (FileMngr.aFiles[0].eInDevType != DEV_TERMINAL || (!::isatty(STDIN_FILENO) && !t_StackReady())) return;
    b_ConWait(true);
}

}  // namespace morka
