#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace drmq::fuzz {

const std::string &AsFile(std::string_view bytes) {
    static const std::string path = [] {
        std::string name = (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : "/tmp") + "/drmq-fuzz-XXXXXX";
        const int fd = ::mkstemp(name.data());
        if (fd < 0) std::abort();
        ::close(fd);
        std::atexit([] { std::remove(path.c_str()); });
        return name;
    }();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace drmq::fuzz
