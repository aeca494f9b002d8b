// The schedule update from the published lists: fetches each enabled list,
// keeps its last good copy in the program's folder, merges what it has into
// "DRMSchedule.ini" (rewritten only when it changes) and its sources file.
// Runs on the download worker thread; the result goes to the UI thread.
#pragma once

#include "schedule/HttpGet.h"
#include "schedule/ScheduleSource.h"
#include "schedule/ScheduleTable.h"
#include "schedule/ScheduleUpdate.h"

#include <array>
#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

inline constexpr const char *kScheduleSourcesFile = "DRMSchedule.src";
// A list's body larger than this is no schedule.
inline constexpr std::size_t kMaxSourceBytes = 8u * 1024u * 1024u;

// The file of a list's last good copy: drmrx's is "DRMSchedule.new", the
// schedule download of old.
std::string KeptCopyName(TScheduleSource source);
// The URL fetched for a list from its setting: EiBi's and HFCC's name the
// season's file ("sked-a26.csv", "a26/a26allx2.zip").
std::string SourceUrl(TScheduleSource source, const std::string &setting, double utcNow);

struct TListRead {
    std::vector<ScheduleEntry> Entries;
    std::string Failure; // empty when the bytes are such a list
};
// A list's bytes as downloaded or kept: an HTML page, a body that is cut
// short or is no such list is a failure with its reason.
TListRead ReadScheduleList(TScheduleSource source, std::string_view bytes, double utcNow);

struct TSourcesRequest {
    std::uint8_t Enabled = 0;
    std::array<std::string, 4> Urls; // by TScheduleSource
    std::string Folder;              // ends in '/'
    double UtcNow = 0;
    // Once it turns true (the window closes) nothing more is fetched or written.
    const std::atomic<bool> *Cancel = nullptr;
};

struct TSourceReport {
    bool Used = false;    // enabled, or KiwiSDR standing in for drmrx
    bool Fetched = false; // a good copy came in this time
    bool Kept = false;    // the kept copy was used instead
    int Entries = 0;      // DRM entries valid today
    std::string Failure;  // why this time's fetch failed
};

struct TSourcesResult {
    std::array<TSourceReport, 4> Sources;
    TUpdateOutcome Outcome = TUpdateOutcome::Failed;
    ScheduleTable Table; // the schedule as written, with its sources
    bool SingleFeed = false; // only the drmrx feed was asked for, and no stand-in
    std::exception_ptr WriteError;
};

// Fetches the lists of the request in trust order (none when `fetch` is
// empty), then merges the good and the kept copies. When drmrx is enabled
// but has no copy at all, KiwiSDR's digest stands in for it.
using TFetch = std::function<THttpResult(const std::string &url)>;
TSourcesResult UpdateScheduleSources(const TSourcesRequest &request, const TFetch &fetch);

// "DRMSchedule.ini" of the folder with the sources its sources file keeps;
// raises EInOutError as LoadScheduleFile does.
ScheduleTable LoadScheduleWithSources(const std::string &folder);

// Status panel 0: "Update: 3 sources, 187 entries", "Update: EiBi failed",
// "Update: 2 sources failed", "Update: no sources";
// with only the drmrx feed asked for "Update: OK", "Update: done",
// "Update: failed" as for a single schedule file.
std::string SourcesPanelText(const TSourcesResult &result);

} // namespace drmq
