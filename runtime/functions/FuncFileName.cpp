// FuncFileName: VirtualFile and LinuxFile, the language's view of the system
// layer's file-name translation (FileName.h).
#include <velbra/FuncCharset.h>

#include <morka/FileName.h>

namespace morka {

CBString VirtualFile(char const* name) { return name ? t_linux_fn_2_morka_fn(name, 0) : CBString(); }
CBString LinuxFile(char const* name) { return name ? t_morka_fn_2_linux_fn(name) : CBString(); }

}  // namespace morka
