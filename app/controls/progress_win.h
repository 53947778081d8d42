// The small window that shows ten blocks while something long loads.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "base/window_win.h"
#include "main_view.h"

namespace quillet {

class ProgressWindow final : public Window, public ProgressView {
  public:
    // Where the window shows (screen pixels) and its font, which stays the
    // owner's; asked each time it shows, as both follow the owner's DPI.
    struct Placement {
        RECT at;
        HFONT font;
    };

    ~ProgressWindow() override { Destroy(); }
    void Attach(HINSTANCE instance, HWND owner, std::function<Placement()> place);

    // Shown above every other window, without taking the focus.
    void ShowProgress(std::wstring_view caption, std::wstring_view label) override;
    void ShowProgressBlock(int blocks) override;
    void SetProgressLabel(std::wstring_view label) override;
    void CloseProgress() override { Destroy(); }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint();

    HINSTANCE instance_ = nullptr;
    HWND owner_ = nullptr;
    std::function<Placement()> place_;
    std::wstring label_;
    int blocks_ = 0;
    HFONT font_ = nullptr;
};

}  // namespace quillet
