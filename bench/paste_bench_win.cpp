// A plain Paste click of a 31,999-character clipboard text into a slot of the
// real main window, against setting the same text into a plain EDIT control.
#include <windows.h>

#include <string>

#include "bench_util_win.h"
#include "platform/clipboard_win.h"
#include "frmMain_win.h"
#include "resource.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 9;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Written text: lines of words, each paste a different one of two.
std::wstring Text(wchar_t letter) {
    std::wstring text;
    while (text.size() < 31999) text += std::wstring(8, letter) + L" words in a line\r\n";
    text.resize(31999);
    return text;
}

}  // namespace

int wmain() {
    ::DeleteFileW(L"C:\\quilbdx.ini");
    frmMain window;
    if (!window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro")) return 1;
    Pump();
    const std::wstring texts[2] = {Text(L'a'), Text(L'b')};
    HWND paste = window.Control(IDC_PICPASTE0 + 2);
    SystemClipboard clipboard(nullptr);
    int round = 0;
    const double ours = Median(
        kRuns, [&] { clipboard.SetText(texts[++round % 2]); },
        [&] {
            ::SendMessageW(paste, BM_CLICK, 0, 0);
            ::UpdateWindow(window.hwnd());
        });

    RECT r;
    ::GetWindowRect(window.Control(IDC_TXT0 + 2), &r);
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   640, 480, nullptr, nullptr, nullptr, nullptr);
    HWND edit = ::CreateWindowExW(
        0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
        r.right - r.left, r.bottom - r.top, plain, nullptr, nullptr, nullptr);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    ::SendMessageW(edit, WM_SETFONT, ::SendMessageW(window.Control(IDC_TXT0 + 2), WM_GETFONT, 0, 0),
                   FALSE);
    const double anchor = Median(
        kRuns, [&] { ++round; },
        [&] {
            ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texts[round % 2].c_str()));
            ::UpdateWindow(plain);
        });
    Report("paste_big", ours, anchor);
    ::DestroyWindow(plain);
    ::DeleteFileW(L"C:\\quilbdx.ini");
    return 0;
}
