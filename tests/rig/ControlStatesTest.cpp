// The per-model control tables: what a connect sets and a disconnect puts back.
#include "rig/ControlStates.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drmq::test {
namespace {

std::optional<TWidgetState> Other(const TModelControls &c, TOtherControl control) {
    const auto it = std::find_if(c.Others.begin(), c.Others.end(),
                                 [control](const TOtherState &o) { return o.Control == control; });
    if (it == c.Others.end()) return std::nullopt;
    return it->State;
}

TEST(ControlStates, Rx320dLimitsBothBarsToSixtyThree) {
    const TModelControls c = ConnectControls(rmRX320D);
    for (const TBarState *bar : {&c.VolBar, &c.SpeakBar}) {
        ASSERT_TRUE(bar->Range.has_value());
        EXPECT_EQ(bar->Range->Max, 63);
        EXPECT_EQ(bar->Range->Tick, 13);
        EXPECT_EQ(bar->Position, 63);
        EXPECT_EQ(bar->Enabled, TSwitch::On);
    }
    EXPECT_EQ(c.VolBar.Visible, TSwitch::Keep);
    EXPECT_EQ(c.SpeakBar.Visible, TSwitch::On);
    EXPECT_EQ(c.cbatt.Enabled, TSwitch::Off);
    EXPECT_FALSE(c.cbatt.Items.has_value());
}

TEST(ControlStates, NrdListsAndSpeakerPerModel) {
    const TModelControls nrd545 = ConnectControls(rmNRD545);
    EXPECT_EQ(nrd545.SpeakBar.Range->Max, 255);
    EXPECT_EQ(nrd545.cbfilter.Items->size(), 3u);
    const TModelControls nrd525 = ConnectControls(rmNRD525);
    EXPECT_FALSE(nrd525.SpeakBar.Range.has_value());
    EXPECT_EQ(nrd525.SpeakBar.Position, 255);
    EXPECT_EQ(nrd525.cbfilter.Items->back(), "AUX");
    EXPECT_EQ(ConnectControls(rmNRD535).cbfilter.Items->size(), 3u);
    for (int m : {rmNRD545, rmNRD535, rmNRD525}) {
        EXPECT_EQ(*ConnectControls(m).cbatt.Items, (std::vector<std::string>{"A OFF", "A ON"}));
        const TModelControls off = DisconnectControls(m);
        EXPECT_TRUE(off.cbatt.Store);
        EXPECT_TRUE(off.cbfilter.Store);
    }
}

TEST(ControlStates, StoredListsOnDisconnect) {
    EXPECT_TRUE(DisconnectControls(rmAOR7030).cbatt.Store);
    EXPECT_TRUE(DisconnectControls(rmPCR1000).cbatt.Store);
    EXPECT_FALSE(DisconnectControls(rmPCR1000).cbfilter.Store);
    EXPECT_TRUE(DisconnectControls(rmICOM).cbfilter.Store);
    EXPECT_FALSE(DisconnectControls(rmFRG100).cbatt.Store);
    EXPECT_EQ(DisconnectControls(rmWRG303).cbatt.Enabled, TSwitch::On);
    EXPECT_EQ(DisconnectControls(rmWRG313).cbatt.Enabled, TSwitch::Off);
}

TEST(ControlStates, LevelDisplayOfTheModelsThatReportALevel) {
    for (int m : {rmAOR7030, rmFRG100, rmTS850, rmDWT}) {
        const auto rxl = Other(ConnectControls(m), TOtherControl::cbrxl);
        ASSERT_TRUE(rxl.has_value()) << m;
        EXPECT_EQ(rxl->Enabled, TSwitch::On) << m;
        EXPECT_EQ(Other(ConnectControls(m), TOtherControl::gbsm)->Visible, TSwitch::On) << m;
    }
    EXPECT_FALSE(Other(ConnectControls(rmDWTCT), TOtherControl::cbrxl).has_value());
    EXPECT_EQ(Other(ConnectControls(rmDWTCT), TOtherControl::lbldwtlif)->Visible, TSwitch::On);
}

TEST(ControlStates, Drt1ShowsItsOffsetWithoutEnablingTheBox) {
    const TModelControls c = ConnectControls(rmDRT1);
    EXPECT_EQ(Other(c, TOtherControl::OffsetCheck)->Enabled, TSwitch::Keep);
    EXPECT_EQ(Other(c, TOtherControl::OffsetCheck)->Visible, TSwitch::On);
    EXPECT_EQ(Other(c, TOtherControl::OffsetText)->Enabled, TSwitch::On);
    EXPECT_EQ(c.VolBar.Visible, TSwitch::Off);
    const TModelControls off = DisconnectControls(rmDRT1);
    EXPECT_EQ(off.VolBar.Visible, TSwitch::On);
    EXPECT_EQ(Other(off, TOtherControl::InitButton)->Visible, TSwitch::Off);
}

TEST(ControlStates, E1800AndUnknownModelsChangeNothing) {
    for (int m : {static_cast<int>(rmE1800), -1, 19}) {
        for (const TModelControls &c : {ConnectControls(m), DisconnectControls(m)}) {
            EXPECT_EQ(c.VolBar.Enabled, TSwitch::Keep);
            EXPECT_FALSE(c.VolBar.Range.has_value());
            EXPECT_EQ(c.cbatt.Enabled, TSwitch::Keep);
            EXPECT_FALSE(c.cbatt.Items.has_value());
            EXPECT_FALSE(c.cbatt.Store);
            EXPECT_TRUE(c.Others.empty());
        }
    }
}

} // namespace
} // namespace drmq::test
