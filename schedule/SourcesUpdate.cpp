#include "schedule/SourcesUpdate.h"

#include "core/FileLocations.h"
#include "schedule/DownloadText.h"
#include "schedule/EibiList.h"
#include "schedule/HfccList.h"
#include "schedule/KiwiList.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleSeason.h"
#include "schedule/ScheduleWriter.h"

namespace drmq {

namespace {
size_t IndexOf(TScheduleSource source) { return static_cast<size_t>(source); }

bool LooksLikeHtml(std::string_view bytes) {
    const size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

std::vector<ScheduleEntry> DrmrxEntries(std::string_view text) {
    ScheduleTable table = ParseSchedule(text);
    for (ScheduleEntry &entry : table.Entries) entry.Sources = SourceBit(TScheduleSource::Drmrx);
    return std::move(table.Entries);
}

// The drmrx feed is kept as the program keeps every schedule text, with
// CR LF line breaks; the other lists byte for byte.
std::string KeptBytes(TScheduleSource source, std::string_view body) {
    return source == TScheduleSource::Drmrx ? NormaliseLineBreaks(body) : std::string(body);
}

void WriteIfDifferent(const std::string &path, const std::string &text, bool &changed) {
    std::string present;
    if (TryReadFileBytes(path, present) && SplitLines(present) == SplitLines(text)) return;
    WriteFileAtomically(path, text);
    changed = true;
}
} // namespace

std::string KeptCopyName(TScheduleSource source) {
    switch (source) {
    case TScheduleSource::Drmrx: return kScheduleDownloadFile;
    case TScheduleSource::Hfcc: return "DRMSchedule-HFCC.zip";
    case TScheduleSource::Eibi: return "DRMSchedule-EiBi.csv";
    case TScheduleSource::Kiwisdr: return "DRMSchedule-KiwiSDR.cjson";
    }
    return {};
}

std::string SourceUrl(TScheduleSource source, const std::string &setting, double utcNow) {
    const std::string season = SeasonName(utcNow);
    const std::string base = setting.empty() || setting.back() == '/' ? setting : setting + "/";
    if (source == TScheduleSource::Eibi) return base + "sked-" + season + ".csv";
    if (source == TScheduleSource::Hfcc) return base + season + "/" + season + "allx2.zip";
    return setting;
}

TListRead ReadScheduleList(TScheduleSource source, std::string_view bytes, double utcNow) {
    TListRead read;
    if (bytes.empty()) {
        read.Failure = "empty";
        return read;
    }
    if (LooksLikeHtml(bytes)) {
        read.Failure = "an HTML page instead of data";
        return read;
    }
    switch (source) {
    case TScheduleSource::Drmrx:
        if (bytes.find("StartStopTimeUTC=") == std::string_view::npos) read.Failure = "no schedule blocks";
        else read.Entries = DrmrxEntries(bytes);
        break;
    case TScheduleSource::Eibi:
        if (!bytes.starts_with("kHz")) read.Failure = "not an EiBi list";
        // Every row ends in CR LF: a body without one at its end was cut off.
        else if (bytes.back() != '\n') read.Failure = "truncated";
        else read.Entries = ParseEibiList(bytes, utcNow);
        break;
    case TScheduleSource::Hfcc: {
        THfccRead hfcc = ReadHfccZip(bytes, utcNow);
        read.Failure = std::move(hfcc.Failure);
        read.Entries = std::move(hfcc.Entries);
        break;
    }
    case TScheduleSource::Kiwisdr:
        read.Entries = ParseKiwiList(bytes);
        if (read.Entries.empty()) read.Failure = "no stations";
        break;
    }
    return read;
}

TSourcesResult UpdateScheduleSources(const TSourcesRequest &request, const TFetch &fetch) {
    TSourcesResult result;
    try {
        std::uint8_t used = request.Enabled;
        std::vector<std::vector<ScheduleEntry>> lists;
        std::string drmrxText;
        for (TScheduleSource source : kScheduleSources) {
            // KiwiSDR's digest stands in for a drmrx feed that cannot be had.
            if (source == TScheduleSource::Kiwisdr && (used & SourceBit(TScheduleSource::Drmrx)) &&
                result.Sources[IndexOf(TScheduleSource::Drmrx)].Entries == 0)
                used |= SourceBit(source);
            if (!(used & SourceBit(source))) continue;
            TSourceReport &report = result.Sources[IndexOf(source)];
            report.Used = true;
            const std::string keptPath = request.Folder + KeptCopyName(source);
            std::string bytes;
            TListRead read;
            if (fetch) {
                const THttpResult reply = fetch(request.Urls[IndexOf(source)]);
                if (request.Cancel && request.Cancel->load()) return TSourcesResult{};
                read = reply.Failure.empty() ? ReadScheduleList(source, reply.Body, request.UtcNow) : TListRead{{}, reply.Failure};
                report.Failure = read.Failure;
                if (read.Failure.empty()) {
                    bytes = KeptBytes(source, reply.Body);
                    WriteFileAtomically(keptPath, bytes);
                    report.Fetched = true;
                }
            }
            if (!report.Fetched && TryReadFileBytes(keptPath, bytes)) {
                read = ReadScheduleList(source, bytes, request.UtcNow);
                report.Kept = read.Failure.empty();
            }
            if (!report.Fetched && !report.Kept) continue;
            report.Entries = static_cast<int>(read.Entries.size());
            if (source == TScheduleSource::Drmrx) drmrxText = bytes;
            lists.push_back(std::move(read.Entries));
        }
        // The drmrx feed alone, as a single schedule file was before.
        result.SingleFeed = used == SourceBit(TScheduleSource::Drmrx);
        if (lists.empty()) return result;

        // The drmrx feed alone is the schedule as it was sent; lists merged
        // are written anew.
        const bool drmrxOnly = lists.size() == 1 && !drmrxText.empty();
        const ScheduleTable merged = drmrxOnly ? ScheduleTable() : MergeScheduleLists(lists);
        const std::string text = drmrxOnly ? drmrxText : FormatScheduleFile(merged);
        // The table exactly as the loader reads the file, with the sources
        // the file cannot hold.
        result.Table = ParseSchedule(text);
        for (size_t i = 0; i < result.Table.Entries.size(); ++i)
            result.Table.Entries[i].Sources =
                drmrxOnly ? SourceBit(TScheduleSource::Drmrx)
                          : (i < merged.Entries.size() ? merged.Entries[i].Sources : std::uint8_t{0});
        bool changed = false;
        WriteIfDifferent(request.Folder + kScheduleFile, text, changed);
        result.Outcome = changed ? TUpdateOutcome::Replaced : TUpdateOutcome::Unchanged;
        bool sourcesChanged = false;
        WriteIfDifferent(request.Folder + kScheduleSourcesFile, SourcesFileText(result.Table, text), sourcesChanged);
    } catch (...) {
        result.Outcome = TUpdateOutcome::Failed;
        result.Table = {};
        result.WriteError = std::current_exception();
    }
    return result;
}

ScheduleTable LoadScheduleWithSources(const std::string &folder) {
    const std::string bytes = ReadScheduleBytes(folder + kScheduleFile);
    ScheduleTable table = ParseSchedule(bytes);
    std::string sources;
    if (TryReadFileBytes(folder + kScheduleSourcesFile, sources)) ApplySourcesFile(table, bytes, sources);
    return table;
}

std::string SourcesPanelText(const TSourcesResult &result) {
    int used = 0, sources = 0, failures = 0;
    std::string failed;
    for (TScheduleSource source : kScheduleSources) {
        const TSourceReport &report = result.Sources[IndexOf(source)];
        if (report.Used) ++used;
        if (report.Fetched || report.Kept) ++sources;
        if (report.Used && !report.Fetched && !report.Failure.empty()) {
            ++failures;
            failed = SourceName(source);
        }
    }
    if (used == 0) return "Update: no sources";
    if (result.SingleFeed || result.Outcome == TUpdateOutcome::Failed) return UpdatePanelText(result.Outcome);
    if (failures == 1) return "Update: " + failed + " failed";
    if (failures > 1) return "Update: " + std::to_string(failures) + " sources failed";
    return "Update: " + std::to_string(sources) + (sources == 1 ? " source, " : " sources, ") +
           std::to_string(result.Table.EntryCount()) + " entries";
}

} // namespace drmq
