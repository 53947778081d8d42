// Looks into the running program for the shell tests. Exit code 1 when
// there is nothing to look at.
//   clip       prints the clipboard's text;  clear  empties the clipboard
//   slot N     prints the text of slot N's box (0 ... 9)
//   taken      prints which of the program's twenty Ctrl+Alt combinations
//              cannot be registered now
//   hold KEY   keeps one of them (F1 ... F10, 1 ... 0) registered until killed,
//              printing "pressed" at each press
//   shown [ID] exits 0 when the main window (its control ID) shows;  tip  when
//              one of its tips does
//   front      exits 0 when the main window is the foreground window
//   menu       exits 0 when the program's thread is in a menu's loop, which
//              then takes the keys;  dragging  when it holds the mouse
//   store N    posts the choice of store N, handled after what came before
//   choose N   in a menu's loop: N times Down, then Return, as key messages
//              of the program's thread, wherever the keyboard is
//   layout     prints the client area and slot 1's controls in client pixels
//   where ID   prints the screen rectangle "x y w h" of the main window's
//              control ID however deep it lies
//   client T   the same of the inner area of the window titled T
//   wallpaper  prints the system's wallpaper and the one in the user's profile
//   pictures, mirror, pasteatonce, close, exit   choose those menu items
//   untray     removes the tray icon as a restarting Explorer loses it
//   taskbar    tells every window the taskbar is back
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resource.h"
#include "support/console_win.h"

namespace {

void Print(const std::wstring& text) {
    quillet::testing::PrintLine(text);
}

void PrintRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct Wanted {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND w, LPARAM lp) {
    auto* wanted = reinterpret_cast<Wanted*>(lp);
    if (::GetDlgCtrlID(w) != wanted->id) return TRUE;
    wanted->found = w;
    return FALSE;
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
            // Each press reported: a test knows the presses before it were
            // handed out too.
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.message != WM_HOTKEY) continue;
                Print(L"pressed");
                std::fflush(stdout);
            }
            return 0;
        }
        return 2;
    }
    if (what == L"wallpaper") {
        wchar_t system[MAX_PATH] = {}, profile[MAX_PATH] = {};
        ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, system, 0);
        DWORD size = sizeof profile;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                       nullptr, profile, &size);
        Print(std::wstring(L"system ") + system);
        Print(std::wstring(L"profile ") + profile);
        return 0;
    }
    if (what == L"client" && argc > 2) {
        HWND window = ::FindWindowW(nullptr, argv[2]);
        RECT r{};
        if (!window || !::IsWindowVisible(window) || !::GetClientRect(window, &r)) return 1;
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
        PrintRect(r);
        return 0;
    }
    HWND program = ::FindWindowW(L"QuilletProMain", nullptr);
    if (!program) return 1;
    if (what == L"where" && argc > 2) {
        Wanted wanted{static_cast<int>(std::wcstol(argv[2], nullptr, 10)), nullptr};
        ::EnumChildWindows(program, FindById, reinterpret_cast<LPARAM>(&wanted));
        RECT r{};
        if (!wanted.found || !::GetWindowRect(wanted.found, &r)) return 1;
        PrintRect(r);
        return 0;
    }
    if (what == L"pictures" || what == L"mirror" || what == L"pasteatonce") {
        DWORD_PTR ignored = 0;
        const WPARAM item = what == L"mirror"        ? IDM_MIRROR
                            : what == L"pasteatonce" ? IDM_PASTEATONCE
                                                     : IDM_STORE0;
        return ::SendMessageTimeoutW(program, WM_COMMAND, item, 0, SMTO_NORMAL, 10000, &ignored)
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
    // The program's thread holds the mouse: in a drag, a move or a menu.
    if (what == L"dragging") {
        GUITHREADINFO info{sizeof info};
        const DWORD thread = ::GetWindowThreadProcessId(program, nullptr);
        return ::GetGUIThreadInfo(thread, &info) &&
                       (info.hwndCapture || (info.flags & GUI_INMOVESIZE))
                   ? 0
                   : 1;
    }
    // Posted, so handled after whatever reached the program before.
    if (what == L"store" && argc > 2) {
        const WPARAM item = IDM_STORE0 + std::wcstol(argv[2], nullptr, 10);
        return ::PostMessageW(program, WM_COMMAND, item, 0) ? 0 : 1;
    }
    if (what == L"menu") {
        GUITHREADINFO info{sizeof info};
        const DWORD thread = ::GetWindowThreadProcessId(program, nullptr);
        return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE) ? 0 : 1;
    }
    if (what == L"choose" && argc > 2) {
        const long downs = std::wcstol(argv[2], nullptr, 10);
        for (long i = 0; i < downs; ++i) ::PostMessageW(program, WM_KEYDOWN, VK_DOWN, 0);
        return ::PostMessageW(program, WM_KEYDOWN, VK_RETURN, 0) ? 0 : 1;
    }
    if (what == L"shown") {
        HWND w = argc > 2 ? ::GetDlgItem(program, std::wcstol(argv[2], nullptr, 10)) : program;
        return w && ::IsWindowVisible(w) ? 0 : 1;
    }
    if (what == L"front") return ::GetForegroundWindow() == program ? 0 : 1;
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
