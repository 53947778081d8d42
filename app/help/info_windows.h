// What the program needs of its help and About windows.
#pragma once

namespace quillet {

class InfoWindows {
  public:
    virtual ~InfoWindows() = default;
    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    // Closes whichever of them is open.
    virtual void CloseAll() = 0;
};

}  // namespace quillet
