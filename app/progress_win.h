// The small window that shows ten blocks while something long loads.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "util/window_win.h"

namespace quillet {

class ProgressWindow final : public Window {
  public:
    ~ProgressWindow() override { Destroy(); }

    // Shows the window at `at` (screen pixels) above every other window,
    // without taking the focus; `font` stays the caller's.
    void Show(HINSTANCE instance, HWND owner, RECT at, std::wstring_view caption,
              std::wstring_view label, HFONT font);
    void SetBlocks(int blocks);  // 0 ... 10
    void SetLabel(std::wstring_view label);
    void Close() { Destroy(); }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint();

    std::wstring label_;
    int blocks_ = 0;
    HFONT font_ = nullptr;
};

}  // namespace quillet
