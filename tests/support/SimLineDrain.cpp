#include "SimLineDrain.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

namespace drmq::test {

void UseLineDrain() {}

} // namespace drmq::test

namespace {
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143; // Unix98 pseudo-terminal slaves
}
} // namespace

extern "C" int tcflush(int fd, int queueSelector) {
    using TFlush = int (*)(int, int);
    static const auto real = reinterpret_cast<TFlush>(dlsym(RTLD_NEXT, "tcflush"));
    if (IsPseudoTerminal(fd)) {
        if (queueSelector == TCOFLUSH) return 0;
        if (queueSelector == TCIOFLUSH) queueSelector = TCIFLUSH;
    }
    return real(fd, queueSelector);
}
