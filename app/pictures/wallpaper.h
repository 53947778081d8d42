// What Set as Wallpaper needs of the desktop: the seam between the picture
// commands and the system, faked in the tests.
#pragma once

#include <string>

#include "store/filesystem.h"

namespace quillet {

class Wallpaper {
  public:
    virtual ~Wallpaper() = default;
    // Makes the bitmap file the desktop wallpaper; `persist` records it in
    // the user's profile as well and tells the other programs. The system's
    // reason when it refuses.
    virtual IoResult SetWallpaper(const std::wstring& path, bool persist) = 0;
    // The user's local application data folder, for a wallpaper file the
    // drive root refuses; empty when the system cannot say.
    virtual std::wstring LocalDataFolder() = 0;
};

}  // namespace quillet
