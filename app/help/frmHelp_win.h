// The help window: ten topic buttons, the topic's text, the mail link and
// the maker's logo. Its decisions are HelpForm's.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "base/handles_win.h"
#include "help/help_form.h"
#include "help/link_label_win.h"
#include "help/link_window_win.h"

namespace quillet {

inline constexpr wchar_t kHelpWindowClass[] = L"QuilletProHelp";
inline constexpr wchar_t kHelpCaption[] = L"Quillet Pro - Help";
// Background of the topic's text.
inline constexpr COLORREF kHelpTextBackground = RGB(255, 255, 220);

// An open window keeps its topic when shown again.
class frmHelp final : public LinkWindow, public HelpView {
  public:
    frmHelp(HINSTANCE instance, InfoContext& main, Shell& shell);
    // Gone with the program: no unload handler runs.
    ~frmHelp() override { DestroyQuietly(); }

    HelpForm& Logic() { return logic_; }
    COLORREF MailColour() const { return mail_.Colour(); }

    // HelpView
    void SetTopicText(std::wstring_view text) override;
    void SetTopicBold(int topic, bool bold) override;
    void SetMailColour(unsigned colour) override;
    void SetTopMost(bool onTop) override { MakeTopMost(onTop); }

  private:
    LinkForm& Form() override { return logic_; }
    HWND CreateControls() override;
    void OnCommand(int id, int code) override;
    LRESULT OnColour(HDC dc, HWND control) override;

    HelpForm logic_;
    UniqueFont bold_;
    UniqueBrush textBackground_;
    std::array<HWND, kHelpTopicCount> buttons_{};
    HWND txtHelp_ = nullptr;
    LinkLabel mail_;
};

}  // namespace quillet
