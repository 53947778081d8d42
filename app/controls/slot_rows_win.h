// The ten slot rows of the main window: title box, Copy button, text box,
// Paste button and number, with what the commands read and change of them.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/handles_win.h"
#include "controls/controls_win.h"
#include "controls/copy_button_win.h"
#include "layout.h"
#include "main_view.h"
#include "controls/slot_box_win.h"

namespace quillet {

class SlotRows final : public SlotRowsView {
  public:
    using Place = std::function<RECT(const TwipsRect&)>;
    using BoxClick = std::function<void(BoxRef::Kind)>;

    void Create(HWND parent, const std::array<RowRects, 10>& rows, const Place& place, HFONT font,
                HFONT numberFont, const std::function<DragOffer(int)>& copyPress, BoxClick onClick);
    void AddTips(Tooltips& tips) const;
    // Moves every control through `move`, which says whether the control's
    // size changes. True when a text box waits for ShowWholeTexts.
    bool LayOut(const std::array<RowRects, 10>& rows,
                const std::function<bool(HWND, const TwipsRect&)>& move);
    // The whole texts the boxes left while the window was being sized.
    void ShowWholeTexts();

    HWND TextBox(int slot) const { return txt_[slot].hwnd(); }
    HWND PasteButton(int slot) const { return picPaste_[slot]; }
    // A click of a Copy button whose mouse press has copied already.
    bool CopiedAtPress(int slot) const { return copy_[slot].InMouseRelease(); }
    void PressCopy(int slot) { copy_[slot].Press(); }
    // A text change the program made, not the user.
    bool ChangingQuietly(int slot) const { return txt_[slot].ChangingQuietly(); }
    void ShowTexts(bool shown) const;
    // The Copy and Paste buttons, which a printed page leaves out.
    void ShowButtons(bool shown);
    bool ButtonsShown() const { return buttonsShown_; }
    COLORREF TitleColour() const { return titleColour_; }
    COLORREF TextColour() const { return textColour_; }

    // SlotRowsView
    std::wstring Text(int slot) const override { return txt_[slot].Text(); }
    void SetText(int slot, std::wstring_view text) override { txt_[slot].SetText(text); }
    std::wstring Title(int slot) const override { return WindowText(txtTitle_[slot]); }
    void SetTitle(int slot, std::wstring_view title) override;
    void SetColours(unsigned titleBackground, unsigned textBackground) override;
    std::optional<BoxRef> ActiveBox() const override;
    std::wstring SelectedText(BoxRef box) const override;
    void ReplaceSelection(BoxRef box, std::wstring_view text) override;
    void SelectAll(BoxRef box) override;
    void Select(BoxRef box, size_t start, size_t length) override;

    // WM_CTLCOLOREDIT of a box: its brush, or null for other controls.
    HBRUSH Colour(HDC dc, HWND control) const;

  private:
    LRESULT OnTitleMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
    HWND Box(BoxRef box) const;

    std::array<HWND, 10> txtTitle_{}, picPaste_{}, label1_{};
    std::array<SlotTextBox, 10> txt_;
    std::array<CopyButton, 10> copy_;
    BoxClick onClick_;
    bool buttonsShown_ = true;
    COLORREF titleColour_ = RGB(255, 255, 255), textColour_ = RGB(255, 255, 255);
    UniqueBrush titleBrush_, textBrush_;
};

}  // namespace quillet
