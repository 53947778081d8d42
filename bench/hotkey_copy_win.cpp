// From an injected Ctrl+Alt+F3 to the clipboard holding slot 3's text: the
// installed program with Hotkeys on against a bare program that registers
// the same combination and sets the same text on WM_HOTKEY: medians of 200
// presses, the middle of three rounds.
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

// Median milliseconds from the injected press to the clipboard being closed
// on a text (WM_CLIPBOARDUPDATE); negative when a press brought
// nothing within two seconds or the text is not slot 3's.
double MedianPressToClipboard(HWND listener) {
    bool lost = false;
    const auto drain = [] {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    };
    const double median = Median(
        kPresses,
        [&] {
            PutText(nullptr, L"before");
            drain();
        },
        [&] {
            PressChord({VK_CONTROL, VK_MENU, VK_F3});
            ::SetTimer(listener, 1, 2000, nullptr);
            MSG m;
            while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
                // A copy may empty the clipboard first and set its text after.
                if (m.message == WM_CLIPBOARDUPDATE && ::IsClipboardFormatAvailable(CF_UNICODETEXT))
                    break;
                if (m.message == WM_TIMER) {
                    lost = true;
                    break;
                }
            }
            ::KillTimer(listener, 1);
        });
    if (lost || ClipboardText() != kSlotText) return -1;
    return median;
}

// One round: the program's median, then the bare program's; false with a
// message when either did not start or lost a press.
bool Round(const std::wstring& program, HWND listener, double& ours, double& anchor) {
    if (!WriteHotkeySettings(L"", kSlotText)) {
        std::fprintf(stderr, "hotkey_copy: cannot write %ls\n", kSettingsFile);
        return false;
    }
    {
        Process app;
        if (!app.Start(L"\"" + program + L"\"", FolderOf(program).c_str()) ||
            !WaitForWindow(L"QuilletProMain", L"QuilletPro.Ready")) {
            std::fprintf(stderr, "hotkey_copy: the program did not start\n");
            return false;
        }
        ours = MedianPressToClipboard(listener);
    }
    ::DeleteFileW(kSettingsFile);
    {
        Process bare;
        if (!bare.Start(L"\"" + ThisProgram() + L"\" --bare \"" + kSlotText + L"\"", nullptr) ||
            !WaitForWindow(kBareHotkeyClass, nullptr)) {
            std::fprintf(stderr, "hotkey_copy: the bare program did not start\n");
            return false;
        }
        anchor = MedianPressToClipboard(listener);
    }
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
    HWND listener =
        ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!listener || !::AddClipboardFormatListener(listener)) return 1;
    // Rounds alternate the two, so that a busy moment of the machine does
    // not fall on one side only; the figure takes the middle round of each.
    std::vector<double> ours(kRounds), anchor(kRounds);
    for (int i = 0; i < kRounds; ++i)
        if (!Round(argv[1], listener, ours[i], anchor[i])) return 1;
    std::sort(ours.begin(), ours.end());
    std::sort(anchor.begin(), anchor.end());
    Report("hotkey_copy", ours[kRounds / 2], anchor[kRounds / 2]);
    ::RemoveClipboardFormatListener(listener);
    ::DestroyWindow(listener);
    return 0;
}
