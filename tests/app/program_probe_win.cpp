// Looks into the running program for shell tests: "clip" prints the
// clipboard's text, "clear" empties the clipboard, "slot N" prints the text
// of slot N's box (0 ... 9), "pictures" shows the Pictures store, "exit"
// chooses File > Exit. Exit code 1 when there is nothing to look at.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resource.h"

namespace {

void Print(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring what = argv[1];
    if (what == L"clip") {
        if (!::OpenClipboard(nullptr)) return 1;
        HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
        const auto* text = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr;
        if (text) Print(text);
        if (text) ::GlobalUnlock(data);
        ::CloseClipboard();
        return text ? 0 : 1;
    }
    if (what == L"clear") {
        if (!::OpenClipboard(nullptr)) return 1;
        ::EmptyClipboard();
        ::CloseClipboard();
        return 0;
    }
    HWND program = ::FindWindowW(L"QuilletProMain", nullptr);
    if (!program) return 1;
    if (what == L"pictures") {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(program, WM_COMMAND, IDM_STORE0, 0, SMTO_NORMAL, 10000,
                                     &ignored)
                   ? 0
                   : 1;
    }
    if (what == L"exit") {
        ::PostMessageW(program, WM_COMMAND, IDM_EXIT, 0);
        return 0;
    }
    if (what == L"slot" && argc > 2) {
        HWND box = ::GetDlgItem(program, IDC_TXT0 + std::wcstol(argv[2], nullptr, 10));
        if (!box) return 1;
        // GetWindowText does not ask a control of another process.
        const auto length = ::SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(
            ::SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        Print(text);
        return 0;
    }
    return 2;
}
