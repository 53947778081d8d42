// The DPI a window is shown at, and moving a window's children and fonts
// from one DPI to another. The calls that know a DPI per window arrived with
// Windows 10; earlier systems get the system DPI.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "base/handles_win.h"

namespace quillet {

int SystemDpi();
int WindowDpi(HWND window);
int SystemMetricForDpi(int index, int dpi);
// AdjustWindowRectEx for a window shown at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// The system's message font as it is drawn at `dpi`.
LOGFONTW MessageFontForDpi(int dpi);
// Gives the window its icons of the sizes the system draws at `dpi`. Shared
// icons are loaded once in one size, so these are the caller's to keep while
// the window shows them.
struct WindowIcons {
    UniqueIcon smallIcon, bigIcon;
};
WindowIcons SetWindowIconsForDpi(HWND window, HINSTANCE instance, int iconId, int dpi);

// Gives every descendant of a window that uses one of `fonts`' old handles
// the new one, without repainting; the caller repaints once.
void ReplaceFonts(HWND window, const std::vector<std::pair<HFONT, HFONT>>& fonts);

// A window's descendants placed and given fonts again at another DPI, each
// from where it was and what it had at the DPI first seen, so moving back
// and forth between monitors never drifts by rounding.
class ChildScaler {
  public:
    void Rescale(HWND window, int fromDpi, int toDpi);
    // A font the window made for the first DPI, as it is drawn at the
    // current one; owned here.
    HFONT Scaled(HFONT original);

  private:
    struct Child {
        HWND hwnd;
        RECT at;  // in its parent, at baseDpi_
    };

    int baseDpi_ = 0, dpi_ = 0;
    std::vector<Child> children_;
    std::vector<std::pair<HFONT, UniqueFont>> fonts_;  // originals and their scaled copies
};

}  // namespace quillet
