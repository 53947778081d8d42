// Looks into the running program for shell tests: "clip" prints the
// clipboard's text, "clear" empties the clipboard, "slot N" prints the text
// of slot N's box (0 ... 9), "pictures" shows the Pictures store, "exit"
// chooses File > Exit, "taken" prints the program's twenty Ctrl+Alt
// combinations that cannot be registered now, "hold KEY" keeps one of them
// (F1 ... F10, 1 ... 0) registered until killed, "shown" exits 0 when the
// main window shows, "close" chooses File > Close, "untray" removes the
// program's tray icon as a restarting Explorer loses it, "taskbar" tells
// every window the taskbar is back, "layout" prints the client area and the
// rectangles of slot 1's controls in client pixels, "mirror" chooses
// Options > Mirror, "tip" exits 0 when one of the program's tips shows.
// Exit code 1 when there is nothing to
// look at.
// "help" and "about" choose Help > Help and Help > About Quillet Pro,
// "topic N" clicks topic button N (1 ... 10) of the open help window.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

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

struct Combination {
    const wchar_t* name;
    UINT key;
};
constexpr Combination kCombinations[] = {
    {L"F1", VK_F1}, {L"F2", VK_F2}, {L"F3", VK_F3}, {L"F4", VK_F4}, {L"F5", VK_F5},
    {L"F6", VK_F6}, {L"F7", VK_F7}, {L"F8", VK_F8}, {L"F9", VK_F9}, {L"F10", VK_F10},
    {L"1", '1'},    {L"2", '2'},    {L"3", '3'},    {L"4", '4'},    {L"5", '5'},
    {L"6", '6'},    {L"7", '7'},    {L"8", '8'},    {L"9", '9'},    {L"0", '0'}};
constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

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
    if (what == L"taken") {
        std::wstring taken = L"taken:";
        for (const Combination& c : kCombinations) {
            if (::RegisterHotKey(nullptr, 1, kCtrlAlt, c.key))
                ::UnregisterHotKey(nullptr, 1);
            else
                taken += L" " + std::wstring(c.name);
        }
        Print(taken);
        return 0;
    }
    if (what == L"hold" && argc > 2) {
        for (const Combination& c : kCombinations) {
            if (std::wcscmp(c.name, argv[2]) != 0) continue;
            if (!::RegisterHotKey(nullptr, 1, kCtrlAlt, c.key)) return 1;
            Print(L"ready");
            std::fflush(stdout);
            ::Sleep(INFINITE);
        }
        return 2;
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
    if (what == L"layout") {
        RECT client{};
        ::GetClientRect(program, &client);
        POINT origin{0, 0};
        ::ClientToScreen(program, &origin);
        std::printf("client %ld %ld at %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
        const struct {
            const char* name;
            int id;
        } controls[] = {{"title", IDC_TXTTITLE0},
                        {"text", IDC_TXT0},
                        {"copy", IDC_PICCOPY0},
                        {"paste", IDC_PICPASTE0},
                        {"number", IDC_LABEL1_0}};
        for (const auto& c : controls) {
            RECT r{};
            ::GetWindowRect(::GetDlgItem(program, c.id), &r);
            ::MapWindowPoints(nullptr, program, reinterpret_cast<POINT*>(&r), 2);
            std::printf("%s %ld %ld %ld %ld\n", c.name, r.left, r.top, r.right - r.left,
                        r.bottom - r.top);
        }
        return 0;
    }
    if (what == L"tip") {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(program, &pid);
        struct Search {
            DWORD pid;
            bool shown;
        } search{pid, false};
        ::EnumWindows(
            [](HWND w, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                wchar_t cls[64] = {};
                DWORD owner = 0;
                ::GetWindowThreadProcessId(w, &owner);
                ::GetClassNameW(w, cls, 64);
                if (owner == s->pid && std::wcscmp(cls, TOOLTIPS_CLASSW) == 0 &&
                    ::IsWindowVisible(w))
                    s->shown = true;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.shown ? 0 : 1;
    }
    if (what == L"mirror") {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(program, WM_COMMAND, IDM_MIRROR, 0, SMTO_NORMAL, 10000,
                                     &ignored)
                   ? 0
                   : 1;
    }
    if (what == L"dpi" && argc > 3) {  // from to: as if moved to a monitor of that DPI
        const int from = _wtoi(argv[2]), to = _wtoi(argv[3]);
        RECT r{};
        ::GetWindowRect(program, &r);
        const RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, to, from),
                             r.top + ::MulDiv(r.bottom - r.top, to, from)};
        // The message's rectangle is not carried across processes: it is
        // written into the program's memory.
        DWORD pid = 0;
        ::GetWindowThreadProcessId(program, &pid);
        const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        if (!process) return 1;
        void* there = ::VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                       PAGE_READWRITE);
        const bool sent =
            there && ::WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr) &&
            ::SendMessageW(program, WM_DPICHANGED, MAKEWPARAM(to, to),
                           reinterpret_cast<LPARAM>(there)) == 0;
        if (there) ::VirtualFreeEx(process, there, 0, MEM_RELEASE);
        ::CloseHandle(process);
        return sent ? 0 : 1;
    }
    if (what == L"shown") return ::IsWindowVisible(program) ? 0 : 1;
    if (what == L"close") {
        ::PostMessageW(program, WM_COMMAND, IDM_CLOSE, 0);
        return 0;
    }
    if (what == L"untray") {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = program;
        icon.uID = 1;
        return ::Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
    }
    if (what == L"taskbar") {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                              SMTO_ABORTIFHUNG, 5000, &ignored);
        return 0;
    }
    if (what == L"exit") {
        ::PostMessageW(program, WM_COMMAND, IDM_EXIT, 0);
        return 0;
    }
    if (what == L"help" || what == L"about") {
        ::PostMessageW(program, WM_COMMAND, what == L"help" ? IDM_HELP : IDM_ABOUT, 0);
        return 0;
    }
    if (what == L"topic" && argc > 2) {
        HWND help = ::FindWindowW(L"QuilletProHelp", nullptr);
        const int id = IDC_CMDHELP1 + std::wcstol(argv[2], nullptr, 10) - 1;
        if (!help || !::GetDlgItem(help, id)) return 1;
        ::PostMessageW(help, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(help, id)));
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
