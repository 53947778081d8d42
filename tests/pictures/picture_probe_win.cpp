// Looks into the running program for the Pictures store's shell test:
// "where ID" prints the screen rectangle "x y w h" of the main window's
// control ID however deep it lies, "client TITLE" the same of the inner
// area of the window titled TITLE, "wallpaper" the system's wallpaper and
// the one in the user's profile, "exit" chooses File > Exit. Exit code 1
// when there is nothing to look at.
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

void PrintRect(const RECT& r) {
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
          std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring what = argv[1];
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
    if (what == L"exit") {
        ::PostMessageW(program, WM_COMMAND, IDM_EXIT, 0);
        return 0;
    }
    return 2;
}
