// What the main window's logic needs to start and end its hotkeys: the
// component, made on demand, and the keyboard layout.
#pragma once

#include <cstdint>
#include <functional>

#include "background/hotkeys.h"

namespace quillet {

class HotkeyHost {
  public:
    virtual ~HotkeyHost() = default;
    // The component, with presses going to `onPress`; null when it cannot
    // be made (not installed, not registered, no library beside the program).
    virtual HotkeyService* StartHotkeys(std::function<void(int32_t id)> onPress) = 0;
    // Lets go of the component, which frees every combination.
    virtual void StopHotkeys() = 0;
    virtual KeyboardLayout& Layout() = 0;
};

}  // namespace quillet
