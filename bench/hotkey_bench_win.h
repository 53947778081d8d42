// What the hotkey benchmarks share: the clipboard, an injected Ctrl+Alt+F3,
// the programs they start, and the bare program that does on WM_HOTKEY what
// the installed one does on its hotkey.
#pragma once

#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quillet::bench {

inline constexpr wchar_t kSettingsFile[] = L"C:\\quilbdx.ini";
inline constexpr wchar_t kBareHotkeyClass[] = L"QuilletBareHotkey";

inline bool PutText(HWND owner, const std::wstring& text) {
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

inline std::wstring ClipboardText() {
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

// Presses the keys in order and lets go of them in the reverse order.
inline void PressChord(std::initializer_list<WORD> chord) {
    INPUT keys[8]{};
    const UINT n = static_cast<UINT>(chord.size());
    UINT i = 0;
    for (const WORD key : chord) {
        keys[i].type = keys[2 * n - 1 - i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = keys[2 * n - 1 - i].ki.wVk = key;
        keys[2 * n - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
        ++i;
    }
    ::SendInput(2 * n, keys, sizeof(INPUT));
}

inline LRESULT CALLBACK BareHotkeyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY) {
        PutText(w, reinterpret_cast<const wchar_t*>(::GetWindowLongPtrW(w, GWLP_USERDATA)));
        return 0;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
}

// Registers Ctrl+Alt+F3 and puts `text` on the clipboard at every press.
inline int RunBareHotkey(const wchar_t* text) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BareHotkeyProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kBareHotkeyClass;
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"bare hotkey", WS_OVERLAPPEDWINDOW, 100, 100,
                               300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w || !::RegisterHotKey(w, 1, MOD_CONTROL | MOD_ALT, VK_F3)) return 1;
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(text));
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

struct Process {
    PROCESS_INFORMATION info{};
    bool Start(std::wstring command, const wchar_t* folder) {
        STARTUPINFOW si{sizeof si};
        return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder, &si, &info) != 0;
    }
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!info.hProcess) return;
        ::TerminateProcess(info.hProcess, 0);
        ::WaitForSingleObject(info.hProcess, 5000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
};

// Waits for a top-level window of `cls` that has `property` set (any when null).
inline bool WaitForWindow(const wchar_t* cls, const wchar_t* property) {
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

// The program's settings file with Hotkeys on, `settings` more lines of its
// "Settings" section (each ending in CR LF), and `slotText` in slot 3 of
// store 1 ("txt(2)").
inline bool WriteHotkeySettings(std::wstring_view settings, std::wstring_view slotText) {
    const std::wstring utf16 =
        std::wstring(L"\xFEFF") + L"[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nHotkeys=1\r\n" +
        std::wstring(settings) + L"[Savings1]\r\ntxt(2)=" + std::wstring(slotText) + L"\r\n";
    HANDLE f = ::CreateFileW(kSettingsFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(utf16.size() * sizeof(wchar_t));
    const bool ok = ::WriteFile(f, utf16.data(), bytes, &written, nullptr) && written == bytes;
    ::CloseHandle(f);
    return ok;
}

inline std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

inline std::wstring ThisProgram() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

}  // namespace quillet::bench
