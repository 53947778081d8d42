// From an injected Ctrl+Alt+F3 to slot 3's text in another program's text
// box: the installed program with Hotkeys and "Paste into the Active Window"
// on, against the bare hotkey program's copy followed by a Ctrl+V that this
// benchmark sends itself the moment the clipboard holds the text. The text
// box is this benchmark's own window, in front. Medians of 100 presses, the
// middle of three rounds.
// Usage: paste_at_once <program.exe>     the figure
//        paste_at_once --bare <text>     the anchor program itself
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
constexpr wchar_t kSlotText[] = L"paste bench: slot three";

struct TextBox {
    HWND frame = nullptr;
    HWND box = nullptr;
    HWND listener = nullptr;  // of clipboard changes

    bool Create() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuilletPasteBench";
        ::RegisterClassW(&wc);
        frame = ::CreateWindowExW(0, wc.lpszClassName, L"paste bench",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 400, 120, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        box = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                360, 24, frame, nullptr, wc.hInstance, nullptr);
        listener = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
        return frame && box && listener && ::AddClipboardFormatListener(listener);
    }
    ~TextBox() {
        if (listener) ::RemoveClipboardFormatListener(listener);
        if (listener) ::DestroyWindow(listener);
        if (frame) ::DestroyWindow(frame);
    }

    std::wstring Text() const {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(box, text.data(),
                                                         static_cast<int>(text.size()))));
        return text;
    }

    // Empty, in front and with the keyboard, and every message handled.
    void Prepare() {
        ::SetWindowTextW(box, L"");
        PutText(nullptr, L"before");
        ::SetForegroundWindow(frame);
        ::SetFocus(box);
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
    }

    // Milliseconds from the press to the slot's text in the box; negative
    // when it did not come within two seconds.
    double PressUntilPasted(bool pasteOurselves) {
        bool sent = false, lost = false;
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
            Prepare();
            const double ms = PressUntilPasted(pasteOurselves);
            if (ms < 0) return -1;
            times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

bool Round(const std::wstring& program, TextBox& target, double& ours, double& anchor) {
    if (!WriteHotkeySettings(L"PasteAtOnce=1\r\n", kSlotText)) {
        std::fprintf(stderr, "paste_at_once: cannot write %ls\n", kSettingsFile);
        return false;
    }
    {
        Process app;
        if (!app.Start(L"\"" + program + L"\"", FolderOf(program).c_str()) ||
            !WaitForWindow(L"QuilletProMain", L"QuilletPro.Ready")) {
            std::fprintf(stderr, "paste_at_once: the program did not start\n");
            return false;
        }
        ours = target.Median(false);
    }
    ::DeleteFileW(kSettingsFile);
    {
        Process bare;
        if (!bare.Start(L"\"" + ThisProgram() + L"\" --bare \"" + kSlotText + L"\"", nullptr) ||
            !WaitForWindow(kBareHotkeyClass, nullptr)) {
            std::fprintf(stderr, "paste_at_once: the bare program did not start\n");
            return false;
        }
        anchor = target.Median(true);
    }
    if (ours < 0 || anchor < 0) {
        std::fprintf(stderr, "paste_at_once: a press did not reach the text box (%s): \"%ls\"\n",
                     ours < 0 ? "program" : "bare program", target.Text().c_str());
        return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wcscmp(argv[1], L"--bare") == 0) return RunBareHotkey(argv[2]);
    if (argc < 2) return 2;
    TextBox target;
    if (!target.Create()) return 1;
    // Rounds alternate the two, so that a busy moment of the machine does
    // not fall on one side only; the figure takes the middle round of each.
    std::vector<double> ours(kRounds), anchor(kRounds);
    for (int i = 0; i < kRounds; ++i)
        if (!Round(argv[1], target, ours[i], anchor[i])) return 1;
    std::sort(ours.begin(), ours.end());
    std::sort(anchor.begin(), anchor.end());
    Report("paste_at_once", ours[kRounds / 2], anchor[kRounds / 2]);
    return 0;
}
