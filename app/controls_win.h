// Small helpers for the child controls of the program's windows.
#pragma once

#include <windows.h>

#include <string>

namespace quillet {

// A visible child control with an id.
HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 RECT at, DWORD exStyle = 0);

// A panel: a child that paints itself with `brush` (the button face when
// null) and hands its children's notifications to its top-level window.
HWND CreatePanel(HWND parent, int id, RECT at, DWORD style, DWORD exStyle = 0,
                 HBRUSH brush = nullptr);

std::wstring WindowText(HWND window);

}  // namespace quillet
