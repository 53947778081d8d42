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

namespace {

constexpr int kPresses = 200;
constexpr int kRounds = 3;
constexpr wchar_t kSlotText[] = L"hotkey bench: slot three";
constexpr wchar_t kSettings[] = L"C:\\quilbdx.ini";

bool PutText(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (memory) {
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        ok = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!ok) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return ok;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

LRESULT CALLBACK BareProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY) {
        PutText(w, reinterpret_cast<const wchar_t*>(::GetWindowLongPtrW(w, GWLP_USERDATA)));
        return 0;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
}

int RunBare(const wchar_t* text) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilletBareHotkey";
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"bare hotkey", WS_OVERLAPPEDWINDOW, 100, 100,
                               300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w || !::RegisterHotKey(w, 1, MOD_CONTROL | MOD_ALT, VK_F3)) return 1;
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(text));
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

void PressCtrlAltF3() {
    INPUT keys[6]{};
    const WORD order[3] = {VK_CONTROL, VK_MENU, VK_F3};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = keys[5 - i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = keys[5 - i].ki.wVk = order[i];
        keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ::SendInput(6, keys, sizeof(INPUT));
}

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
    const double median = quillet::bench::Median(
        kPresses,
        [&] {
            PutText(nullptr, L"before");
            drain();
        },
        [&] {
            PressCtrlAltF3();
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

struct Process {
    PROCESS_INFORMATION info{};
    bool Start(std::wstring command, const wchar_t* folder) {
        STARTUPINFOW si{sizeof si};
        return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder, &si, &info) != 0;
    }
    ~Process() {
        if (!info.hProcess) return;
        ::TerminateProcess(info.hProcess, 0);
        ::WaitForSingleObject(info.hProcess, 5000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
};

// Waits for a top-level window of `cls` that has `property` set (any when null).
bool WaitForWindow(const wchar_t* cls, const wchar_t* property) {
    for (int i = 0; i < 600; ++i) {
        HWND w = ::FindWindowW(cls, nullptr);
        if (w && (!property || ::GetPropW(w, property))) {
            DWORD_PTR ignored = 0;
            return ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored) != 0;
        }
        ::Sleep(50);
    }
    return false;
}

bool WriteSettings() {
    // Slot 3 is "txt(2)" of store 1.
    const std::wstring utf16 = std::wstring(L"\xFEFF") +
                               L"[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nHotkeys=1\r\n"
                               L"[Savings1]\r\ntxt(2)=" +
                               kSlotText + L"\r\n";
    HANDLE f = ::CreateFileW(kSettings, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(utf16.size() * sizeof(wchar_t));
    const bool ok = ::WriteFile(f, utf16.data(), bytes, &written, nullptr) && written == bytes;
    ::CloseHandle(f);
    return ok;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

// One round: the program's median, then the bare program's; false with a
// message when either did not start or lost a press.
bool Round(const std::wstring& program, HWND listener, double& ours, double& anchor) {
    if (!WriteSettings()) {
        std::fprintf(stderr, "hotkey_copy: cannot write %ls\n", kSettings);
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
    ::DeleteFileW(kSettings);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    {
        Process bare;
        if (!bare.Start(L"\"" + std::wstring(self) + L"\" --bare \"" + kSlotText + L"\"", nullptr) ||
            !WaitForWindow(L"QuilletBareHotkey", nullptr)) {
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
    if (argc > 2 && std::wcscmp(argv[1], L"--bare") == 0) return RunBare(argv[2]);
    if (argc < 2) return 2;
    HWND listener = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    if (!listener || !::AddClipboardFormatListener(listener)) return 1;
    // Rounds alternate the two, so that a busy moment of the machine does
    // not fall on one side only; the figure takes the middle round of each.
    std::vector<double> ours(kRounds), anchor(kRounds);
    for (int i = 0; i < kRounds; ++i)
        if (!Round(argv[1], listener, ours[i], anchor[i])) return 1;
    std::sort(ours.begin(), ours.end());
    std::sort(anchor.begin(), anchor.end());
    quillet::bench::Report("hotkey_copy", ours[kRounds / 2], anchor[kRounds / 2]);
    ::RemoveClipboardFormatListener(listener);
    ::DestroyWindow(listener);
    return 0;
}
