// FileOps: the name statements. A name operation goes to the driver that
// recognises the file's format (CDriver::Probe), else to the plain-file
// defaults that every driver inherits.
#include <morka/FileOps.h>

#include <morka/Driver.h>
#include <morka/FileName.h>
#include <morka/System.h>

#include <cerrno>

namespace morka {

namespace {

// The Linux path of a disk-file name, or 0 with the error number in iError.
CBString s_Path(char const* pszName, int& iError) {
    CBString sName(pszName ? pszName : "");
    sName.trim();
    t_sMorkaFname = sName;
    t_sLinuxFname = CBString();
    iError = 0;
    if (sName.empty()) {
        iError = MORKA_EBADNAME;
        return CBString();
    }
    if (t_Device(sName.c_str()) != DEV_DISK) {
        iError = ENODEV;
        return CBString();
    }
    t_sLinuxFname = t_morka_fn_2_linux_fn(sName.c_str());
    return t_sLinuxFname;
}

CDriver* s_DriverOf(CBString const& sPath) {
    for (int i = 0; i < DRV_COUNT; ++i) {
        CDriver* p = t_GetDriver(i);
        if (p->Probe(sPath)) return p;
    }
    return t_GetDriver(DRV_SEQUENTIAL);
}

// Runs op on the path(s); returns 0 or the number it raised.
template <class TOp>
int s_Run(TOp&& op) {
    t_FlushAll();
    try {
        op();
        return 0;
    } catch (int n) {
        return n;
    }
}

int s_Create(char const* pszName, CCreateArgs const& args) {
    int iError;
    CBString sPath = s_Path(pszName, iError);
    if (iError) return iError;
    int iDriver = t_DriverOfOrg(args.eOrg);
    if (iDriver < 0) return MORKA_EBADORG;
    return s_Run([&] { t_GetDriver(iDriver)->Create(sPath, args); });
}

}  // namespace

int t_Create(char const* name, int org) { return t_Create(name, org, 0, 0); }

int t_Create(char const* name, int org, char const* extra) {
    CCreateArgs args;
    args.eOrg = org;
    args.pszExtra = extra;
    return s_Create(name, args);
}

int t_Create(char const* name, int org, int recordSize, int keyLen) {
    CCreateArgs args;
    args.eOrg = org;
    args.nRecordSize = recordSize;
    args.nKeyLen = keyLen;
    return s_Create(name, args);
}

int t_Create(char const* name, char const* recordDescription, char const* indexDescription) {
    CCreateArgs args;
    args.eOrg = ORG_ISAM;
    args.pszExtra = recordDescription;
    args.pszIndex = indexDescription;
    return s_Create(name, args);
}

int t_Remove(char const* name) {
    int iError;
    CBString sPath = s_Path(name, iError);
    if (iError) return iError;
    return s_Run([&] { s_DriverOf(sPath)->Remove(sPath); });
}

int t_Rename(char const* from, char const* to) {
    int iError;
    CBString sTo = s_Path(to, iError);
    if (iError) return iError;
    CBString sFrom = s_Path(from, iError);
    if (iError) return iError;
    int n = s_Run([&] { s_DriverOf(sFrom)->Rename(sFrom, sTo); });
    if (n == EEXIST) s_Path(to, iError);
    return n;
}

int t_ClearFile(char const* name) {
    int iError;
    CBString sPath = s_Path(name, iError);
    if (iError) return iError;
    return s_Run([&] { s_DriverOf(sPath)->Clear(sPath); });
}

int t_Copy(char const* from, char const* to, bool bReplace, bool bKeep, char const*, char const*) {
    int iError;
    CBString sTo = s_Path(to, iError);
    if (iError) return iError;
    CBString sFrom = s_Path(from, iError);
    if (iError) return iError;
    int n = s_Run([&] { s_DriverOf(sFrom)->Copy(sFrom, sTo, bReplace, bKeep); });
    // A refused target is named in the message, not the source.
    if (n == EEXIST) s_Path(to, iError);
    return n;
}

}  // namespace morka
