// A slot's Copy button. A mouse press copies at once; only when the mouse
// then moves past the drag threshold does a drag of what the press offered
// start, so clicks, posted presses and the keyboard never wait in a drag loop.
#pragma once

#include <windows.h>

#include <functional>

#include "drop_content.h"

namespace quillet {

class CopyButton {
  public:
    using PressHandler = std::function<DragOffer()>;

    CopyButton() = default;
    CopyButton(const CopyButton&) = delete;
    CopyButton& operator=(const CopyButton&) = delete;

    void Attach(HWND button, PressHandler onPress);
    HWND hwnd() const { return hwnd_; }

    // The press as a click of the mouse makes it.
    void Press();
    // True while the button handles a mouse release: its click has copied
    // already, at the press.
    bool InMouseRelease() const { return inMouseRelease_; }

  private:
    LRESULT OnMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    bool PastDragThreshold(LPARAM lp) const;

    HWND hwnd_ = nullptr;
    PressHandler onPress_;
    bool pressed_ = false;
    POINT pressPoint_{};
    DragOffer offer_;
    bool inMouseRelease_ = false;
};

}  // namespace quillet
