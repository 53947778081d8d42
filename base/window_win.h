// The base of every window of the program: one window procedure that finds
// the C++ object, keeps exceptions out of the system's code, and one
// message loop for the program and its windows.
#pragma once

#include <windows.h>

#include "base/dpi_win.h"
#include "base/guard_win.h"

namespace quillet {

// A control whose messages go to an owner's handler, guarded like a window
// procedure, until the control ends. The control's own procedure is replaced
// rather than chained through SetWindowSubclass, whose window-property lookups
// cost a server round trip per message under Wine. One owner per control.
using ControlHandler = LRESULT (*)(void* owner, HWND, UINT, WPARAM, LPARAM, UINT_PTR id);
bool SubclassControlWith(HWND control, void* owner, UINT_PTR id, ControlHandler handler);
// The control's own procedure: what a handler leaves to the control.
LRESULT CallControlDefault(HWND control, UINT msg, WPARAM wp, LPARAM lp);

template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM, UINT_PTR)>
bool SubclassControl(HWND control, Owner* owner, UINT_PTR id = 0) {
    return SubclassControlWith(control, owner, id,
                               [](void* o, HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR i) {
                                   return (static_cast<Owner*>(o)->*Handler)(h, m, w, l, i);
                               });
}

// Windows that want every mouse message the message loop dispatches (a
// tooltip told of its tools' mouse moves by relaying instead of by
// subclassing each tool). Registered while they exist.
void AddMouseRelay(HWND relay);
void RemoveMouseRelay(HWND relay);

// A top-level window's keyboard shortcuts: the message loop turns the keys of
// `table` into WM_COMMAND for `root` while it or a child of it has the focus.
// A null table takes them away.
void SetAccelerators(HWND root, HACCEL table);

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

  protected:
    // Registers a class whose windows are served by this base; the class
    // name is the one to pass to CreateAs. Registering twice is harmless.
    static void RegisterClassOf(WNDCLASSEXW wc);
    // The same for a window drawn in the button face, as dialogs are.
    static void RegisterFaceClass(HINSTANCE instance, const wchar_t* className,
                                  LPCWSTR cursor = IDC_ARROW, HICON icon = nullptr);
    // CreateWindowExW with this object as the window's owner.
    HWND CreateAs(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  RECT at, HWND parent, HMENU menu, HINSTANCE instance);
    // For a window just made with the layout of `dpi`: when the monitor it
    // opened on has another DPI, it is rescaled as if it had moved there.
    void MatchMonitorDpi(int dpi);
    // Moves and sizes the window to `r` (screen pixels) without activating it.
    void PlaceAt(const RECT& r);
    // A font made for the DPI the window was laid out at, as it is drawn now:
    // for fonts the window gives its controls after it was made.
    HFONT FontAtDpi(HFONT designed) { return children_.Scaled(designed); }
    // Destroys the window now, if there is one.
    void Destroy();

    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    // The window was moved to a monitor of another DPI; `suggested` is where
    // the system proposes it goes. By default the children keep their places
    // and fonts in proportion; windows that lay themselves out do it again.
    virtual void OnDpiChanged(int fromDpi, int toDpi, const RECT& suggested);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    int shownDpi_ = 0;  // as last told by the system; 0 until a change
    ChildScaler children_;
};

// A window laid out in pixels at 96 DPI and made at the system's, in the
// middle of the work area, the first time it is shown.
class FixedWindow : public Window {
  protected:
    // Makes the window (Load) when it is not open, then shows it in front.
    void ShowInFront();
    virtual void Load() = 0;
    // For Load: a window of the button face's colour with the program's icon
    // `icon` and a client area of `client` pixels at 96 DPI; its class
    // registered first. False when it could not be made.
    bool CreateCentred(HINSTANCE instance, const wchar_t* className, int icon, const wchar_t* title,
                       DWORD style, SIZE client);
    int Px(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    RECT At(int left, int top, int width, int height) const {
        return RECT{Px(left), Px(top), Px(left + width), Px(top + height)};
    }

  private:
    int dpi_ = 96;
};

// The program's message loop until WM_QUIT; returns its exit code. A window
// with WS_EX_CONTROLPARENT gets dialog keyboard handling (Tab, arrows).
int RunMessageLoop();
// Handles the messages waiting now, then returns; a WM_QUIT met on the way
// is posted again for the main loop to see. False when it met one.
bool PumpWaitingMessages();

}  // namespace quillet
