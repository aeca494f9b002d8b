#include "support/ScheduleFileBuilder.h"

#include <cstdio>

namespace drmq::test {

std::string ScheduleBlockText(const TScheduleBlock &b) {
    return "StartStopTimeUTC=" + b.Start + "-" + b.Stop + "\r\n" + "DaysOfTheWeek=" + b.Days + "\r\n" +
           "Frequency=" + b.Frequency + "\r\n" + "Target=" + b.Target + "\r\n" + "Power=" + b.Power + "\r\n" +
           "Programme=" + b.Programme + "\r\n" + "Language=" + b.Language + "\r\n" + "Site=" + b.Site + "\r\n" +
           "Country=" + b.Country + "\r\n";
}

std::string ScheduleFileText(const std::vector<TScheduleBlock> &blocks) {
    std::string text = "[DRM Schedule]\r\n";
    for (const auto &b : blocks) text += "\r\n" + ScheduleBlockText(b);
    return text;
}

std::vector<TScheduleBlock> GeneratedSchedule(int count) {
    static const char *const programmes[] = {"Radio Nordwind", "Coastal Voice", "Radio Alpina",
                                             "Onda Atlantica", "Radio Boreal", "Sound of the Steppe"};
    static const char *const powers[] = {"100", "0.5", "35", "250", "5", "12.5"};
    std::vector<TScheduleBlock> blocks;
    blocks.reserve(static_cast<size_t>(count));
    char buf[16];
    for (int i = 0; i < count; ++i) {
        TScheduleBlock b;
        const int start = (i * 37) % 1440;
        const int stop = (start + 30 + (i % 4) * 30) % 1440;
        std::snprintf(buf, sizeof buf, "%02d%02d", start / 60, start % 60);
        b.Start = buf;
        std::snprintf(buf, sizeof buf, "%02d%02d", stop / 60, stop % 60);
        b.Stop = buf;
        b.Days = i % 3 == 0 ? "0000000" : (i % 3 == 1 ? "0111110" : "1000001");
        // 400 frequencies shared by many entries, as in a real schedule.
        b.Frequency = std::to_string(153 + (i * 7) % 400 * 64);
        b.Power = powers[i % 6];
        b.Programme = programmes[i % 6] + std::string(" ") + std::to_string(i % 97);
        b.Target = i % 2 ? "Europe" : "North America";
        b.Language = i % 2 ? "English" : "Deutsch";
        b.Site = "Site " + std::to_string(i % 50);
        b.Country = i % 2 ? "Norway" : "Portugal";
        blocks.push_back(b);
    }
    return blocks;
}

} // namespace drmq::test
