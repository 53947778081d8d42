// A store-label click on the full settings file in the real main window,
// against the same sequence over the profile functions, and against only
// refilling ten plain EDIT controls with the same texts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/strings_win.h"
#include "bench_util_win.h"
#include "frmMain_win.h"
#include "resource.h"
#include "store/Module1.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

constexpr int kRuns = 5;
const char kIni[] = "C:\\quilbdx.ini";

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

std::string ProfileRead(const std::string& section, const std::string& key) {
    std::vector<char> buffer(32000);
    const DWORD n =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), 32000, kIni);
    return std::string(buffer.data(), n);
}

}  // namespace

// Usage: switch_bench <full settings file>
int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::DeleteFileW(L"C:\\quilbdx.ini");
    ::CopyFileW(argv[1], L"C:\\quilbdx.ini", FALSE);

    // Store 14: ten slots of one 31,999-character line each (minified data,
    // long links); store 15: the same amount of text in 400 lines.
    {
        Settings settings(RealFileSystem(), SystemCodec());
        std::vector<Settings::Value> values;
        // Stores 1 to 12 serve the click figures above; 13 to 15 these.
        for (int i = 0; i < kSlotCount; ++i) {
            std::wstring line(31999, L'm');
            for (size_t c = 0; c < line.size(); c += 9) line[c] = L',';
            std::wstring lines;
            while (lines.size() < 31999) lines += std::wstring(78, L'n') + L"\r\n";
            lines.resize(31999);
            values.push_back({StoreSection(14), TextKey(i), line});
            values.push_back({StoreSection(15), TextKey(i), lines});
        }
        settings.WriteSettings(L"C:\\quilbdx.ini", values);
    }

    frmMain window;
    if (!window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro")) return 1;
    Pump();
    int store = 1;
    const double ours = Median(
        kRuns, [&] { store = store % 12 + 1; },
        [&] {
            // Until idle: a box with a scroll bar gets its whole text then.
            window.Logic().lblStore_Click(store);
            ::UpdateWindow(window.hwnd());
            Pump();
        });

    // The same click done with the profile functions: the change check's
    // twenty reads, the store number written, the twenty reads of the load.
    const double profile = Median(
        kRuns, [&] { store = store % 12 + 1; },
        [&] {
            const std::string current = StoreSection(window.Logic().CurrentStore());
            bool changed = false;
            for (int i = 0; i < kSlotCount; ++i) {
                changed |= Narrow(window.Rows().Text(i)) != ProfileRead(current, TextKey(i));
                changed |= Narrow(window.Rows().Title(i)) != ProfileRead(current, TitleKey(i));
            }
            ::WritePrivateProfileStringA("Settings", "StoreNumber", std::to_string(store).c_str(),
                                         kIni);
            const std::string next = StoreSection(store);
            for (int i = 0; i < kSlotCount; ++i) {
                std::string text = ProfileRead(next, TextKey(i));
                for (size_t p = 0; p + 1 < text.size(); ++p)
                    if (text[p] == '\xFF' && text[p + 1] == '\xF6')
                        text[p] = '\r', text[p + 1] = '\n';
                window.Rows().SetText(i, Widen(text));
                window.Rows().SetTitle(i, Widen(ProfileRead(next, TitleKey(i))));
            }
            ::UpdateWindow(window.hwnd());
            (void)changed;
        });
    Report("switch_full", ours, profile);
    // The boxes hold another store's texts now; showing the current store
    // again keeps the next clicks from asking to save.
    window.Logic().LoadStore();

    // The floor: ten plain EDIT controls of the same size refilled.
    std::vector<std::wstring> texts;
    for (int i = 0; i < kSlotCount; ++i) texts.push_back(window.Rows().Text(i));
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"edits", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   640, 480, nullptr, nullptr, nullptr, nullptr);
    std::vector<HWND> edits;
    RECT r;
    for (int i = 0; i < kSlotCount; ++i) {
        ::GetWindowRect(window.Control(IDC_TXT0 + i), &r);
        edits.push_back(::CreateWindowExW(
            0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, 0,
            i * 24, r.right - r.left, r.bottom - r.top, plain, nullptr, nullptr, nullptr));
        ::SendMessageW(edits.back(), EM_SETLIMITTEXT, 0, 0);
        // The same font: measuring the text is most of the cost.
        ::SendMessageW(edits.back(), WM_SETFONT,
                       ::SendMessageW(window.Control(IDC_TXT0 + i), WM_GETFONT, 0, 0), FALSE);
    }
    int round = 0;
    const double floor = Median(
        kRuns, [&] { ++round; },
        [&] {
            for (int i = 0; i < kSlotCount; ++i)
                ::SetWindowTextW(edits[i], texts[(i + round) % kSlotCount].c_str());
            ::UpdateWindow(plain);
        });
    Report("switch_full_vs_edits", ours, floor);

    // A switch to long lines against a switch to the same text in lines,
    // each time from another store, so that every box is filled. One run
    // each: filling a box with a long line takes seconds under Wine.
    auto switchTo = [&](int target) {
        return Median(
            1, [&] { window.Logic().lblStore_Click(13); },
            [&] {
                window.Logic().lblStore_Click(target);
                ::UpdateWindow(window.hwnd());
                Pump();
            });
    };
    const double longLines = switchTo(14);
    // The first use of a box holding a long line gives it the whole text.
    const double firstFocus = Median(
        1, [] {},
        [&] {
            ::SetFocus(window.Control(IDC_TXT0));
            ::UpdateWindow(window.hwnd());
        });
    const double shortLines = switchTo(15);
    Report("switch_longlines", longLines, shortLines);
    Report("longline_first_focus", firstFocus, shortLines);
    ::DestroyWindow(plain);
    ::DeleteFileW(L"C:\\quilbdx.ini");
    return 0;
}
