// Which controls of the main window are enabled, by situation.
#pragma once

#include <cstddef>
#include <vector>

namespace zu {

enum class MainControl {
    Scan,
    DeviceList,
    AdapterSelect,
    UpdateUc1,
    UpdateUc2,
    UpdateUc3,
    UpdateHmi,
    Cancel,
};

struct ControlEnable {
    MainControl control;
    bool enabled;
};

// The action buttons after SetEnableButtons. With enable true and no device
// listed nothing changes (empty result). selectedType is the device type of
// the selected device (1…6).
std::vector<ControlEnable> ActionButtonStates(bool enable, std::size_t deviceCount, int selectedType);

// While an operation runs: nothing that starts another one, only Cancel.
const std::vector<ControlEnable>& BusyControlStates();

// When it has ended: the controls that only the busy state disables come
// back; the action buttons then follow ActionButtonStates(true, …).
const std::vector<ControlEnable>& IdleControlStates();

// One long operation at a time. Window handlers still run during an
// operation (it pumps messages), so starting and closing are checked here.
class BusyState {
public:
    enum class CloseDecision { CloseNow, CancelThenClose };

    bool TryBegin();
    // Ends the operation; true when a close was asked for meanwhile.
    bool End();
    CloseDecision RequestClose();
    bool Busy() const { return busy_; }

private:
    bool busy_ = false;
    bool closeRequested_ = false;
};

}  // namespace zu
