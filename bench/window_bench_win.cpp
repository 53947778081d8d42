// The main window's own costs: a width change (layout of every row and the
// repaint) against a window of plain children of which as many are resized
// and moved as the width change resizes and moves of ours; and the tray menu
// to shown with ten 31,999-character slots against a menu of the same items
// and captions built from texts at hand.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_util_win.h"
#include "frmMain_win.h"
#include "resource.h"

using namespace quillet;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 41;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

int CountChildren(HWND parent) {
    int n = 0;
    ::EnumChildWindows(
        parent, [](HWND, LPARAM lp) -> BOOL { return ++*reinterpret_cast<int*>(lp), TRUE; },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

struct MenuItem {
    UINT flags;
    UINT id;
    std::wstring text;
};

// The items of the first menu shown, as they were appended.
std::vector<MenuItem> gShownItems;

std::vector<MenuItem> ItemsOf(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        std::wstring text(info.cch + 1, L'\0');
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        text.resize(info.cch);
        if (info.fType & MFT_SEPARATOR) {
            items.push_back({MF_SEPARATOR, 0, {}});
            continue;
        }
        const UINT flags = MF_STRING | ((info.fState & MFS_CHECKED) ? MF_CHECKED : 0) |
                           ((info.fState & MFS_GRAYED) ? MF_GRAYED : 0);
        items.push_back({flags, info.wID, text});
    }
    return items;
}

// A menu counts as shown when its loop first waits for the user; then it
// is ended at once.
WNDPROC gOriginal = nullptr;
LRESULT CALLBACK EndMenuWhenIdle(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITMENUPOPUP && gShownItems.empty())
        gShownItems = ItemsOf(reinterpret_cast<HMENU>(wp));
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU) ::EndMenu();
    return ::CallWindowProcW(gOriginal, w, msg, wp, lp);
}

void WatchMenus(HWND owner) {
    gOriginal = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EndMenuWhenIdle)));
}

std::vector<RECT> ChildPlaces(HWND parent) {
    std::vector<RECT> places;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            RECT r;
            ::GetWindowRect(child, &r);
            reinterpret_cast<std::vector<RECT>*>(lp)->push_back(r);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&places));
    return places;
}

void SetWidth(HWND w, int pixels) {
    RECT r;
    ::GetWindowRect(w, &r);
    ::SetWindowPos(w, nullptr, 0, 0, pixels, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(w);
    Pump();
}

}  // namespace

int wmain() {
    ::DeleteFileW(L"C:\\quilbdx.ini");
    frmMain window;
    if (!window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro")) return 1;
    // Full slots of text in lines, as notes and code are.
    for (int i = 0; i < kSlotCount; ++i) {
        std::wstring text;
        while (text.size() < 31999)
            text += std::wstring(78, static_cast<wchar_t>(L'a' + i)) + L"\r\n";
        text.resize(31999);
        window.Rows().SetText(i, text);
    }
    Pump();
    const HWND main = window.hwnd();

    int resized = 0, moved = 0;
    {
        const std::vector<RECT> before = ChildPlaces(main);
        SetWidth(main, 700);
        const std::vector<RECT> after = ChildPlaces(main);
        for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
            const RECT &a = before[i], &b = after[i];
            if (a.right - a.left != b.right - b.left || a.bottom - a.top != b.bottom - b.top)
                ++resized;
            else if (a.left != b.left || a.top != b.top)
                ++moved;
        }
    }

    // Below the main window, not over it: timed in turns, a width change of
    // one would otherwise uncover the other and leave it that to repaint.
    RECT mainPlace{};
    ::GetWindowRect(main, &mainPlace);
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                   mainPlace.bottom + 10, 700, 500, nullptr, nullptr, nullptr,
                                   nullptr);
    const int children = CountChildren(main);
    for (int i = 0; i < children; ++i)
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, (i % 10) * 60,
                          (i / 10) * 30, 50, 20, plain, nullptr, nullptr, nullptr);
    Pump();
    std::vector<HWND> kids;
    for (HWND c = ::GetWindow(plain, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        kids.push_back(c);
    // Each turn flips the width of both windows, so each is timed changing it.
    int round = 0;
    const auto [ours, sameMoves] = quillet::bench::MediansInTurns(
        kRuns, [&](int turn) { round = turn / 2; },
        [&] { SetWidth(main, round % 2 ? 700 : 620); },
        [&] {
            const int d = round % 2 ? 80 : 0;
            RECT r;
            ::GetWindowRect(plain, &r);
            ::SetWindowPos(plain, nullptr, 0, 0, 620 + d, r.bottom - r.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            HDWP batch = ::BeginDeferWindowPos(resized + moved);
            for (int i = 0; batch && i < resized + moved && i < static_cast<int>(kids.size()); ++i)
                batch = ::DeferWindowPos(batch, kids[i], nullptr, (i % 10) * 60 + d, (i / 10) * 30,
                                         50 + (i < resized ? d : 0), 20,
                                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
            if (batch) ::EndDeferWindowPos(batch);
            ::UpdateWindow(plain);
            Pump();
        });
    std::printf("resize: of %d children %d resized, %d moved\n", children, resized, moved);
    Report("resize", ours, sameMoves);

    WatchMenus(main);
    // Once, so that the items to copy are known before the turns.
    window.Logic().TrayIcon_Callback(WM_RBUTTONDOWN);
    const auto [menu, plainMenu] = quillet::bench::MediansInTurns(
        kRuns, [](int) {}, [&] { window.Logic().TrayIcon_Callback(WM_RBUTTONDOWN); },
        [&] {
            HMENU m = ::CreatePopupMenu();
            for (const MenuItem& item : gShownItems)
                ::AppendMenuW(m, item.flags, item.id, item.text.c_str());
            ::SetForegroundWindow(main);
            POINT at;
            ::GetCursorPos(&at);
            ::TrackPopupMenu(m, TPM_RIGHTBUTTON, at.x, at.y, 0, main, nullptr);
            ::PostMessageW(main, WM_NULL, 0, 0);
            ::DestroyMenu(m);
        });
    std::printf("tray_menu: %zu items\n", gShownItems.size());
    Pump();
    Report("tray_menu", menu, plainMenu);
    ::DestroyWindow(plain);
    return 0;
}
