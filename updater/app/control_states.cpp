#include "app/control_states.h"

namespace zu {

std::vector<ControlEnable> ActionButtonStates(bool enable, std::size_t deviceCount, int selectedType) {
    if (!enable) {
        return {{MainControl::UpdateUc1, false}, {MainControl::UpdateUc2, false},
                {MainControl::UpdateUc3, false}, {MainControl::UpdateHmi, false},
                {MainControl::Cancel, false}};
    }
    if (deviceCount == 0) return {};
    // Only the P5 families (types 3 and 4) carry a third controller.
    const bool hasUc3 = selectedType == 3 || selectedType == 4;
    return {{MainControl::UpdateUc1, true}, {MainControl::UpdateUc2, true},
            {MainControl::UpdateHmi, true}, {MainControl::UpdateUc3, hasUc3},
            {MainControl::Cancel, false}};
}

const std::vector<ControlEnable>& BusyControlStates() {
    static const std::vector<ControlEnable> states = {
        {MainControl::Scan, false},      {MainControl::DeviceList, false},
        {MainControl::AdapterSelect, false}, {MainControl::UpdateUc1, false},
        {MainControl::UpdateUc2, false}, {MainControl::UpdateUc3, false},
        {MainControl::UpdateHmi, false}, {MainControl::Cancel, true},
    };
    return states;
}

const std::vector<ControlEnable>& IdleControlStates() {
    static const std::vector<ControlEnable> states = {
        {MainControl::Scan, true},
        {MainControl::DeviceList, true},
        {MainControl::AdapterSelect, true},
        {MainControl::Cancel, false},
    };
    return states;
}

bool BusyState::TryBegin() {
    if (busy_) return false;
    busy_ = true;
    closeRequested_ = false;
    return true;
}

bool BusyState::End() {
    busy_ = false;
    const bool close = closeRequested_;
    closeRequested_ = false;
    return close;
}

BusyState::CloseDecision BusyState::RequestClose() {
    if (!busy_) return CloseDecision::CloseNow;
    closeRequested_ = true;
    return CloseDecision::CancelThenClose;
}

}  // namespace zu
