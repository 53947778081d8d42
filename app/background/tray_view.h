// What the program needs of its icon in the notification area.
#pragma once

#include <string_view>

namespace quillet {

class TrayView {
  public:
    virtual ~TrayView() = default;
    // Adds the icon with its tip; false when the shell refused it.
    virtual bool CreateIcon(std::wstring_view tip) = 0;
    virtual void DeleteIcon() = 0;
};

}  // namespace quillet
