// The tuning command of every model: the examples of the receivers' command
// sets, the digit rules shared by the digit-based models and the settings.
#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"
#include "tuning/FrequencyCommand.h"

#include <gtest/gtest.h>

namespace drmq::test {
namespace {

using namespace std::string_literals;

const int kDigitModels[] = {rmFRG100, rmFRG8800, rmFT847, rmPCR1000, rmE1800,
                            rmNRD545, rmICOM,    rmNRD535, rmNRD525, rmTS850};

TFrequencyCommand Command(int model, const std::string &text, const TTuningSettings &settings = {}) {
    return FrequencyCommand(model, text, StrToInt(text), settings);
}

struct SerialCase {
    const char *name;
    int model;
    const char *text;
    std::string bytes;
};

class SerialCommand : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialCommand, SendsTheModelsBytes) {
    const SerialCase &c = GetParam();
    const TFrequencyCommand command = Command(c.model, c.text);
    EXPECT_FALSE(command.Bytes.empty());
    EXPECT_EQ(command.Hz, 0);
    EXPECT_EQ(command.Bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    ReceiverExamples, SerialCommand,
    ::testing::Values(
        SerialCase{"Aor7030_6095", rmAOR7030, "6095", "P1J2c0g2h!,"},
        SerialCase{"Rx320d_6095_WithFineFactor", rmRX320D, "6095", "N\x4F\xD5\x1A\xA9\x00\x00\r"s},
        SerialCase{"Frg100_531", rmFRG100, "531", "\x00\x31\x05\x00\x0A"s},
        SerialCase{"Frg100_15440", rmFRG100, "15440", "\x00\x40\x54\x01\x0A"s},
        SerialCase{"Frg100_6095", rmFRG100, "6095", "\x00\x95\x60\x00\x0A"s},
        SerialCase{"Frg8800_531", rmFRG8800, "531", "\x01\x31\x05\x00\x01"s},
        SerialCase{"Frg8800_15440", rmFRG8800, "15440", "\x01\x40\x54\x01\x01"s},
        SerialCase{"Ft847_531", rmFT847, "531", "\x00\x05\x31\x00\x01"s},
        SerialCase{"Ft847_6095", rmFT847, "6095", "\x00\x60\x95\x00\x01"s},
        SerialCase{"Ft847_15440", rmFT847, "15440", "\x01\x54\x40\x00\x01"s},
        SerialCase{"Icom_531", rmICOM, "531", "\xFE\xFE\x00\xE0\x05\x00\x10\x53\x00\x00\xFD"s},
        SerialCase{"Icom_6095", rmICOM, "6095", "\xFE\xFE\x00\xE0\x05\x00\x50\x09\x06\x00\xFD"s},
        SerialCase{"Icom_15440", rmICOM, "15440", "\xFE\xFE\x00\xE0\x05\x00\x00\x44\x15\x00\xFD"s},
        SerialCase{"Pcr1000_15440", rmPCR1000, "15440", "K00015440000020200\r\n"},
        SerialCase{"Pcr1000_531", rmPCR1000, "531", "K00000531000020200\r\n"},
        SerialCase{"E1800_15440", rmE1800, "15440", "\n00F15440K0\r"},
        SerialCase{"E1800_531", rmE1800, "531", "\n00F00531K0\r"},
        SerialCase{"Nrd545_15440", rmNRD545, "15440", "F0015440000\r"},
        SerialCase{"Nrd545_531", rmNRD545, "531", "F0000531000\r"},
        SerialCase{"Nrd535_15440", rmNRD535, "15440", "F15440000\r"},
        SerialCase{"Nrd535_6095", rmNRD535, "6095", "F06095000\r"},
        SerialCase{"Nrd525_15440", rmNRD525, "15440", "F01544000\r"},
        SerialCase{"Nrd525_531", rmNRD525, "531", "F00053100\r"},
        SerialCase{"Ts850_15440", rmTS850, "15440", "FA00015440000;"},
        SerialCase{"Ts850_531", rmTS850, "531", "FA00000531000;"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FrequencyCommand, Rx320dFineFactorFollowsTheReceiversFormula) {
    // fine = trunc(((F - 1250) mod 2500) * 5.46) with F in Hz, high byte first.
    for (int khz : {150, 1001, 6095, 15442, 29999}) {
        const std::string bytes = Rx320dCommand(khz);
        ASSERT_EQ(bytes.size(), 8u);
        const int fine = (static_cast<unsigned char>(bytes[3]) << 8) | static_cast<unsigned char>(bytes[4]);
        const long long adjusted = khz * 1000LL - 1250;
        EXPECT_EQ(fine, static_cast<int>((adjusted % 2500) * 546 / 100)) << khz;
        const int coarse = (static_cast<unsigned char>(bytes[1]) << 8) | static_cast<unsigned char>(bytes[2]);
        // Coarse 2.5 kHz grid plus fine steps land on the wanted frequency.
        const double tuned = (coarse - 18000) * 2500.0 + 1250 + fine / 5.46;
        EXPECT_NEAR(tuned, khz * 1000.0, 1.0) << khz;
        EXPECT_EQ(bytes.substr(5), "\x00\x00\r"s);
    }
}

TEST(FrequencyCommand, Aor7030OffsetIsAddedInHz) {
    // (6095 + 1) kHz gives the word 0x2308A0.
    EXPECT_EQ(Aor7030Command(6095, 1000), "P1J2c0h:`!,");
    EXPECT_EQ(Aor7030Command(6096, 0), Aor7030Command(6095, 1000));
}

TEST(FrequencyCommand, LeadingZeroIsReadAsADigit) {
    for (int model : kDigitModels) {
        const auto withZero = Command(model, "0153");
        const auto plain = Command(model, "153");
        EXPECT_FALSE(withZero.Bytes.empty()) << model;
        EXPECT_EQ(withZero.Bytes, plain.Bytes) << model;
    }
}

TEST(FrequencyCommand, DigitModelsSendNothingForOtherLengthsOrNonDigits) {
    for (int model : kDigitModels) {
        for (const char *text : {"006095", "+6095", " 531", "$FF"}) {
            const auto command = Command(model, text);
            EXPECT_TRUE(command.Empty()) << model << " " << text;
            EXPECT_TRUE(command.Bytes.empty()) << model << " " << text;
        }
    }
}

TEST(FrequencyCommand, ValueModelsUseTheWholeNumber) {
    EXPECT_EQ(Command(rmAOR7030, "006095").Bytes, Command(rmAOR7030, "6095").Bytes);
    EXPECT_EQ(Command(rmRX320D, "006095").Bytes, Command(rmRX320D, "6095").Bytes);
}

TEST(FrequencyCommand, Ft847OffsetIsTheFourthByte) {
    TTuningSettings settings;
    settings.FT847Offset = "5A";
    EXPECT_EQ(Command(rmFT847, "531", settings).Bytes, "\x00\x05\x31\x5A\x01"s);
    settings.FT847Offset = "1FF"; // only the low 8 bits
    EXPECT_EQ(Command(rmFT847, "531", settings).Bytes[3], '\xFF');
    settings.FT847Offset = "ZZ";
    EXPECT_THROW(Command(rmFT847, "531", settings), EConvertError);
}

TEST(FrequencyCommand, IcomAddressIsDecimalOrDollarHex) {
    TTuningSettings settings;
    settings.ICOMRigAddress = "$5C";
    EXPECT_EQ(Command(rmICOM, "531", settings).Bytes[2], '\x5C');
    settings.ICOMRigAddress = "88";
    EXPECT_EQ(Command(rmICOM, "531", settings).Bytes[2], '\x58');
    settings.ICOMRigAddress = "$1E0"; // low 8 bits
    EXPECT_EQ(Command(rmICOM, "531", settings).Bytes[2], '\xE0');
    settings.ICOMRigAddress = "none";
    EXPECT_THROW(Command(rmICOM, "531", settings), EConvertError);
}

TEST(FrequencyCommand, LibraryAndSynthesizerModelsGetTheirFrequency) {
    struct Case {
        int model;
        TLinkKind link;
    };
    for (const Case c : {Case{rmWRG303, TLinkKind::RadioLibrary}, Case{rmWRG313, TLinkKind::RadioLibrary},
                         Case{rmDWT, TLinkKind::FrontendLibrary}, Case{rmDWTCT, TLinkKind::FrontendLibrary},
                         Case{rmElektor, TLinkKind::LinesHeld}, Case{rmDRT1, TLinkKind::LinesPerCommand},
                         Case{rmHamlib, TLinkKind::HamlibRig}}) {
        const auto command = Command(c.model, "6095");
        EXPECT_EQ(FindReceiverModel(c.model)->Link, c.link) << c.model;
        EXPECT_EQ(command.Hz, 6095000) << c.model;
        EXPECT_EQ(command.Khz, 6095) << c.model;
        EXPECT_TRUE(command.Bytes.empty()) << c.model;
    }
}

TEST(FrequencyCommand, IndexOutsideTheCatalogueSendsNothing) {
    EXPECT_TRUE(Command(-1, "6095").Empty());
    EXPECT_TRUE(Command(19, "6095").Empty());
}

} // namespace
} // namespace drmq::test
