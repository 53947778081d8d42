// Small helpers for the child controls of the program's windows.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles_win.h"

namespace quillet {

// A visible child control with an id.
HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 RECT at, DWORD exStyle = 0);

// A panel: a child that paints itself with `brush` (the button face when
// null) and hands its children's notifications to its top-level window.
HWND CreatePanel(HWND parent, int id, RECT at, DWORD style, DWORD exStyle = 0,
                 HBRUSH brush = nullptr);

std::wstring WindowText(HWND window);

// The tooltips of one window's controls. Until Create they are not there
// and adding one does nothing.
// The tips of the program's controls, told of mouse moves by the message
// loop: a tip that subclasses each tool costs window-property server calls
// on every message of the tool under Wine.
class Tooltips {
  public:
    Tooltips() = default;
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;
    ~Tooltips();
    void Create(HWND owner);
    explicit operator bool() const { return static_cast<bool>(window_); }
    void Add(HWND control, const std::wstring& text);
    // `text` must live as long as the tip shows it.
    void Update(HWND control, const std::wstring& text);

  private:
    // A message about the tool `control`, whose tip is `text`.
    void Send(UINT message, HWND control, const std::wstring& text);

    HWND owner_ = nullptr;
    UniqueWindow window_;
};

}  // namespace quillet
