// The hidden window of each HotKey object, and the hook that turns its
// WM_HOTKEY messages into the object's HotKeyPress event.
#pragma once

#include <windows.h>

namespace tarnkey {

class HotKey;

// A never-shown window titled "Form1"; its user-data slot holds `owner`.
HWND CreateSubclassForm(HotKey* owner);

bool Subclass(HWND hwnd);
bool UnSubclass(HWND hwnd);

}  // namespace tarnkey
