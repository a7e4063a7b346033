// Charset: channel conversions. Until the system sets' tables are in place
// every channel keeps bytes as they are (the seam the set tables plug into).
#include <morka/Charset.h>

namespace morka {

int t_chrconvout(QXFILE const*, int c) { return c & 0xFF; }
int t_chrconvin(QXFILE const*, int c) { return c; }
CBString t_strconvout(QXFILE const*, CBString const& s) { return s; }
CBString t_strconvin(QXFILE const*, CBString const& s, bool) { return s; }

}  // namespace morka
