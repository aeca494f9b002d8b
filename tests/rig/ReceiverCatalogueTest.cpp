// The receiver catalogue and the bytes of every serial model's connect,
// disconnect and shutdown, plus the FRG100 reply rule.
#include "rig/ConnectCommands.h"
#include "rig/ReceiverModel.h"
#include "rig/Replies.h"

#include <gtest/gtest.h>

namespace drmq::test {
namespace {

using namespace std::string_literals;
using Writes = std::vector<std::string>;

TEST(ReceiverCatalogue, NineteenModelsInListOrder) {
    const char *texts[] = {"AOR7030", "FRG100",  "FRG8800", "FT847",     "RX320D", "WRG303",
                           "PCR1000", "Elektor", "E1800",   "NRD545",    "DWT",    "DRT1",
                           "WRG313",  "ICOM CI-V", "NRD535", "DWT CT",   "NRD525", "TS-850", "Hamlib"};
    for (int i = 0; i < kReceiverModelCount; ++i) {
        const TReceiverEntry *entry = FindReceiverModel(i);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Index, i);
        EXPECT_STREQ(entry->ListText, texts[i]);
    }
    EXPECT_EQ(FindReceiverModel(-1), nullptr);
    EXPECT_EQ(FindReceiverModel(19), nullptr);
    EXPECT_EQ(FindReceiverModel(rmHamlib)->Link, TLinkKind::HamlibRig);
}

TEST(ReceiverCatalogue, SerialModelsSpeedAndStopBits) {
    struct Row {
        int model;
        TBaudRate baud;
        TStopBits stop;
    };
    const Row rows[] = {{rmAOR7030, br1200, sbOneStopBit}, {rmFRG100, br4800, sbTwoStopBits},
                        {rmFRG8800, br4800, sbTwoStopBits}, {rmFT847, br4800, sbTwoStopBits},
                        {rmRX320D, br1200, sbOneStopBit},  {rmPCR1000, br9600, sbOneStopBit},
                        {rmE1800, br19200, sbOneStopBit},  {rmNRD545, br4800, sbOneStopBit},
                        {rmNRD535, br4800, sbOneStopBit},  {rmNRD525, br1200, sbOneStopBit},
                        {rmTS850, br4800, sbTwoStopBits},  {rmICOM, br19200, sbOneStopBit}};
    for (const Row &r : rows) {
        const TReceiverEntry &e = *FindReceiverModel(r.model);
        EXPECT_EQ(e.Link, TLinkKind::SerialPort) << r.model;
        EXPECT_EQ(BaudRateOf(e, 2), r.baud) << r.model;
        EXPECT_EQ(e.Stop, r.stop) << r.model;
    }
}

TEST(ReceiverCatalogue, IcomSpeedComesFromItsSetting) {
    const TReceiverEntry &icom = *FindReceiverModel(rmICOM);
    EXPECT_EQ(BaudRateOf(icom, 1), br1200);
    EXPECT_EQ(BaudRateOf(icom, 2), br19200);
    EXPECT_EQ(BaudRateOf(icom, 0), br19200);
    EXPECT_EQ(BaudRateOf(*FindReceiverModel(rmAOR7030), 1), br1200);
    EXPECT_EQ(BaudRateOf(*FindReceiverModel(rmPCR1000), 1), br9600);
}

TEST(ReceiverCatalogue, LibraryModelsNameTheirLibraryAndMessage) {
    EXPECT_STREQ(FindReceiverModel(rmWRG303)->LibraryFile, "libwrg3api.so");
    EXPECT_STREQ(FindReceiverModel(rmWRG303)->LibraryMissingText, "WRG3API.DLL not found !");
    EXPECT_STREQ(FindReceiverModel(rmWRG313)->LibraryFile, "libwrg3130api.so");
    EXPECT_STREQ(FindReceiverModel(rmWRG313)->LibraryMissingText, "WRG3130API.DLL not found !");
    for (int m : {rmDWT, rmDWTCT}) {
        EXPECT_EQ(FindReceiverModel(m)->Link, TLinkKind::FrontendLibrary);
        EXPECT_STREQ(FindReceiverModel(m)->LibraryFile, "libafgusbfe.so");
        EXPECT_STREQ(FindReceiverModel(m)->LibraryMissingText, "afgusbfe.dll not found !");
    }
    EXPECT_EQ(FindReceiverModel(rmElektor)->Link, TLinkKind::LinesHeld);
    EXPECT_EQ(FindReceiverModel(rmDRT1)->Link, TLinkKind::LinesPerCommand);
}

TEST(ReceiverCatalogue, HandshakeModeStaysForLaterModels) {
    TComPort port;
    ApplyModelLineSettings(port, *FindReceiverModel(rmAOR7030), 2);
    EXPECT_EQ(port.ControlDTR(), dtrDisable);
    ApplyModelLineSettings(port, *FindReceiverModel(rmFRG100), 2);
    EXPECT_EQ(port.ControlDTR(), dtrHandshake);
    EXPECT_EQ(port.ControlRTS(), rtsHandshake);
    EXPECT_EQ(port.StopBits(), sbTwoStopBits);
    ApplyModelLineSettings(port, *FindReceiverModel(rmAOR7030), 2);
    EXPECT_EQ(port.BaudRate(), br1200);
    EXPECT_EQ(port.StopBits(), sbOneStopBit);
    EXPECT_EQ(port.ControlDTR(), dtrHandshake);
    EXPECT_EQ(port.ControlRTS(), rtsHandshake);
}

struct ProcedureCase {
    const char *name;
    int model;
    Writes init;
    bool initAfterControls;
    Writes close;
    Writes idle;
};

class SerialProcedureTest : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(SerialProcedureTest, BytesOfConnectDisconnectAndShutdown) {
    const ProcedureCase &c = GetParam();
    const TSerialProcedure p = SerialProcedure(c.model, 0);
    EXPECT_EQ(p.Init, c.init);
    EXPECT_EQ(p.InitAfterControls, c.initAfterControls);
    EXPECT_EQ(p.Close, c.close);
    EXPECT_EQ(p.OpenBeforeClose, c.model == rmAOR7030);
    EXPECT_EQ(IdleWrites(c.model), c.idle);
}

const Writes kNone;
INSTANTIATE_TEST_SUITE_P(
    EveryModel, SerialProcedureTest,
    ::testing::Values(
        ProcedureCase{"AOR7030", rmAOR7030, {"\x81"}, false, {"\x80"}, {"\x80"}},
        ProcedureCase{"FRG100", rmFRG100, {"\x20\x01\xF7\x01\x20"s, "\x00\x00\x00\x00\x0E"s}, false, kNone, kNone},
        ProcedureCase{"FRG8800", rmFRG8800, {"\x81\x81\x81\x00\x00"s}, false, {"\x81\x81\x81\x80\x00"s},
                      {"\x81", "\x81", "\x81", "\x80", "\x00"s}},
        // The FT847's own CAT-off, not the FRG8800's form (which it reads as CAT on).
        ProcedureCase{"FT847", rmFT847, {"\x81\x81\x81\x00\x00"s, "\x04\x81\x81\x00\x07"s}, false,
                      {"\x00\x00\x00\x00\x80"s}, {"\x00"s, "\x00"s, "\x00"s, "\x00"s, "\x80"}},
        ProcedureCase{"RX320D", rmRX320D, {"C\x00\r"s, "G1\r", "W\x00\r"s}, false, kNone, kNone},
        ProcedureCase{"PCR1000", rmPCR1000,
                      {"H101\r\n", "G300\r\n", "J4000\r\n", "J4501\r\n", "J4700\r\n", "K00006095000020200\r\n"},
                      false, {"H100\r\n"}, kNone},
        ProcedureCase{"E1800", rmE1800, {"\n", "00F06095K0,DA3E,B10K0", "\r"}, true, kNone, kNone},
        ProcedureCase{"NRD545", rmNRD545, {"H1\r", "D4\r"}, true, {"H0\r"}, {"H0", "\r"}},
        ProcedureCase{"NRD535", rmNRD535, {"H1\r", "D4\r"}, true, {"H0\r"}, kNone},
        ProcedureCase{"NRD525", rmNRD525, {"H1\r", "D4\r"}, true, {"H0\r"}, kNone},
        ProcedureCase{"ICOM", rmICOM, kNone, false, kNone, kNone},
        ProcedureCase{"TS850", rmTS850, kNone, false, kNone, kNone}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SerialProcedure, Frg100DelayGivesItsLowEightBits) {
    EXPECT_EQ(SerialProcedure(rmFRG100, 0x1234).Init.at(1), "\x00\x00\x00\x34\x0E"s);
    EXPECT_EQ(SerialProcedure(rmFRG100, -1).Init.at(1), "\x00\x00\x00\xFF\x0E"s);
}

TEST(Frg100Reply, OnlyFiveBytesEndingInF7GiveAReading) {
    EXPECT_EQ(Frg100SMeterReading("\x01\x02\x03\x9A\xF7"s), std::uint8_t{0x9A});
    EXPECT_EQ(Frg100SMeterReading("\x00\x00\x00\x00\xF7"s), std::uint8_t{0});
    EXPECT_FALSE(Frg100SMeterReading("\x01\x02\x03"s));
    EXPECT_FALSE(Frg100SMeterReading("\x9A\xF7"s));
    EXPECT_FALSE(Frg100SMeterReading("\x01\x02\x03\x9A\xF7\x01\x02\x03\x9B\xF7"s));
    EXPECT_FALSE(Frg100SMeterReading("\x01\x02\x03\x9A\xF6"s));
    EXPECT_FALSE(Frg100SMeterReading(""));
}

} // namespace
} // namespace drmq::test
