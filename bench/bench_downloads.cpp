// Downloads and bulletin: a GET of a schedule-sized file from a local
// server, the update step's normalisation and line comparison, the parser.
#include "schedule/Bulletin.h"
#include "schedule/DownloadText.h"
#include "schedule/HttpGet.h"
#include "support/HttpTestServer.h"

#include <benchmark/benchmark.h>

namespace {

// About the size of a full schedule: 3000 nine-line blocks.
std::string ScheduleSizedText(const char *lineBreak) {
    std::string text;
    for (int i = 0; i < 3000 * 9; ++i) text += "Programme=Station " + std::to_string(i) + lineBreak;
    return text;
}

void BM_HttpGetSchedule(benchmark::State &state) {
    drmq::test::HttpTestServer server;
    const std::string body = ScheduleSizedText("\r\n");
    server.SetReply(drmq::test::HttpTestServer::OkReply(body));
    const std::string url = server.Url("/sender/DRMSchedule.ini");
    for (auto _ : state) {
        const std::string text = drmq::HttpGetText(url);
        if (text.size() != body.size()) state.SkipWithError("short body");
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_HttpGetSchedule)->Unit(benchmark::kMillisecond);

void BM_NormaliseAndCompareSchedule(benchmark::State &state) {
    const std::string download = ScheduleSizedText("\n");
    const std::string present = ScheduleSizedText("\r\n");
    for (auto _ : state) {
        const std::string text = drmq::NormaliseLineBreaks(download);
        benchmark::DoNotOptimize(drmq::SplitLines(text) == drmq::SplitLines(present));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * download.size()));
}
BENCHMARK(BM_NormaliseAndCompareSchedule)->Unit(benchmark::kMillisecond);

void BM_ParseBulletin(benchmark::State &state) {
    const std::string text = std::string(drmq::kBulletinBanner) +
                             "\r\n:Issued: 2024 Mar 04 2105 UTC\r\n#\r\n#\r\n#\r\n#\r\n"
                             "Solar-terrestrial indices for 03 March follow.\r\n"
                             "Solar flux 152 and estimated planetary A-index 12.\r\n"
                             "The estimated planetary K-index at 1800 UTC on 04 March was 2.67.\r\n";
    for (auto _ : state) {
        drmq::TBulletinLevels levels;
        drmq::RateBulletin(*drmq::ParseBulletin(text), levels);
        benchmark::DoNotOptimize(levels);
    }
}
BENCHMARK(BM_ParseBulletin);

} // namespace
