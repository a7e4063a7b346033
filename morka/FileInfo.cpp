// FileInfo: t_Locate and the small queries about files and users. Names are
// in the system's form and translated to Linux paths first. A file is
// a keyed or record-number file when it is a store (morka/Store.h) with a
// valid header; every other regular file counts as sequential.
#include <morka/FileInfo.h>
#include <morka/Driver.h>
#include <morka/FileMngr.h>
#include <morka/FileName.h>
#include <morka/Store.h>
#include <morka/System.h>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace morka {

namespace {

CBString s_UserName(unsigned uUid) {
    std::vector<char> aBuf(16384);
    passwd pw, *pResult = nullptr;
    if (getpwuid_r(uUid, &pw, aBuf.data(), aBuf.size(), &pResult) != 0 || !pResult) return CBString();
    return CBString(pw.pw_name);
}

CBString s_GroupName(unsigned uGid) {
    std::vector<char> aBuf(16384);
    group gr, *pResult = nullptr;
    if (getgrgid_r(uGid, &gr, aBuf.data(), aBuf.size(), &pResult) != 0 || !pResult) return CBString();
    return CBString(gr.gr_name);
}

}  // namespace

int t_Locate(CFileInfo& info, char const* pszName) {
    info = CFileInfo();
    info.sName = pszName ? pszName : "";
    info.sPath = t_morka_fn_2_linux_fn(info.sName.c_str());
    if (info.sPath.empty()) {
        errno = ENOENT;
        return 3030;
    }
    struct stat st;
    if (::stat(info.sPath.c_str(), &st) != 0) {
        int iErr = errno;
        if (iErr == ENOENT || iErr == ENOTDIR) {
            errno = ENOENT;
            return 3030;
        }
        return iErr;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = EISDIR;
        return 1034;
    }
    info.cDevice = DEV_DISK;
    info.nSize = static_cast<unsigned long long>(st.st_size);
    info.uMode = st.st_mode & 07777;
    info.uUid = st.st_uid;
    info.tTime = st.st_mtime;
    info.sText2 = s_UserName(st.st_uid);
    info.sGroup = s_GroupName(st.st_gid);
    info.sDevice.format("%u:%u", major(st.st_dev), minor(st.st_dev));
    info.sInode.format("%llu", static_cast<unsigned long long>(st.st_ino));
    char szLink[4096];
    ssize_t nLink = ::readlink(info.sPath.c_str(), szLink, sizeof szLink);
    if (nLink > 0) info.sLinkTarget = CBString(szLink, static_cast<int>(nLink));
    int iSlash = info.sPath.reversefind('/', info.sPath.length() - 1);
    info.sDirectory = iSlash >= 0 ? info.sPath.left(iSlash + 1) : CBString();
    info.sBase = info.sPath.midstr(iSlash + 1, info.sPath.length());
    int iDot = info.sBase.reversefind('.', info.sBase.length() - 1);
    if (iDot >= 0) info.sExtension = info.sBase.midstr(iDot + 1, info.sBase.length());

    CStoreHeader header;
    unsigned long long nRecords = 0;
    if (t_IsStoreFile(info.sPath.c_str()) && t_StoreInfo(info.sPath.c_str(), header, nRecords) == 0) {
        info.eOrg = header.eOrg;
        info.uNumber1 = static_cast<unsigned>(header.nKeyLen);
        info.uNumber2 = static_cast<unsigned>(header.nRecordSize);
        info.nRecords = nRecords;
        info.sText1 = "LMDB";
        info.sLockName = t_StoreLockName(info.sPath.c_str()).c_str();
    } else {
        info.eOrg = ORG_SEQUENTIAL;
        info.sText1 = "STDIO";
    }
    return 0;
}

CBString t_Engine(char const* pszName) {
    CFileInfo info;
    return t_Locate(info, pszName) == 0 ? info.sText1 : CBString();
}

CBString t_Getcwd() {
    std::vector<char> aBuf(4096);
    while (!::getcwd(aBuf.data(), aBuf.size())) {
        if (errno != ERANGE) return CBString();
        aBuf.resize(aBuf.size() * 2);
    }
    return t_linux_fn_2_morka_fn(aBuf.data(), 0);
}

long long t_SpoolerReport(int iChannel) {
    QXFILE* pFile = t_GetFile(iChannel);
    if (!pFile || !pFile->bOpen || pFile->eDevType != DEV_PRINTER || !pFile->pStream) return 0;
    t_Driver(pFile)->Flush(pFile, true);
    struct stat st;
    return ::fstat(fileno(pFile->pStream), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

int t_Fields(int iChannel) {
    QXFILE const* pFile = t_GetFile(iChannel);
    return pFile && pFile->bOpen ? pFile->nFields : -1;
}

int t_LinuxUid(char const* pszName) {
    if (!pszName || !*pszName) return -1;
    std::vector<char> aBuf(16384);
    passwd pw, *pResult = nullptr;
    if (getpwnam_r(pszName, &pw, aBuf.data(), aBuf.size(), &pResult) != 0 || !pResult) return -1;
    return static_cast<int>(pw.pw_uid);
}

int t_MorkaUid(unsigned uUid) { return uUid <= 32767 ? static_cast<int>(uUid) : -1; }

int t_MorkaUid(char const* pszName) {
    int iUid = t_LinuxUid(pszName);
    return iUid < 0 ? -1 : t_MorkaUid(static_cast<unsigned>(iUid));
}

}  // namespace morka
