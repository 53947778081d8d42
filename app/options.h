// The user's choices from the Options menu, as the program holds them while
// it runs; the menu's check marks are drawn from here and never read back.
#pragma once

#include <cstdint>
#include <string_view>

#include "resource.h"

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

// The Options menu's on/off items: each is written as "1" or "0" the moment
// it changes, and its check mark follows. Mirror, a number, is apart.
struct OptionItem {
    int menuItem;
    std::string_view key;
    bool Options::*on;
};
inline constexpr OptionItem kOptionItems[] = {
    {IDM_AUTORUN, "AutoRun", &Options::autoRun},
    {IDM_STARTTRAY, "StartTray", &Options::startInTray},
    {IDM_HOTKEYS, "Hotkeys", &Options::hotkeys},
    {IDM_STAYTOP, "MainOnTop", &Options::stayOnTop},
    {IDM_AUTOSAVE, "AutoSave", &Options::autoSave},
    {IDM_SOUNDS, "Sounds", &Options::sounds},
};

}  // namespace quillet
