// From an injected Ctrl+Alt+F3 to slot 3's text in another program's text
// box: the installed program with Hotkeys and "Paste into the Active Window"
// on, against the same program's copy with the option off followed by a
// Ctrl+V that this benchmark sends itself the moment the clipboard holds the
// text. The text box is this benchmark's own window, in front. Both with the
// settings a user starts with (Sounds on). Medians of 100 presses, the middle
// of three rounds.
// Usage: paste_at_once <program.exe>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_util_win.h"
#include "hotkey_bench_win.h"

namespace {

using namespace quillet::bench;

constexpr int kPresses = 100;
constexpr int kRounds = 3;
constexpr ULONGLONG kPressGap = 60;
constexpr wchar_t kSlotText[] = L"paste bench: slot three";

struct TextBox {
    HWND frame = nullptr;
    HWND box = nullptr;
    HWND listener = nullptr;  // of clipboard changes
    ULONGLONG lastPress = 0;

    bool Create() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuilletPasteBench";
        ::RegisterClassW(&wc);
        frame =
            ::CreateWindowExW(0, wc.lpszClassName, L"paste bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              200, 200, 400, 120, nullptr, nullptr, wc.hInstance, nullptr);
        box = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                360, 24, frame, nullptr, wc.hInstance, nullptr);
        listener =
            ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        return frame && box && listener && ::AddClipboardFormatListener(listener);
    }
    ~TextBox() {
        if (listener) ::RemoveClipboardFormatListener(listener);
        if (listener) ::DestroyWindow(listener);
        if (frame) ::DestroyWindow(frame);
    }

    std::wstring Text() const {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(::GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void Pump() {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
    }

    // Empty, in front and with the keyboard, and every message handled. A
    // program just started may take the foreground a moment after it says
    // it is ready; false when the box could not get it back.
    bool Prepare() {
        ::SetWindowTextW(box, L"");
        PutText(nullptr, L"before");
        for (int i = 0; i < 200; ++i) {
            ::SetForegroundWindow(frame);
            ::SetFocus(box);
            Pump();
            if (::GetForegroundWindow() == frame && ::GetFocus() == box) break;
            ::Sleep(10);
        }
        // Presses as far apart as a person's at the quickest: Wine answers a
        // key as up from a copy of the key states for 50 ms after a thread
        // last asked, and the program asks at every press.
        while (::GetTickCount64() - lastPress < kPressGap) {
            Pump();
            ::Sleep(1);
        }
        return ::GetForegroundWindow() == frame && ::GetFocus() == box;
    }

    // Milliseconds from the press to the slot's text in the box; negative
    // when it did not come within two seconds.
    double PressUntilPasted(bool pasteOurselves) {
        bool sent = false, lost = false;
        lastPress = ::GetTickCount64();
        const double ms = MillisecondsOf([&] {
            PressChord({VK_CONTROL, VK_MENU, VK_F3});
            ::SetTimer(listener, 1, 2000, nullptr);
            MSG m;
            while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
                if (m.message == WM_TIMER && m.hwnd == listener) {
                    lost = true;
                    break;
                }
                // A copy may empty the clipboard first and set its text after.
                if (pasteOurselves && !sent && m.message == WM_CLIPBOARDUPDATE &&
                    ::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
                    PressChord({VK_CONTROL, 'V'});
                    sent = true;
                }
                ::TranslateMessage(&m);
                ::DispatchMessageW(&m);
                if (::GetWindowTextLengthW(box) >= static_cast<int>(std::wcslen(kSlotText))) break;
            }
            ::KillTimer(listener, 1);
        });
        return lost || Text() != kSlotText ? -1 : ms;
    }

    double Median(bool pasteOurselves) {
        std::vector<double> times;
        for (int i = 0; i < kPresses; ++i) {
            if (!Prepare()) return -1;
            const double ms = PressUntilPasted(pasteOurselves);
            if (ms < 0) return -1;
            times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

// The program's median with the option `on`; negative with a message when
// it did not start or lost a press.
double ProgramMedian(const std::wstring& program, TextBox& target, bool on) {
    if (!WriteHotkeySettings(on ? L"PasteAtOnce=1\r\n" : L"PasteAtOnce=0\r\n", kSlotText)) {
        std::fprintf(stderr, "paste_at_once: cannot write %ls\n", kSettingsFile);
        return -1;
    }
    double median = -1;
    {
        Process app;
        if (!app.Start(L"\"" + program + L"\"", FolderOf(program).c_str()) ||
            !WaitForWindow(L"QuilletProMain", L"QuilletPro.Ready")) {
            std::fprintf(stderr, "paste_at_once: the program did not start\n");
            return -1;
        }
        median = target.Median(!on);
    }
    ::DeleteFileW(kSettingsFile);
    if (median < 0)
        std::fprintf(stderr,
                     "paste_at_once: a press did not reach the text box (option %s): \"%ls\"\n",
                     on ? "on" : "off", target.Text().c_str());
    return median;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    TextBox target;
    if (!target.Create()) return 1;
    // Rounds alternate the two, so that a busy moment of the machine does
    // not fall on one side only; the figure takes the middle round of each.
    std::vector<double> ours(kRounds), anchor(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        ours[i] = ProgramMedian(argv[1], target, true);
        anchor[i] = ProgramMedian(argv[1], target, false);
        if (ours[i] < 0 || anchor[i] < 0) return 1;
    }
    std::sort(ours.begin(), ours.end());
    std::sort(anchor.begin(), anchor.end());
    Report("paste_at_once", ours[kRounds / 2], anchor[kRounds / 2]);
    return 0;
}
