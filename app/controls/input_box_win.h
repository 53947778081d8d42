// A small modal window that asks for one line of text: a prompt, an edit
// box, OK and Cancel. Windows has no ready-made one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "main_view.h"

namespace quillet {

class InputBoxWindow final : public Window, public InputBox {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    ~InputBoxWindow() override { Destroy(); }

    // The text as typed (blanks too) on OK or Enter; nothing on Cancel,
    // Escape or closing the box.
    std::optional<std::wstring> Ask(std::wstring_view title, std::wstring_view prompt) override;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Finish(bool ok);

    HWND owner_ = nullptr;
    HWND edit_ = nullptr;
    UniqueFont font_;
    bool done_ = false;
    std::optional<std::wstring> answer_;
};

}  // namespace quillet
