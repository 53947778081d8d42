// What the help and About windows share: a fixed, unowned window whose links
// turn red under the mouse and open on a click, with the hand over whatever
// opens something, unloaded by its close box and its Cancel.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "controls/controls_win.h"
#include "help/link_form.h"
#include "help/link_label_win.h"

namespace quillet {

// How a link window is made.
struct LinkWindowLook {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    SIZE client;  // pixels at 96 dots per inch
};

class LinkWindow : public FixedWindow {
  public:
    // Loads the window when it is not open, then shows it in front; an open
    // window stays as it is.
    void Show() { ShowInFront(); }
    // Unloads the window if it is open.
    void Close();

    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }

  protected:
    LinkWindow(HINSTANCE instance, const LinkWindowLook& look) : instance_(instance), look_(look) {}
    // For the derived window's destructor, while it is whole: the window
    // goes with the program, and no unload handler runs.
    void DestroyQuietly();

    HINSTANCE Instance() const { return instance_; }
    // The system's message font, and the window's controls' font made from it.
    static LOGFONTW MessageFont();
    HFONT TextFont() const { return font_.get(); }
    // A child control in `font`.
    HWND Child(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT at,
               HFONT font, DWORD exStyle = 0);
    // A label in the underlined link font that tells the logic when the
    // mouse moves over it or leaves it, as `link`.
    void CreateLink(LinkLabel& label, int id, std::wstring_view text, RECT at, Link link);
    // The hand also over this control, which opens something as a link does.
    void AddClickable(HWND control) { clickable_.push_back(control); }
    // A tip of one of the controls, there while the window is open.
    void AddTip(HWND control, const std::wstring& text);
    void MakeTopMost(bool onTop);

    // The colours of a static control that is no link.
    virtual LRESULT OnColour(HDC dc, HWND control);
    // Owner-drawn controls: the maker's logo unless the window says otherwise.
    virtual void OnDrawItem(const DRAWITEMSTRUCT& item);

  private:
    // The window's logic: a member of the derived window, so asked for
    // rather than handed to this base before it is made.
    virtual LinkForm& Form() = 0;
    // The window's own controls, made once it and its fonts are; the one
    // to have the focus.
    virtual HWND CreateControls() = 0;
    // Commands but Cancel, which closes every link window.
    virtual void OnCommand(int id, int code) = 0;

    void Load() final;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) final;
    bool Clickable(HWND control) const;

    HINSTANCE instance_;
    LinkWindowLook look_;
    bool quiet_ = false;  // destroyed without the unload handler
    UniqueFont font_, link_;
    std::vector<const LinkLabel*> links_;
    std::vector<HWND> clickable_;
    std::unique_ptr<Tooltips> tips_;  // while the window is open
};

}  // namespace quillet
