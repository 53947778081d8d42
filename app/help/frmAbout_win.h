// The About window: the version, the maker's credit line, the mail and web
// links. Its decisions are AboutForm's.
#pragma once

#include <windows.h>

#include <string_view>

#include "base/handles_win.h"
#include "help/about_form.h"
#include "help/link_label_win.h"
#include "help/link_window_win.h"

namespace quillet {

inline constexpr wchar_t kAboutWindowClass[] = L"QuilletProAbout";
inline constexpr wchar_t kAboutCaption[] = L"Quillet Pro - About";

class frmAbout final : public LinkWindow, public AboutView {
  public:
    frmAbout(HINSTANCE instance, InfoContext& main, Shell& shell);
    // Gone with the program: no unload handler runs.
    ~frmAbout() override { DestroyQuietly(); }

    AboutForm& Logic() { return logic_; }
    LinkColours Colours() const { return {mail_.Colour(), web_.Colour()}; }

    // AboutView
    void SetVersionText(std::wstring_view text) override;
    void SetLinkColours(LinkColours colours) override;
    void SetTopMost(bool onTop) override { MakeTopMost(onTop); }

  private:
    LinkForm& Form() override { return logic_; }
    HWND CreateControls() override;
    void OnCommand(int id, int code) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;

    AboutForm logic_;
    UniqueFont title_;
    HWND version_ = nullptr;
    LinkLabel mail_, web_;
};

}  // namespace quillet
