// Gosub: the GOSUB return stack, one 200-byte jump buffer per pending GOSUB.
// It grows by 16 entries whenever it is full; the count is 16 bits wide, so
// the stack stops at 65535 entries (error 12 beyond, as for a failed growth).
// Compiled code calls this outside any statement, so the error goes to the
// error handler here (12 has no BASIC number: the program ends with it).
#include <velbra/Startup.h>
#include <velbra/ErrorTrap.h>

#include <cstdlib>

namespace morka {

jmp_buf* b_AllocGosub() {
    while (b_gosub_calls == b_gosub_max) {
        std::size_t nNew = static_cast<std::size_t>(b_gosub_calls) + 16;
        void* p = b_gosub_max > 0xFFFF - 16 ? nullptr : std::realloc(b_gosub_stack, nNew * sizeof(jmp_buf));
        if (!p) {
            b_ErrorHandler(12, 0);
            continue;
        }
        b_gosub_stack = static_cast<jmp_buf*>(p);
        b_gosub_max = static_cast<uint16_t>(b_gosub_max + 16);
    }
    return &b_gosub_stack[b_gosub_calls++];
}

}  // namespace morka
