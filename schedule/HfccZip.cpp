// The HFCC zip file read with libzip, straight from the downloaded bytes.
#include "schedule/HfccList.h"

#include "schedule/ListedEntry.h"

#include <zip.h>

#include <algorithm>
#include <memory>

namespace drmq {

namespace {
struct TZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct TFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

// The member inflated, or nothing when it cannot be read or inflates past the bound.
std::optional<std::string> ReadMember(zip_t *archive, zip_uint64_t index) {
    std::unique_ptr<zip_file_t, TFileCloser> file(zip_fopen_index(archive, index, 0));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
        if (n < 0) return std::nullopt;
        if (n == 0) return bytes;
        bytes.append(buffer, static_cast<size_t>(n));
        if (bytes.size() > kMaxHfccMemberBytes) return std::nullopt;
    }
}
} // namespace

THfccRead ReadHfccZip(std::string_view zipBytes, double utcNow) {
    THfccRead result;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(zipBytes.data(), zipBytes.size(), 0, &error);
    std::unique_ptr<zip_t, TZipCloser> archive(source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr);
    zip_error_fini(&error);
    if (!archive) {
        if (source) zip_source_free(source);
        result.Failure = "not a zip file";
        return result;
    }
    std::string table, sites, broadcasters, admins, languages;
    bool found = false;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *rawName = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (!rawName) continue;
        const std::string name = LowerAscii(rawName);
        std::string *target = name.ends_with("all00.txt") ? &table
                              : name == "site.txt"        ? &sites
                              : name == "broadcas.txt"    ? &broadcasters
                              : name == "admin.txt"       ? &admins
                              : name == "language.txt"    ? &languages
                                                          : nullptr;
        if (!target) continue;
        const auto bytes = ReadMember(archive.get(), static_cast<zip_uint64_t>(i));
        if (!bytes) {
            result.Failure = "zip member " + std::string(rawName) + " unreadable or too large";
            return result;
        }
        *target = *bytes;
        found = found || target == &table;
    }
    if (!found) {
        result.Failure = "no schedule table in the zip file";
        return result;
    }
    result.Entries = ParseHfccTable(table, {sites, broadcasters, admins, languages}, utcNow);
    return result;
}

} // namespace drmq
