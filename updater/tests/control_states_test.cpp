#include "app/control_states.h"

#include <gtest/gtest.h>

#include <map>

namespace zu {
namespace {

using States = std::map<MainControl, bool>;

States Apply(States states, const std::vector<ControlEnable>& changes) {
    for (const ControlEnable& c : changes) states[c.control] = c.enabled;
    return states;
}

const States kAllOn = {{MainControl::Scan, true},      {MainControl::DeviceList, true},
                       {MainControl::AdapterSelect, true}, {MainControl::UpdateUc1, true},
                       {MainControl::UpdateUc2, true}, {MainControl::UpdateUc3, true},
                       {MainControl::UpdateHmi, true}, {MainControl::Cancel, true}};

TEST(ActionButtons, ThirdControllerOnlyOnTypesThreeAndFour) {
    for (int type = 1; type <= 6; ++type) {
        const States s = Apply(kAllOn, ActionButtonStates(true, 2, type));
        EXPECT_EQ(s.at(MainControl::UpdateUc3), type == 3 || type == 4) << type;
        EXPECT_TRUE(s.at(MainControl::UpdateUc1));
        EXPECT_TRUE(s.at(MainControl::UpdateUc2));
        EXPECT_TRUE(s.at(MainControl::UpdateHmi));
        EXPECT_FALSE(s.at(MainControl::Cancel));
    }
}

TEST(ActionButtons, EmptyListLeavesButtonsAndDisableTurnsThemOff) {
    EXPECT_TRUE(ActionButtonStates(true, 0, 3).empty());
    const States s = Apply(kAllOn, ActionButtonStates(false, 3, 3));
    for (MainControl c : {MainControl::UpdateUc1, MainControl::UpdateUc2, MainControl::UpdateUc3,
                          MainControl::UpdateHmi, MainControl::Cancel}) {
        EXPECT_FALSE(s.at(c));
    }
    EXPECT_TRUE(s.at(MainControl::Scan));  // never disabled by this rule
}

TEST(BusyState, OnlyCancelStaysLiveWhileBusy) {
    const States s = Apply(kAllOn, BusyControlStates());
    for (const auto& [control, enabled] : s) EXPECT_EQ(enabled, control == MainControl::Cancel);
    const States idle = Apply(s, IdleControlStates());
    EXPECT_TRUE(idle.at(MainControl::Scan));
    EXPECT_TRUE(idle.at(MainControl::DeviceList));
    EXPECT_FALSE(idle.at(MainControl::Cancel));
}

TEST(BusyState, SecondOperationRefusedAndCloseDeferred) {
    BusyState busy;
    EXPECT_EQ(busy.RequestClose(), BusyState::CloseDecision::CloseNow);
    ASSERT_TRUE(busy.TryBegin());
    EXPECT_FALSE(busy.TryBegin());
    EXPECT_EQ(busy.RequestClose(), BusyState::CloseDecision::CancelThenClose);
    EXPECT_TRUE(busy.End());  // the close asked for meanwhile is due now
    ASSERT_TRUE(busy.TryBegin());
    EXPECT_FALSE(busy.End());  // no close asked during this one
}

}  // namespace
}  // namespace zu
