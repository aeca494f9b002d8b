// Runs a fuzz target once over every file of the corpus folders and files on
// its command line, so that the normal test run replays each seed and each
// fault once found. Used instead of libFuzzer's own main outside `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {
namespace fs = std::filesystem;

std::vector<fs::path> InputFiles(const fs::path &argument) {
    if (!fs::is_directory(argument)) return {argument};
    std::vector<fs::path> files;
    for (const auto &entry : fs::recursive_directory_iterator(argument))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}
} // namespace

int main(int argc, char **argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path &file : InputFiles(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot read %s\n", file.c_str());
                return 1;
            }
            std::printf("%s\n", file.c_str());
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            // A copy of exactly the file's size, so that the address sanitizer
            // sees every read beyond the end.
            const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
