// From an injected Ctrl+Alt+F3 to the clipboard holding slot 3's text: the
// installed program with Hotkeys on against a bare program that registers
// the same combination and sets the same text on WM_HOTKEY: medians of 200
// presses, the middle of three rounds. Each program is timed once it is
// ready, holds the combination and has answered a first press, while a
// window of this program has the focus, as a user's other program would.
// Usage: hotkey_copy <program.exe>     the figure
//        hotkey_copy --bare <text>     the anchor program itself
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_util_win.h"
#include "hotkey_bench_win.h"

namespace {

using namespace quillet::bench;

constexpr int kPresses = 200;
constexpr int kRounds = 3;
constexpr wchar_t kSlotText[] = L"hotkey bench: slot three";
// Bounds on waits that end as soon as what they wait for is there.
constexpr DWORD kPressLimitMs = 10000;
constexpr ULONGLONG kStartLimitMs = 60000;

// The bench's own windows get their messages; the keys it presses are
// dropped, so that Alt never opens a menu here.
void Handle(const MSG& m) {
    if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST) ::DispatchMessageW(&m);
}

// Waits for the clipboard to be closed on a text (WM_CLIPBOARDUPDATE); false
// when none came within kPressLimitMs.
bool AwaitClipboardText(HWND listener) {
    ::SetTimer(listener, 1, kPressLimitMs, nullptr);
    bool came = false;
    MSG m;
    while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
        // A copy may empty the clipboard first and set its text after.
        if (m.message == WM_CLIPBOARDUPDATE && ::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
            came = true;
            break;
        }
        if (m.message == WM_TIMER && m.hwnd == listener) break;
        Handle(m);
    }
    ::KillTimer(listener, 1);
    return came;
}

void Drain() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) Handle(m);
}

// One press, untimed, until it has put slot 3's text on the clipboard: what
// a first press alone costs (the program's first clipboard use) stays out.
bool FirstPressArrives(HWND listener) {
    PutText(nullptr, L"before");
    Drain();
    PressChord({VK_CONTROL, VK_MENU, VK_F3});
    return AwaitClipboardText(listener) && ClipboardText() == kSlotText;
}

// Median milliseconds from the injected press to the clipboard being closed
// on a text; negative when a press brought nothing or the text is not
// slot 3's.
double MedianPressToClipboard(HWND listener) {
    bool lost = false;
    const double median = Median(
        kPresses,
        [&] {
            PutText(nullptr, L"before");
            Drain();
        },
        [&] {
            PressChord({VK_CONTROL, VK_MENU, VK_F3});
            if (!AwaitClipboardText(listener)) lost = true;
        });
    if (lost || ClipboardText() != kSlotText) return -1;
    return median;
}

struct Found {
    const wchar_t* cls;
    const wchar_t* property;
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindWindowOf(HWND w, LPARAM lp) {
    auto* found = reinterpret_cast<Found*>(lp);
    wchar_t cls[64] = {};
    DWORD process = 0;
    ::GetWindowThreadProcessId(w, &process);
    if (process != found->process || !::GetClassNameW(w, cls, 64) ||
        std::wcscmp(cls, found->cls) != 0 || (found->property && !::GetPropW(w, found->property)))
        return TRUE;
    found->window = w;
    return FALSE;
}

// Waits until `process` has a top-level window of `cls` with `property` set
// (any when null) whose start-up paints are done and that answers messages:
// the program's own window, not one of an instance left running.
bool WaitForOwnWindow(const Process& started, const wchar_t* cls, const wchar_t* property) {
    Found found{cls, property, started.info.dwProcessId, nullptr};
    const ULONGLONG end = ::GetTickCount64() + kStartLimitMs;
    for (;;) {
        ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&found));
        if (found.window) break;
        if (::GetTickCount64() > end ||
            ::WaitForSingleObject(started.info.hProcess, 50) == WAIT_OBJECT_0)
            return false;
    }
    const auto answers = [&] {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(found.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000,
                                     &ignored) != 0;
    };
    if (!answers()) return false;
    ::RedrawWindow(found.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return answers();
}

