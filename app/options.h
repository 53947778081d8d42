// The user's choices from the Options menu, as the program holds them while
// it runs; the menu's check marks are drawn from here and never read back.
#pragma once

#include <cstdint>

namespace quillet {

struct Options {
    bool autoRun = false;      // "AutoRun" is "1"
    bool startInTray = false;  // "StartTray" is "1"
    bool hotkeys = false;      // "Hotkeys" is anything but "0"
    int16_t mirror = 0;        // "Mirror" as a number: checked at 1, mirrored when not 0
    bool stayOnTop = false;    // "MainOnTop" is "1" once settings were stored
    bool autoSave = false;     // "AutoSave" is "1"
    bool sounds = true;        // "Sounds" is anything but "0"
};

}  // namespace quillet
