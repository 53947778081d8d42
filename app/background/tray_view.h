// What the program needs of its icon in the notification area.
#pragma once

#include <string_view>

#include "background/ModuleTray.h"

namespace quillet {

class TrayView {
  public:
    virtual ~TrayView() = default;
    // Adds the icon with its tip; false when the shell refused it.
    virtual bool CreateIcon(std::wstring_view tip) = 0;
    virtual void DeleteIcon() = 0;
    // Pops the menu up where the mouse is; a choice comes back as the menu
    // command of its item.
    virtual void ShowMenu(const TrayMenu& menu) = 0;
};

}  // namespace quillet
