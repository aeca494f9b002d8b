// The makers' libraries loaded by name from the folders searched, against the
// recording stand-ins.
#include "support/SimVendorLibrary.h"
#include "rig/VendorLibrary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace drmq::test {
namespace {

using Calls = std::vector<std::string>;

class VendorLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString() + "/";
    TSimVendorLibrary sim{folder};
    TVendorLibrary library;
};

TEST_F(VendorLibraryTest, WinRadioEntriesAreCalledByName) {
    sim.Install("libwrg3api.so");
    ASSERT_TRUE(library.Load({folder}, "libwrg3api.so"));
    const std::int32_t h = library.OpenRadioDevice();
    EXPECT_EQ(h, 7);
    library.SetPower(h, -1);
    library.SetAtten(h, 0);
    library.SetAGC(h, 1);
    library.SetFrequency(h, 6095000);
    EXPECT_EQ(library.GetFrequency(h), 6095999u);
    library.CloseRadioDevice(h);
    EXPECT_EQ(sim.Calls(), (Calls{"wrg3api OpenRadioDevice 0", "wrg3api SetPower 7 -1", "wrg3api SetAtten 7 0",
                                  "wrg3api SetAGC 7 1", "wrg3api SetFrequency 7 6095000", "wrg3api GetFrequency 7",
                                  "wrg3api CloseRadioDevice 7"}));
}

TEST_F(VendorLibraryTest, FrontendEntriesPassTheirArguments) {
    sim.Install("libafgusbfe.so");
    setenv("DRMQ_FAKE_RF_LEVEL", "65526", 1); // low 16 bits: -10
    setenv("DRMQ_FAKE_LIF", "12000", 1);
    ASSERT_TRUE(library.Load({folder}, "libafgusbfe.so"));
    library.FrontendOpen();
    library.FrontendSetAntennaMode(1);
    library.FrontendSetRfAttenuator(0);
    library.FrontendSetMode(6);
    library.FrontendSetFrequency(6095000.0);
    EXPECT_EQ(library.FrontendGetRfLevel(), -10);
    EXPECT_DOUBLE_EQ(library.FrontendGetLIF(), 12000.0);
    library.FrontendClose();
    unsetenv("DRMQ_FAKE_RF_LEVEL");
    unsetenv("DRMQ_FAKE_LIF");
    EXPECT_EQ(sim.Calls(),
              (Calls{"afgusbfe FrontendOpen", "afgusbfe FrontendSetAntennaMode 1", "afgusbfe FrontendSetRfAttenuator 0",
                     "afgusbfe FrontendSetMode 6", "afgusbfe FrontendSetFrequency 6095000",
                     "afgusbfe FrontendGetRfLevel", "afgusbfe FrontendGetLIF", "afgusbfe FrontendClose"}));
}

TEST_F(VendorLibraryTest, MissingLibraryLoadsNothingAndEntriesReadZero) {
    EXPECT_FALSE(library.Load({folder}, "libwrg3130api.so"));
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(library.OpenRadioDevice(), 0);
    EXPECT_EQ(library.GetFrequency(7), 0u);
    EXPECT_EQ(library.FrontendGetRfLevel(), 0);
    EXPECT_EQ(library.FrontendGetLIF(), 0.0);
    library.FrontendClose();
    EXPECT_TRUE(sim.Calls().empty());
}

TEST_F(VendorLibraryTest, LaterFolderServesWhenTheFirstLacksTheLibrary) {
    QTemporaryDir userFolder;
    sim.Install("libwrg3130api.so");
    ASSERT_TRUE(library.Load({userFolder.path().toStdString() + "/", folder}, "libwrg3130api.so"));
    library.OpenRadioDevice();
    EXPECT_EQ(sim.Calls(), (Calls{"wrg3130api OpenRadioDevice 0"}));
}

TEST_F(VendorLibraryTest, ReleasedLibraryIsNotCalledAgain) {
    sim.Install("libwrg3130api.so");
    ASSERT_TRUE(library.Load({folder}, "libwrg3130api.so"));
    library.Release();
    EXPECT_FALSE(library.Loaded());
    library.CloseRadioDevice(7);
    EXPECT_EQ(library.OpenRadioDevice(), 0);
    EXPECT_TRUE(sim.Calls().empty());
}

TEST_F(VendorLibraryTest, LoadingAnotherLibraryReleasesTheFirst) {
    sim.Install("libwrg3api.so");
    sim.Install("libafgusbfe.so");
    ASSERT_TRUE(library.Load({folder}, "libwrg3api.so"));
    ASSERT_TRUE(library.Load({folder}, "libafgusbfe.so"));
    library.OpenRadioDevice();
    EXPECT_EQ(sim.Calls(), (Calls{"afgusbfe OpenRadioDevice 0"}));
}

} // namespace
} // namespace drmq::test
