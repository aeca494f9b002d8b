// The decoder sequences: every activation, key string and pause in order,
// and no keys when the decoder's window is not there.
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
                [this](int ms) { steps.push_back("pause " + std::to_string(ms)); }};
    }

    std::set<std::string> windows = {"DRM Software Radio 2.", "System Evaluation", "DRM Quodra"};
    Steps steps;
};

TEST_F(DecoderSequencesTest, FhGStartLog) {
    DecoderStartLog(dcFhG, "15440", Recorder());
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)", "keys 15440 (wait)",
                            "keys %S (wait)"}));
}

TEST_F(DecoderSequencesTest, DreamStartLog) {
    DecoderStartLog(dcDream, "15440", Recorder());
    EXPECT_EQ(steps, (Steps{"activate System Evaluation", "pause 100", "activate System Evaluation",
                            "keys {TAB} (wait)", "pause 50", "keys 15440 (no wait)", "pause 100",
                            "activate System Evaluation", "keys %L (wait)", "pause 50"}));
}

TEST_F(DecoderSequencesTest, FhGStopLog) {
    DecoderStopLog(dcFhG, Recorder());
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)"}));
}

TEST_F(DecoderSequencesTest, DreamStopLog) {
    DecoderStopLog(dcDream, Recorder());
    EXPECT_EQ(steps, (Steps{"activate System Evaluation", "pause 100", "activate System Evaluation",
                            "keys %L (wait)", "pause 50"}));
}

TEST_F(DecoderSequencesTest, DreamConnectStep) {
    DreamConnectSequence(Recorder());
    EXPECT_EQ(steps, (Steps{"activate System Evaluation", "pause 50", "keys %L (wait)", "pause 250",
                            "activate System Evaluation", "keys %L (wait)", "pause 50", "activate DRM Trovanix"}));
}

TEST_F(DecoderSequencesTest, ProgramWindowComesBack) {
    ActivateProgramWindow(Recorder());
    EXPECT_EQ(steps, (Steps{"activate DRM Quodra"}));
}

TEST_F(DecoderSequencesTest, NoDecoderWindowMeansNoKeysButTheSamePauses) {
    windows.clear();
    EXPECT_EQ(DecoderStartLog(dcDream, "15440", Recorder()), kMissing);
    EXPECT_EQ(DecoderStartLog(dcFhG, "15440", Recorder()), kMissing);
    EXPECT_EQ(DecoderStopLog(dcDream, Recorder()), kMissing);
    EXPECT_EQ(DreamConnectSequence(Recorder()), kMissing);
    EXPECT_EQ(steps, (Steps{"activate System Evaluation", "pause 100", "activate System Evaluation", "pause 50",
                            "pause 100", "activate System Evaluation", "pause 50",
                            "activate DRM Software Radio 2.",
                            "activate System Evaluation", "pause 100", "activate System Evaluation", "pause 50",
                            "activate System Evaluation", "pause 50", "pause 250", "activate System Evaluation",
                            "pause 50", "activate DRM Trovanix"}));
}

// Only a frequency of whole kHz is typed; anything else from the settings
// file or the field tells the decoder nothing (and asks for no stop later).
TEST_F(DecoderSequencesTest, AFrequencyThatIsNotThreeToFiveDigitsSendsNothing) {
    for (const char *text : {"%{F4}", "{a 43555543}", "", "12", "123456", "15 40", "+1544", "1544\n"}) {
        for (int decoder : {dcFhG, dcDream}) {
            EXPECT_EQ(DecoderStartLog(decoder, QString::fromUtf8(text), Recorder()), kNothing) << text;
        }
    }
    EXPECT_EQ(DecoderStartLog(dcFhG, QString::fromUtf8("\u0661\u0665\u0664"), Recorder()), kNothing);
    EXPECT_EQ(steps, Steps{});
    EXPECT_EQ(DecoderStartLog(dcFhG, "177", Recorder()), kTold);
    EXPECT_EQ(steps, (Steps{"activate DRM Software Radio 2.", "keys %R (wait)", "keys 177 (wait)",
                            "keys %S (wait)"}));
}

TEST_F(DecoderSequencesTest, WithNoDecoderChosenNothingIsSent) {
    EXPECT_EQ(DecoderStartLog(dcNone, "15440", Recorder()), kNothing);
    EXPECT_EQ(DecoderStopLog(dcNone, Recorder()), kNothing);
    EXPECT_EQ(steps, Steps{});
}

// The window the connect step returns to is not the decoder's: its absence
// is no reason to tell the listener.
TEST_F(DecoderSequencesTest, ToldMeansEveryActivationOfTheDecoderFoundIt) {
    windows = {"System Evaluation"};
    EXPECT_EQ(DreamConnectSequence(Recorder()), kTold);
    EXPECT_EQ(DecoderStartLog(dcDream, "15440", Recorder()), kTold);
    EXPECT_EQ(DecoderStopLog(dcDream, Recorder()), kTold);
    EXPECT_EQ(DecoderStopLog(dcFhG, Recorder()), kMissing);
    // The Dream window gone between two activations of one sequence.
    int activations = 0;
    TDecoderControl vanishing = Recorder();
    vanishing.activate = [&](const QString &) { return ++activations == 1; };
    EXPECT_EQ(DecoderStopLog(dcDream, vanishing), kMissing);
}

} // namespace
} // namespace drmq
