// A slot's text box. Filling an edit control with a long text takes long
// (word wrap is quadratic in a paragraph's length under Wine), so a box not
// in use may show only the beginning of its text and takes the whole text
// the moment the user reaches for it, or once the program is idle. Reads
// always answer with the whole.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "layout.h"

namespace quillet {

class SlotTextBox {
  public:
    SlotTextBox() = default;
    SlotTextBox(const SlotTextBox&) = delete;
    SlotTextBox& operator=(const SlotTextBox&) = delete;

    // `onClick` runs after the box has handled a release of the left button.
    void Attach(HWND edit, std::function<void()> onClick);
    HWND hwnd() const { return hwnd_; }

    std::wstring Text() const;
    void SetText(std::wstring_view text);
    void ReplaceSelection(std::wstring_view text);
    // Each width change re-wraps the whole text of a box. A box the user
    // has not touched since the program filled it (not focused, nothing to
    // undo, nothing selected, not scrolled) shows the beginning of a long
    // text again instead, as a new text would. True while it waits for
    // ShowWholeTextIfDue to take the whole text back.
    bool ShowBeginningWhileSizing();
    void ShowWholeTextIfDue();
    // While the program itself changes the text: its change notifications
    // are not the user's edits.
    bool ChangingQuietly() const { return quiet_ > 0; }

  private:
    LRESULT OnMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    bool Scrolls() const;
    size_t ShownLines() const;
    void Show(std::wstring_view text, const std::optional<Deferral>& deferral);
    void Fill(std::wstring_view text);
    void ShowWholeText();
    LRESULT AnswerWholeText(UINT msg, WPARAM wp, LPARAM lp) const;

    HWND hwnd_ = nullptr;
    std::optional<std::wstring> whole_;  // set while only a beginning shows
    bool wholeWhenIdle_ = false;
    int quiet_ = 0;
    std::function<void()> onClick_;
};

}  // namespace quillet
