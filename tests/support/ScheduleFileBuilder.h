// Builds "DRMSchedule.ini" texts for tests and benchmarks: nine-line blocks
// with keys of the fixed widths, CR LF line ends. Pure, any thread.
#pragma once

#include <string>
#include <vector>

namespace drmq::test {

struct TScheduleBlock {
    std::string Start = "0600";
    std::string Stop = "0700";
    std::string Days = "0000000";
    std::string Frequency = "6095";
    std::string Target = "Europe";
    std::string Power = "100";
    std::string Programme = "Radio Test";
    std::string Language = "English";
    std::string Site = "Testsite";
    std::string Country = "Germany";
};

// The nine lines of one entry.
std::string ScheduleBlockText(const TScheduleBlock &block);
// A title line, then the blocks separated by blank lines.
std::string ScheduleFileText(const std::vector<TScheduleBlock> &blocks);
// count varied entries (times, days, frequencies, powers) for load tests.
std::vector<TScheduleBlock> GeneratedSchedule(int count);

} // namespace drmq::test
