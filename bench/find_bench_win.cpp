// Find over the full settings file in the real main window: a query typed key
// by key, each key until the list shows its lines, against a plain
// case-sensitive byte search of the file for the same letters; and opening
// the window against reading the stores' values it searches.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "base/window_win.h"
#include "bench_util_win.h"
#include "frmMain_win.h"
#include "resource.h"
#include "store/Module1.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::MillisecondsOf;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 5;
// Capitals, to be folded; every line of the full file holds these letters.
constexpr std::wstring_view kQuery = L"Klmno";

std::string ReadBytes(const wchar_t* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Until the window has handled every message the key caused and drawn.
void Settle(HWND window, HWND list) {
    PumpWaitingMessages();
    ::UpdateWindow(window);
    ::UpdateWindow(list);
}

}  // namespace

// Usage: find_bench <full settings file>
int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::DeleteFileW(L"C:\\quilbdx.ini");
    ::CopyFileW(argv[1], L"C:\\quilbdx.ini", FALSE);

    frmMain window;
    if (!window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro")) return 1;
    PumpWaitingMessages();

    // Opening: the file read, every title and text folded, the window shown.
    const double open = Median(
        kRuns, [&] { window.Find().Close(); },
        [&] {
            ::SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FIND, 0), 0);
            Settle(window.Find().hwnd(), window.Find().Control(IDC_FINDRESULTS));
        });
    Settings settings(RealFileSystem(), SystemCodec());
    const double read = Median(
        kRuns, [] {},
        [&] {
            const SettingsSnapshot stored = settings.Snapshot(L"C:\\quilbdx.ini");
            for (int n = 1; n < kStoreCount; ++n) stored.ReadMany(StoreSection(n), StoreKeys());
        });
    Report("find_open_full", open, read);

    const HWND box = window.Find().Control(IDC_FINDTEXT);
    const HWND list = window.Find().Control(IDC_FINDRESULTS);
    double slowest = 0;
    int shown = 0;
    const double typed = Median(
        kRuns,
        [&] {
            ::SetWindowTextW(box, L"");
            Settle(window.Find().hwnd(), list);
        },
        [&] {
            for (wchar_t key : kQuery) {
                const double one = MillisecondsOf([&] {
                    ::PostMessageW(box, WM_CHAR, key, 1);
                    Settle(window.Find().hwnd(), list);
                });
                slowest = std::max(slowest, one);
            }
            shown = ListView_GetItemCount(list);
        });

    const std::string bytes = ReadBytes(L"C:\\quilbdx.ini");
    std::string lower;
    for (wchar_t c : kQuery) lower += static_cast<char>(c | 0x20);
    size_t occurrences = 0;
    const double anchor = Median(
        kRuns, [] {},
        [&] {
            const std::string_view file(bytes);
            for (size_t n = 1; n <= lower.size(); ++n) {
                const std::string_view needle(lower.data(), n);
                occurrences = 0;
                for (size_t at = file.find(needle); at != std::string_view::npos;
                     at = file.find(needle, at + 1))
                    ++occurrences;
            }
        });
    if (shown == 0 || occurrences == 0) {
        std::printf("find_full: nothing was found\n");
        return 1;
    }
    Report("find_full", typed, anchor);
    // The slowest key alone, against the byte search's time for one key.
    Report("find_full_slowest_key", slowest, anchor / static_cast<double>(kQuery.size()));
    ::DeleteFileW(L"C:\\quilbdx.ini");
    return 0;
}
