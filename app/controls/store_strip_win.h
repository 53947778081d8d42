// The strip of sixteen store labels above the slots: "P", "1" ... "15", the
// current one bold, underlined and red, each with its store's caption as tip.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "base/handles_win.h"
#include "controls/controls_win.h"

namespace quillet {

class StoreStrip {
  public:
    // `labels` are the labels' places inside the strip, in pixels.
    void Create(HWND parent, RECT at, const std::array<RECT, 16>& labels, HFONT font);
    HWND Panel() const { return panel_; }
    // Places the strip and its labels again and gives them `font` (another DPI).
    void Rescale(RECT at, const std::array<RECT, 16>& labels, HFONT font);
    HWND Label(int store) const { return labels_[store]; }
    void AddTips(Tooltips& tips);
    void SetTip(Tooltips& tips, int store, std::wstring_view tip);
    void Mark(int store, bool current);
    // WM_CTLCOLORSTATIC of a label: its brush, or null for other controls.
    HBRUSH Colour(HDC dc, HWND control) const;

  private:
    HWND panel_ = nullptr;
    std::array<HWND, 16> labels_{};
    std::array<bool, 16> current_{};
    std::array<std::wstring, 16> tips_;
    HFONT font_ = nullptr;
    UniqueFont currentFont_;
    UniqueBrush brush_;
};

}  // namespace quillet
