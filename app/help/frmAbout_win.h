// The About window: the version, the maker's credit line, the mail and web
// links. Its decisions are AboutForm's.
#pragma once

#include <windows.h>

#include <string_view>

#include "help/about_form.h"
#include "help/link_label_win.h"
#include "util/handles_win.h"
#include "util/window_win.h"

namespace quillet {

inline constexpr wchar_t kAboutWindowClass[] = L"QuilletProAbout";
inline constexpr wchar_t kAboutCaption[] = L"Quillet Pro - About";

class frmAbout final : public FixedWindow, public AboutView {
  public:
    frmAbout(HINSTANCE instance, MainForm& main, Shell& shell)
        : instance_(instance), logic_(*this, main, shell) {}
    // Gone with the program: no unload handler runs.
    ~frmAbout() override;

    // Loads the window when it is not open, then shows it in front.
    void Show();
    // Unloads the window if it is open.
    void Close();

    AboutForm& Logic() { return logic_; }
    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }
    LinkColours Colours() const { return {mail_.Colour(), web_.Colour()}; }

    // AboutView
    void SetVersionText(std::wstring_view text) override;
    void SetLinkColours(LinkColours colours) override;
    void SetTopMost(bool onTop) override;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Load() override;
    void CreateControls();
    void OnCommand(int id, int code);
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    HINSTANCE instance_;
    AboutForm logic_;
    bool quiet_ = false;  // destroyed without the unload handler
    UniqueFont font_, title_, link_;
    HWND version_ = nullptr;
    LinkLabel mail_, web_;
};

}  // namespace quillet
