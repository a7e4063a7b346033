// Settings: the settings object and its defaults.
#include <morka/Settings.h>

namespace morka {

CMorkaSettings Morka;

}  // namespace morka
