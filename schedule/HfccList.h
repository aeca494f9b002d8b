// Reads HFCC's season schedule: the fixed-width table "<SEASON>all00.TXT"
// (DRM rows: MOD = "N") with the site, broadcaster, administration and
// language names from the reference tables of the same zip file. Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// The reference tables by file name; a missing one leaves its codes as they are.
struct THfccTables {
    std::string_view Sites;        // site.txt
    std::string_view Broadcasters; // broadcas.txt
    std::string_view Admins;       // admin.txt
    std::string_view Languages;    // language.txt (UTF-8)
};

// The DRM entries valid on the day of `utcNow` (FDATE..TDATE, DDMMYY).
std::vector<ScheduleEntry> ParseHfccTable(std::string_view table, const THfccTables &names, double utcNow);

// Bounds on a downloaded zip: members larger than this when inflated are
// refused, so that a zip bomb cannot fill the memory.
inline constexpr std::size_t kMaxHfccMemberBytes = 32u * 1024u * 1024u;

struct THfccRead {
    std::vector<ScheduleEntry> Entries;
    std::string Failure; // empty when the zip was read
};
// The zip as HFCC publishes it: its "*all00.TXT" member and reference tables.
THfccRead ReadHfccZip(std::string_view zipBytes, double utcNow);

} // namespace drmq
