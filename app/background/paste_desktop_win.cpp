// Ctrl+V into the foreground window through SendInput, and which window that
// is: never one of the program's own.
#include "background/paste_desktop_win.h"

#include <dwmapi.h>

#include <cwchar>
#include <iterator>

#include "base/system_library_win.h"

namespace quillet {

namespace {

// How long a window given the foreground may take to have the keyboard.
constexpr ULONGLONG kActivationBound = 500;
constexpr DWORD kActivationPoll = 2;

bool Ours(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId();
}

bool ClassIs(HWND window, const wchar_t* const* names, size_t count) {
    wchar_t name[64] = {};
    if (!::GetClassNameW(window, name, static_cast<int>(std::size(name)))) return false;
    for (size_t i = 0; i < count; ++i)
        if (std::wcscmp(name, names[i]) == 0) return true;
    return false;
}

// The taskbar and its overflow area, and Wine's tray window where no
// taskbar runs: a click on the icon may activate them.
bool IsTaskbar(HWND window) {
    static const wchar_t* const kNames[] = {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd",
                                            L"NotifyIconOverflowWindow",
                                            L"__winex11_standalone_tray"};
    return ClassIs(window, kNames, std::size(kNames));
}

bool IsDesktop(HWND window) {
    static const wchar_t* const kNames[] = {L"Progman", L"WorkerW"};
    return ClassIs(window, kNames, std::size(kNames));
}

// Windows the shell keeps from the screen while they count as visible: a
// suspended app's frame, a window on another virtual desktop.
bool IsCloaked(HWND window) {
    static const SystemLibrary dwm(L"dwmapi.dll");
    static const auto attribute =
        dwm.Function<decltype(&::DwmGetWindowAttribute)>("DwmGetWindowAttribute");
    DWORD cloaked = 0;
    return attribute &&
           SUCCEEDED(attribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked;
}

// The window a user would call the one they were working in: the highest
// in the Z order that can take keys and is neither the shell nor ours.
HWND WindowUnderTaskbar() {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(w) || ::IsIconic(w) || !::IsWindowEnabled(w) || Ours(w)) continue;
        if (IsCloaked(w)) continue;
        const LONG_PTR ex = ::GetWindowLongPtrW(w, GWL_EXSTYLE);
        if (ex & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) continue;
        if (IsTaskbar(w) || IsDesktop(w)) continue;
        return w;
    }
    return nullptr;
}

bool Down(int key) {
    return (static_cast<unsigned short>(::GetAsyncKeyState(key)) & 0x8000) != 0;
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // Some programs read the scan code rather than the virtual key.
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

PasteDesktop::Foreground SystemPasteDesktop::Active() const {
    const HWND front = ::GetForegroundWindow();
    if (!front) return Foreground::kNone;
    return Ours(front) ? Foreground::kOurs : Foreground::kOther;
}

// Shift and the Windows keys count too: with either down Ctrl+V means
// something else over there.
bool SystemPasteDesktop::ModifiersHeld() const {
    for (const int key : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN, VK_RWIN})
        if (Down(key)) return true;
    return false;
}

void SystemPasteDesktop::SendPaste() {
    INPUT keys[] = {Key(VK_CONTROL, false), Key('V', false), Key('V', true), Key(VK_CONTROL, true)};
    ::SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof(INPUT));
}

// The window's own thread activates it some time after the call; keys sent
// before that find no focus there (Wine drops them).
bool SystemPasteDesktop::ReturnToWindowBeforeMenu() {
    const HWND target = beforeMenu_;
    beforeMenu_ = nullptr;
    if (!target || !::IsWindow(target) || Ours(target)) return false;
    if (!::SetForegroundWindow(target)) return false;
    const DWORD thread = ::GetWindowThreadProcessId(target, nullptr);
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (::GetGUIThreadInfo(thread, &info) && info.hwndActive == target && info.hwndFocus)
            return true;
        if (::GetTickCount64() - start > kActivationBound) return false;
        ::Sleep(kActivationPoll);
    }
}

int64_t SystemPasteDesktop::Milliseconds() const {
    return static_cast<int64_t>(::GetTickCount64());
}

void SystemPasteDesktop::Pause(int milliseconds) {
    ::Sleep(static_cast<DWORD>(milliseconds));
}

// The hotkeys' window is this thread's, so their presses wait in its queue.
void SystemPasteDesktop::ForgetWaitingPresses() {
    MSG press;
    while (::PeekMessageW(&press, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }
}

// A click on the icon may have made the taskbar the foreground window; the
// user's window is then the one just below it.
void SystemPasteDesktop::NoteMenuOpening() {
    HWND front = ::GetForegroundWindow();
    if (front && IsTaskbar(front)) front = WindowUnderTaskbar();
    beforeMenu_ = front && !Ours(front) && !IsDesktop(front) ? front : nullptr;
}

}  // namespace quillet
