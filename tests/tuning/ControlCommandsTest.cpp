// Attenuator, filter, level and DWT argument encoders, model by model.
#include "tuning/ControlCommands.h"

#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drmq {
namespace {

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

// ---- Attenuator -------------------------------------------------------------

struct AttCase {
    int model;
    const char *value;
    TSerialWrites expected;
};

class AttenuatorTest : public ::testing::TestWithParam<AttCase> {};

TEST_P(AttenuatorTest, SendsTheModelsBytes) {
    const AttCase &c = GetParam();
    EXPECT_EQ(AttenuatorCommand(c.model, c.value, "$00"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PerModel, AttenuatorTest,
    ::testing::Values(
        // rmAOR7030: list order, "+10dB" 0x60 .. "-40dB" 0x65.
        AttCase{rmAOR7030, "0", {"P", "3@", B({0x60}), "$"}}, AttCase{rmAOR7030, "3", {"P", "3@", B({0x63}), "$"}},
        AttCase{rmAOR7030, "5", {"P", "3@", B({0x65}), "$"}}, AttCase{rmAOR7030, "6", {}},
        AttCase{rmAOR7030, "-1", {}},
        AttCase{rmPCR1000, "0", {"J4700\r\n"}}, AttCase{rmPCR1000, "1", {"J4701\r\n"}}, AttCase{rmPCR1000, "2", {}},
        AttCase{rmNRD545, "0", {"A0\r"}}, AttCase{rmNRD545, "1", {"A1\r"}}, AttCase{rmNRD535, "1", {"A1\r"}},
        AttCase{rmNRD525, "0", {"A0\r"}}, AttCase{rmNRD525, "-1", {}},
        // The rmICOM frames are separate writes; "A ON" is two frames.
        AttCase{rmICOM, "0", {B({0xFE, 0xFE, 0x00, 0xE0, 0x11, 0x00, 0xFD})}},
        AttCase{rmICOM, "1", {B({0xFE, 0xFE, 0x00, 0xE0, 0x11, 0x18, 0xFD}), B({0xFE, 0xFE, 0x00, 0xE0, 0x11, 0x20, 0xFD})}},
        AttCase{rmICOM, "2", {}},
        AttCase{rmFRG100, "0", {}}, AttCase{rmRX320D, "1", {}}, AttCase{rmDWT, "0", {}}, AttCase{rmTS850, "1", {}},
        AttCase{-1, "0", {}}, AttCase{rmHamlib, "0", {}}, AttCase{19, "0", {}}));

TEST(IcomAddressTest, LowEightBitsOfDecimalOrDollarHex) {
    EXPECT_EQ(IcomAddressByte("$00"), 0x00);
    EXPECT_EQ(IcomAddressByte("$5C"), 0x5C);
    EXPECT_EQ(IcomAddressByte("88"), 88);
    EXPECT_EQ(IcomAddressByte("$15C"), 0x5C);
    EXPECT_EQ(IcomAddressByte("-1"), 0xFF);
    EXPECT_THROW(IcomAddressByte("x5C"), EConvertError);
}

TEST(IcomAttenuatorTest, CarriesTheConfiguredAddress) {
    EXPECT_EQ(AttenuatorCommand(rmICOM, "1", "$5C"),
              (TSerialWrites{B({0xFE, 0xFE, 0x5C, 0xE0, 0x11, 0x18, 0xFD}), B({0xFE, 0xFE, 0x5C, 0xE0, 0x11, 0x20, 0xFD})}));
}

TEST(IcomAttenuatorTest, AnUnreadableAddressMattersOnlyToTheIcom) {
    EXPECT_THROW(AttenuatorCommand(rmICOM, "0", "none"), EConvertError);
    EXPECT_EQ(AttenuatorCommand(rmAOR7030, "1", "none"), (TSerialWrites{"P", "3@", B({0x61}), "$"}));
}

// ---- Filter -----------------------------------------------------------------

struct FilterCase {
    int model;
    int index;
    TSerialWrites expected;
};

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, SendsTheModelsBytes) {
    const FilterCase &c = GetParam();
    EXPECT_EQ(FilterCommand(c.model, c.index), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PerModel, FilterTest,
    ::testing::Values(FilterCase{rmAOR7030, 0, {"1J", "P", "3D", B({0x61}), "#+"}},
                      FilterCase{rmAOR7030, 5, {"1J", "P", "3D", B({0x66}), "#+"}}, FilterCase{rmAOR7030, 6, {}},
                      FilterCase{rmAOR7030, -1, {}},
                      FilterCase{rmNRD545, 0, {"B0", "\r"}}, FilterCase{rmNRD545, 2, {"B2", "\r"}},
                      // "AUX" exists only on the rmNRD525's list.
                      FilterCase{rmNRD545, 3, {}}, FilterCase{rmNRD535, 1, {"B1", "\r"}}, FilterCase{rmNRD535, 3, {}},
                      FilterCase{rmNRD525, 3, {"B3", "\r"}}, FilterCase{rmNRD525, 4, {}}, FilterCase{rmNRD525, -1, {}},
                      FilterCase{rmPCR1000, 0, {}}, FilterCase{rmICOM, 1, {}}, FilterCase{rmRX320D, 0, {}}));

// ---- Levels -----------------------------------------------------------------

struct LevelCase {
    int model;
    int position;
    TSerialWrites expected;
};

class AuxLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(AuxLevelTest, SendsTheModelsBytes) {
    const LevelCase &c = GetParam();
    EXPECT_EQ(AuxLevelCommand(c.model, c.position), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PerModel, AuxLevelTest,
    ::testing::Values(
        // rmAOR7030: b = trunc((100 - p) * 0.364 + 27.5) within 27..63, as two nibble characters.
        LevelCase{rmAOR7030, 100, {"P", "2D", B({0x31, 0x6B}), "$"}},  // b = 27
        LevelCase{rmAOR7030, 50, {"P", "2D", B({0x32, 0x6D}), "$"}},   // b = 45
        LevelCase{rmAOR7030, 0, {"P", "2D", B({0x33, 0x6F}), "$"}},    // b = 63
        LevelCase{rmAOR7030, 95, {"P", "2D", B({0x31, 0x6D}), "$"}},   // 29.32 -> 29
        LevelCase{rmRX320D, 0, {B({'A', 0x00, 0x00, 0x0D})}}, LevelCase{rmRX320D, 63, {B({'A', 0x00, 0x3F, 0x0D})}},
        LevelCase{rmRX320D, 13, {B({'A', 0x00, 0x0D, 0x0D})}},
        LevelCase{rmPCR1000, 50, {}}, LevelCase{rmNRD545, 100, {}}, LevelCase{rmFRG100, 100, {}}));

class SpeakerLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(SpeakerLevelTest, SendsTheModelsBytes) {
    const LevelCase &c = GetParam();
    EXPECT_EQ(SpeakerLevelCommand(c.model, c.position), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PerModel, SpeakerLevelTest,
    ::testing::Values(
        // rmAOR7030: b = trunc((100 - p) * 0.485 + 15.5), at most 63.
        LevelCase{rmAOR7030, 100, {"P", "1N", B({0x30, 0x6F}), "$"}},  // b = 15
        LevelCase{rmAOR7030, 50, {"P", "1N", B({0x32, 0x67}), "$"}},   // b = 39
        LevelCase{rmAOR7030, 0, {"P", "1N", B({0x33, 0x6F}), "$"}},    // 64 limited to 63
        LevelCase{rmAOR7030, 1, {"P", "1N", B({0x33, 0x6F}), "$"}},    // 63.515 -> 63
        LevelCase{rmRX320D, 63, {B({'V', 0x00, 0x3F, 0x0D})}}, LevelCase{rmRX320D, 0, {B({'V', 0x00, 0x00, 0x0D})}},
        // rmPCR1000: 100 - p, at most 99, two digits.
        LevelCase{rmPCR1000, 95, {"J4005\r\n"}}, LevelCase{rmPCR1000, 0, {"J4099\r\n"}},
        LevelCase{rmPCR1000, 100, {"J4000\r\n"}}, LevelCase{rmPCR1000, 50, {"J4050\r\n"}},
        // rmNRD545: 255 - p as three digits, CR in a write of its own.
        LevelCase{rmNRD545, 255, {"JJ000", "\r"}}, LevelCase{rmNRD545, 0, {"JJ255", "\r"}},
        LevelCase{rmNRD545, 200, {"JJ055", "\r"}}, LevelCase{rmNRD545, 246, {"JJ009", "\r"}},
        LevelCase{rmNRD535, 255, {}}, LevelCase{rmNRD525, 255, {}}, LevelCase{rmICOM, 50, {}}));

// ---- DWT library arguments ---------------------------------------------------

TEST(DwtArgumentTest, ModeIsOneTwoSix) {
    EXPECT_EQ(DwtModeArgument(0), 1); // DRM
    EXPECT_EQ(DwtModeArgument(1), 2); // AM
    EXPECT_EQ(DwtModeArgument(2), 6); // FM
    EXPECT_FALSE(DwtModeArgument(-1).has_value());
    EXPECT_FALSE(DwtModeArgument(3).has_value());
}

TEST(DwtArgumentTest, SwitchesFollowListOrder) {
    EXPECT_EQ(DwtSwitchArgument(0), 0); // Loop / DX
    EXPECT_EQ(DwtSwitchArgument(1), 1); // Wire / Local
    EXPECT_FALSE(DwtSwitchArgument(-1).has_value());
    EXPECT_FALSE(DwtSwitchArgument(2).has_value());
}

} // namespace
} // namespace drmq
