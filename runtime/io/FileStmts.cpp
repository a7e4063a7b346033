// FileStmts: CREATE, ERASE, RENAME, TRUNCATE and COPY. Each runs the system
// layer's name operation in the statement frame for channel 0 and raises its
// non-zero result.
#include <velbra/FileApi.h>
#include <velbra/TypeBase.h>
#include <morka/morka.h>

namespace morka {

namespace {

template <class TOp>
void s_NameStatement(TOp&& op) {
    b_StatementFrame(0, [&] {
        if (int n = op()) throw n;
    });
}

}  // namespace

void Create(char const* name, t_FileOrg org) {
    s_NameStatement([&] { return t_Create(name, org); });
}

void Create(char const* name, t_FileOrg org, char const* extra) {
    s_NameStatement([&] { return t_Create(name, org, extra); });
}

void Create(char const* name, t_FileOrg org, int recordSize, int keyLen) {
    s_NameStatement([&] { return t_Create(name, org, recordSize, keyLen); });
}

void Erase(char const* name) {
    s_NameStatement([&] { return t_Remove(name); });
}

void Rename(char const* from, char const* to) {
    s_NameStatement([&] { return t_Rename(from, to); });
}

void Truncate(char const* name) {
    s_NameStatement([&] { return t_ClearFile(name); });
}

void Copy(char const* from, char const* to, int replace) {
    s_NameStatement([&] { return t_Copy(from, to, replace != 0, false, nullptr, nullptr); });
}

}  // namespace morka
