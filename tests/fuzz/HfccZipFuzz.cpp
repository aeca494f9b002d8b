// HFCC's zip file as a server sends it: read from memory with libzip.
#include "FuzzInput.h"

#include "schedule/HfccList.h"
#include "schedule/ListedEntry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const THfccRead read = ReadHfccZip(fuzz::Text(data, size), 46183.5);
    if (read.Entries.size() > kMaxListedEntries || (!read.Failure.empty() && !read.Entries.empty())) std::abort();
    return 0;
}
