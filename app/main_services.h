// What the main window's logic is built over besides its own view: the
// desktop's services and the program's other windows.
#pragma once

#include "background/hotkey_host.h"
#include "background/tray_view.h"
#include "help/info_windows.h"
#include "pictures/preview_view.h"
#include "pictures/wallpaper.h"
#include "print/printer.h"
#include "prompt.h"
#include "util/ModuleIP.h"
#include "util/auto_run.h"
#include "util/shell_launch.h"

namespace quillet {

struct Desktop {
    const KeyState& keys;
    RegionalClock& clock;
    Shell& shell;
    HostResolver& resolver;
    AutoRunEntries& autoRun;
    HotkeyHost& hotkeys;
    Wallpaper& wallpaper;
};

// Each may be made when it is first shown.
struct SecondaryWindows {
    TrayView& tray;
    PreviewView& preview;
    Printer& printer;
    InfoWindows& info;
    InputBox& input;
};

}  // namespace quillet
