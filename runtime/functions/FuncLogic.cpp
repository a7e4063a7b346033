// FuncLogic: 16-bit logic (Not, Eqv, Imp, Lrl, Lrr), the counters Msec and
// Nsec and LockedBy. Results of the 16-bit functions are sign-extended, so
// the pattern 0xFFFF comes back as -1.
// Choice: Lrr takes its count as Lrl does (unsigned 32-bit, so a negative
// count rotates the other way) rather than ignoring a negative count.
#include <velbra/FuncNum.h>
#include <morka/Settings.h>
#include <morka/System.h>

#include <cstdint>
#include <ctime>

namespace morka {

namespace {

int s_Signed16(unsigned u) { return static_cast<int16_t>(static_cast<uint16_t>(u)); }

unsigned s_RotateLeft(unsigned u, unsigned n) {
    n %= 16;
    u &= 0xFFFFu;
    return n ? ((u << n) | (u >> (16 - n))) & 0xFFFFu : u;
}

timespec s_RawClock() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &t);
    return t;
}

}  // namespace

int Not(int n) {
    if (b_bLogical) return n == 0 ? -1 : 0;
    return ~n;
}

int Not(dfp_t x) {
    int n = x >= -32768 && x <= 32767 ? static_cast<int>(x) : -32768;
    return Not(n);
}

int Eqv(int a, int b) { return s_Signed16(~(static_cast<unsigned>(a) ^ static_cast<unsigned>(b))); }
int Imp(int a, int b) { return s_Signed16(~static_cast<unsigned>(a) | static_cast<unsigned>(b)); }

int Lrl(short v, int n) { return s_Signed16(s_RotateLeft(static_cast<uint16_t>(v), static_cast<unsigned>(n))); }
// A right rotation by n is a left rotation by 16 - n (mod 16).
int Lrr(short v, int n) { return s_Signed16(s_RotateLeft(static_cast<uint16_t>(v), 16u - static_cast<unsigned>(n) % 16u)); }

dfp_t Msec() {
    timespec t = s_RawClock();
    return static_cast<dfp_t>(static_cast<long long>(t.tv_sec % 86400) * 1000 + t.tv_nsec / 1000000);
}

dfp_t Nsec() {
    timespec t = s_RawClock();
    return static_cast<dfp_t>(static_cast<long long>(t.tv_sec % 86400) * 1000000000LL + t.tv_nsec);
}

int LockedBy() { return Morka.iLockedBy; }

}  // namespace morka
