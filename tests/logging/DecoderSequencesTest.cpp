// The FhG sequences: every activation and key string in order, and no keys
// when the decoder's window is not there.
#include "logging/DecoderSequences.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace drmq {
namespace {

using Steps = std::vector<std::string>;
constexpr TDecoderOutcome kTold = TDecoderOutcome::Told;
constexpr TDecoderOutcome kMissing = TDecoderOutcome::WindowMissing;
constexpr TDecoderOutcome kNothing = TDecoderOutcome::NothingToSend;

class DecoderSequencesTest : public ::testing::Test {
protected:
    TDecoderControl Recorder() {
        return {[this](const QString &title) {
                    steps.push_back("activate " + title.toStdString());
                    return windows.count(title.toStdString()) > 0;
                },
                [this](const QString &keys, bool wait) {
                    steps.push_back("keys " + keys.toStdString() + (wait ? " (wait)" : " (no wait)"));
                    return true;
                },
                {}};
    }

    std::set<std::string> windows = {"DRM Software Radio 2.", "DRM Quodra"};
    Steps steps;
};

TEST_F(DecoderSequencesTest, FhGStartLog) {
    EXPECT_EQ(FhGStartLog("15440", Recorder()), kTold);
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)", "keys 15440 (wait)",
                            "keys %S (wait)"}));
}

TEST_F(DecoderSequencesTest, FhGStopLog) {
    EXPECT_EQ(FhGStopLog(Recorder()), kTold);
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)"}));
}

TEST_F(DecoderSequencesTest, ProgramWindowComesBack) {
    ActivateProgramWindow(Recorder());
    EXPECT_EQ(steps, (Steps{"activate DRM Quodra"}));
}

TEST_F(DecoderSequencesTest, NoDecoderWindowMeansNoKeys) {
    windows.clear();
    EXPECT_EQ(FhGStartLog("15440", Recorder()), kMissing);
    EXPECT_EQ(FhGStopLog(Recorder()), kMissing);
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "activate DRM Software Radio 2."}));
}

// Only a frequency of whole kHz is typed; anything else from the settings
// file or the field tells the decoder nothing (and asks for no stop later).
TEST_F(DecoderSequencesTest, AFrequencyThatIsNotThreeToFiveDigitsSendsNothing) {
    for (const char *text : {"%{F4}", "{a 43555543}", "", "12", "123456", "15 40", "+1544", "1544\n"})
        EXPECT_EQ(FhGStartLog(QString::fromUtf8(text), Recorder()), kNothing) << text;
    EXPECT_EQ(FhGStartLog(QString::fromUtf8("\u0661\u0665\u0664"), Recorder()), kNothing);
    EXPECT_EQ(steps, Steps{});
    EXPECT_EQ(FhGStartLog("177", Recorder()), kTold);
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)", "keys 177 (wait)",
                            "keys %S (wait)"}));
}

} // namespace
} // namespace drmq
