// FileMngr: the channel table. 258 channels: OPEN accepts 0..255 and the two
// last entries stay for the system layer's own use. Channel 0 is the console:
// it is opened at t_InitFiles for input and output on the terminal and never
// closed. Disk channels and their drivers are opened by the channel module.
#include <morka/FileMngr.h>
#include <morka/RecordBuffer.h>
#include <morka/System.h>

namespace morka {

CFileMngr FileMngr;

void t_InitFiles() {
    FileMngr.aFiles.assign(static_cast<std::size_t>(FileMngr.nChannels), QXFILE{});
    for (int i = 0; i < FileMngr.nChannels; ++i) FileMngr.aFiles[static_cast<std::size_t>(i)].iChannel = i;
    QXFILE& con = FileMngr.aFiles[0];
    con.bOpen = true;
    con.eOrg = ORG_SEQUENTIAL | ORG_TEXT;
    con.eAccess = ACC_UPDATE;
    con.eDevType = DEV_TERMINAL;
    con.eInDevType = DEV_TERMINAL;
    con.uFlags = 0x80;
    con.pStream = stdout;
    con.sName = "*";
}

QXFILE* t_GetFile(int ch) {
    if (ch < 0 || ch >= static_cast<int>(FileMngr.aFiles.size())) return nullptr;
    return &FileMngr.aFiles[static_cast<std::size_t>(ch)];
}

QXFILE* t_CheckOpen(int ch, int orgMask, int access) {
    QXFILE* pFile = t_GetFile(ch);
    if (!pFile) throw static_cast<int>(MORKA_ECHANNEL);
    if (!pFile->bOpen) {
        pFile->iErrno = MORKA_ENOTOPEN;
        throw static_cast<int>(MORKA_ENOTOPEN);
    }
    bool bOrgFits = orgMask == 0 || (pFile->eOrg & orgMask) != 0;
    bool bAccessFits = (pFile->eAccess & access & ACC_UPDATE) == (access & ACC_UPDATE);
    if (!bOrgFits || !bAccessFits) {
        pFile->iErrno = MORKA_ENOTOPEN;
        throw static_cast<int>(MORKA_ENOTOPEN);
    }
    return pFile;
}

void t_Close(int ch) {
    QXFILE* pFile = t_GetFile(ch);
    if (!pFile || ch == 0 || !pFile->bOpen) return;
    if (pFile->pStream) std::fclose(pFile->pStream);
    t_FreeBuffers(pFile);
    int iChannel = pFile->iChannel;
    *pFile = QXFILE{};
    pFile->iChannel = iChannel;
}

void t_CloseAll() {
    for (int ch = 1; ch < static_cast<int>(FileMngr.aFiles.size()); ++ch) t_Close(ch);
}

}  // namespace morka
