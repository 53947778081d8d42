// Set as Wallpaper's system call, and where its file goes when the drive
// root refuses it.
#include "pictures/wallpaper_win.h"

#include <windows.h>

#include "base/strings_win.h"
#include "util/known_folder_win.h"

namespace quillet {

// The wide call: a path outside the ANSI code page would otherwise come out
// as question marks. The style (centred, tiled) stays the user's.
IoResult DesktopWallpaper::SetWallpaper(const std::wstring& path, bool persist) {
    const UINT flags = persist ? SPIF_UPDATEINIFILE | SPIF_SENDCHANGE : 0;
    if (::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()), flags))
        return IoResult::Success();
    const DWORD error = ::GetLastError();
    return IoResult::Failure(error ? SystemMessage(error)
                                   : std::wstring(L"The system gave no reason."));
}

std::wstring DesktopWallpaper::LocalDataFolder() {
    return KnownFolder(FOLDERID_LocalAppData);
}

}  // namespace quillet
