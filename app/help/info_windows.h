// What the program needs of its help and About windows.
#pragma once

#include "owned_window.h"

namespace quillet {

class InfoWindows {
  public:
    virtual ~InfoWindows() = default;
    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    // Closes whichever of them is open.
    virtual void CloseAll() = 0;
};

// What the help and About windows ask of the program.
class InfoContext : public OwnedWindowContext {
  public:
    // Puts the main window on top again, or not, as the user chose.
    virtual void ApplyMainOnTop() = 0;
};

}  // namespace quillet
