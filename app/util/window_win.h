// The base of every window of the program: one window procedure that finds
// the C++ object, keeps exceptions out of the system's code, and one
// message loop for the program and its windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <new>

namespace quillet {

// What a message answers when its handler failed: the value that means
// "handled, nothing more to do", never the default processing (a close that
// failed half-way must not go on to destroy the window).
LRESULT HandledValue(UINT msg);

// Runs a message handler; an exception it throws ends the handler and
// the message is answered as handled.
template <class Handler>
LRESULT GuardMessage(UINT msg, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        return HandledValue(msg);
    }
}

// The subclass procedure of a control whose messages go to
// `owner->*Handler`, guarded like a window procedure; it ends with the control.
template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM, UINT_PTR)>
LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR owner) {
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &SubclassProcedure<Owner, Handler>, id);
    return GuardMessage(
        msg, [&] { return (reinterpret_cast<Owner*>(owner)->*Handler)(hwnd, msg, wp, lp, id); });
}

template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM, UINT_PTR)>
void SubclassControl(HWND control, Owner* owner, UINT_PTR id = 0) {
    ::SetWindowSubclass(control, &SubclassProcedure<Owner, Handler>, id,
                        reinterpret_cast<DWORD_PTR>(owner));
}

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
    // CreateWindowExW with this object as the window's owner.
    HWND CreateAs(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  RECT at, HWND parent, HMENU menu, HINSTANCE instance);
    // Destroys the window now, if there is one.
    void Destroy();

    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// The program's message loop until WM_QUIT; returns its exit code. A window
// with WS_EX_CONTROLPARENT gets dialog keyboard handling (Tab, arrows).
int RunMessageLoop();
// Handles the messages waiting now, then returns; a WM_QUIT met on the way
// is posted again for the main loop to see. False when it met one.
bool PumpWaitingMessages();

}  // namespace quillet
