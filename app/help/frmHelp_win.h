// The help window: ten topic buttons, the topic's text, the mail link and
// the maker's logo. Its decisions are HelpForm's.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string_view>

#include "controls_win.h"
#include "help/help_form.h"
#include "help/link_label_win.h"
#include "util/handles_win.h"
#include "util/window_win.h"

namespace quillet {

inline constexpr wchar_t kHelpWindowClass[] = L"QuilletProHelp";
inline constexpr wchar_t kHelpCaption[] = L"Quillet Pro - Help";
// Background of the topic's text.
inline constexpr COLORREF kHelpTextBackground = RGB(255, 255, 220);

class frmHelp final : public FixedWindow, public HelpView {
  public:
    frmHelp(HINSTANCE instance, MainForm& main, Shell& shell)
        : instance_(instance), logic_(*this, main, shell) {}
    // Gone with the program: no unload handler runs.
    ~frmHelp() override;

    // Loads the window when it is not open, then shows it in front; an open
    // window keeps its topic.
    void Show();
    // Unloads the window if it is open.
    void Close();

    HelpForm& Logic() { return logic_; }
    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }
    COLORREF MailColour() const { return mail_.Colour(); }

    // HelpView
    void SetTopicText(std::wstring_view text) override;
    void SetTopicBold(int topic, bool bold) override;
    void SetMailColour(unsigned colour) override;
    void SetTopMost(bool onTop) override;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Load() override;
    void CreateControls();
    void OnCommand(int id, int code);
    LRESULT OnColour(HDC dc, HWND control);

    HINSTANCE instance_;
    HelpForm logic_;
    bool quiet_ = false;  // destroyed without the unload handler
    UniqueFont font_, bold_, link_;
    UniqueBrush textBackground_;
    std::array<HWND, kHelpTopicCount> buttons_{};
    HWND txtHelp_ = nullptr, picture1_ = nullptr;
    LinkLabel mail_;
    std::unique_ptr<Tooltips> tips_;  // while the window is open
};

}  // namespace quillet
