// The desktop wallpaper through the system's parameters.
#pragma once

#include "pictures/wallpaper.h"

namespace quillet {

class DesktopWallpaper final : public Wallpaper {
  public:
    IoResult SetWallpaper(const std::wstring& path, bool persist) override;
    std::wstring LocalDataFolder() override;
};

}  // namespace quillet
