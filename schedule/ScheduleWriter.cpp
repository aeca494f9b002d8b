#include "schedule/ScheduleWriter.h"

#include "schedule/DownloadText.h"
#include "schedule/ScheduleSource.h"

#include <cstdint>
#include <cstdio>

namespace drmq {

namespace {
void Line(std::string &out, std::string_view key, std::string_view value) {
    out.append(key).append(value).append("\r\n");
}

// FNV-1a over the bytes, as hexadecimal text.
std::string Checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::uint8_t SourcesOfCell(std::string_view cell) {
    std::uint8_t sources = 0;
    while (!cell.empty()) {
        const size_t blank = cell.find(' ');
        const std::string_view word = cell.substr(0, blank);
        if (word == "(irregular)") sources |= kIrregularBit;
        for (TScheduleSource source : kScheduleSources)
            if (word == SourceName(source)) sources |= SourceBit(source);
        cell = blank == std::string_view::npos ? std::string_view{} : cell.substr(blank + 1);
    }
    return sources;
}
} // namespace

std::string FormatScheduleFile(const ScheduleTable &table) {
    std::string out = "[DRMSchedule]\r\n";
    out.reserve(table.Entries.size() * 200);
    for (const ScheduleEntry &e : table.Entries) {
        out.append("StartStopTimeUTC=").append(e.StartTime).append("-").append(e.StopTime).append("\r\n");
        Line(out, "Days[SMTWTFS]=", e.Days);
        Line(out, "Frequency=", e.FrequencyKHz);
        Line(out, "Target=", e.Target);
        Line(out, "Power=", e.PowerKW);
        Line(out, "Programme=", e.Programme);
        Line(out, "Language=", e.Language);
        Line(out, "Site=", e.Site);
        Line(out, "Country=", e.Country);
        out.append("\r\n");
    }
    return out;
}

std::string SourcesFileText(const ScheduleTable &table, std::string_view scheduleBytes) {
    std::string out = Checksum(scheduleBytes) + "\r\n";
    for (const ScheduleEntry &e : table.Entries) out.append(SourcesCellText(e.Sources)).append("\r\n");
    return out;
}

void ApplySourcesFile(ScheduleTable &table, std::string_view scheduleBytes, std::string_view sourcesBytes) {
    const std::vector<std::string> lines = SplitLines(sourcesBytes);
    if (lines.size() != table.Entries.size() + 1 || lines.front() != Checksum(scheduleBytes)) return;
    for (size_t i = 0; i < table.Entries.size(); ++i) table.Entries[i].Sources = SourcesOfCell(lines[i + 1]);
}

} // namespace drmq