bool CombinationFree() {
    if (!::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F3)) return false;
    ::UnregisterHotKey(nullptr, 1);
    return true;
}

// Waits until Ctrl+Alt+F3 is held by someone (`held`) or by nobody.
bool WaitForCombination(bool held) {
    const ULONGLONG end = ::GetTickCount64() + kStartLimitMs;
    while (CombinationFree() == held) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(50);
    }
    return true;
}

// The window that has the focus while the keys are pressed.
bool TakeFocus(HWND focus) {
    const ULONGLONG end = ::GetTickCount64() + kStartLimitMs;
    while (::GetForegroundWindow() != focus) {
        if (::GetTickCount64() > end) return false;
        ::SetForegroundWindow(focus);
        ::SetFocus(focus);
        Drain();
        ::Sleep(50);
    }
    return true;
}

bool Fail(const char* what) {
    std::fprintf(stderr, "hotkey_copy: %s\n", what);
    return false;
}

// Starts `command` and times its presses once it is ready and holds the
// combination; false with a message otherwise.
bool TimeProgram(const std::wstring& command, const wchar_t* folder, const wchar_t* cls,
                 const wchar_t* property, HWND listener, HWND focus, double& median) {
    if (!WaitForCombination(false)) return Fail("Ctrl+Alt+F3 stays held by another program");
    Process started;
    if (!started.Start(command, folder) || !WaitForOwnWindow(started, cls, property))
        return Fail("a program did not start or get ready");
    if (!WaitForCombination(true)) return Fail("a program did not register Ctrl+Alt+F3");
    if (!TakeFocus(focus)) return Fail("the bench's window did not get the focus");
    if (!FirstPressArrives(listener)) return Fail("a first press did not reach the clipboard");
    median = MedianPressToClipboard(listener);
    return true;
}

// One round: the program's median, then the bare program's; false with a
// message when either did not start or lost a press.
bool Round(const std::wstring& program, HWND listener, HWND focus, double& ours,
           double& anchor) {
    if (!WriteHotkeySettings(L"", kSlotText)) {
        std::fprintf(stderr, "hotkey_copy: cannot write %ls\n", kSettingsFile);
        return false;
    }
    if (!TimeProgram(L"\"" + program + L"\"", FolderOf(program).c_str(), L"QuilletProMain",
                     L"QuilletPro.Ready", listener, focus, ours))
        return false;
    ::DeleteFileW(kSettingsFile);
    if (!TimeProgram(L"\"" + ThisProgram() + L"\" --bare \"" + kSlotText + L"\"", nullptr,
                     kBareHotkeyClass, nullptr, listener, focus, anchor))
        return false;
    if (ours < 0 || anchor < 0) {
        std::fprintf(stderr, "hotkey_copy: a press did not reach the clipboard (%s)\n",
                     ours < 0 ? "program" : "bare program");
        return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wcscmp(argv[1], L"--bare") == 0) return RunBareHotkey(argv[2]);
    if (argc < 2) return 2;
    HWND listener = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    if (!listener || !::AddClipboardFormatListener(listener)) return 1;
    HWND focus = ::CreateWindowW(L"STATIC", L"hotkey bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    if (!focus) return 1;
    // Rounds alternate the two, so that a busy moment of the machine does
    // not fall on one side only; the figure takes the middle round of each.
    std::vector<double> ours(kRounds), anchor(kRounds);
    for (int i = 0; i < kRounds; ++i)
        if (!Round(argv[1], listener, focus, ours[i], anchor[i])) return 1;
    std::sort(ours.begin(), ours.end());
    std::sort(anchor.begin(), anchor.end());
    Report("hotkey_copy", ours[kRounds / 2], anchor[kRounds / 2]);
    ::RemoveClipboardFormatListener(listener);
    ::DestroyWindow(listener);
    ::DestroyWindow(focus);
    return 0;
}
