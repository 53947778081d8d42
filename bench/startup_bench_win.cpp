// Start to main window shown: the installed program against Wine's notepad
// started the same way, without a settings file and with the full one.
#include <windows.h>

#include <string>

#include "bench_util_win.h"

using quillet::bench::Report;

namespace {

constexpr int kRuns = 9;

struct Search {
    DWORD pid;
    const wchar_t* cls;
    bool found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    if (pid == s->pid && std::wstring(cls) == s->cls && ::IsWindowVisible(w)) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess until the window of class `cls` shows.
double TimeToWindow(const std::wstring& exe, const wchar_t* cls) {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    double ms = -1;
    ms = quillet::bench::MillisecondsOf([&] {
        if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi))
            return;
        Search s{pi.dwProcessId, cls, false};
        for (int i = 0; i < 20000 && !s.found; ++i) {
            ::EnumWindows(FindShown, reinterpret_cast<LPARAM>(&s));
            if (!s.found) ::Sleep(1);
        }
    });
    if (pi.hProcess) {
        ::TerminateProcess(pi.hProcess, 0);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    return ms;
}

void CopyFull(const wchar_t* full) {
    ::DeleteFileW(L"C:\\quilbdx.ini");
    if (full) ::CopyFileW(full, L"C:\\quilbdx.ini", FALSE);
}

}  // namespace

// Usage: startup_bench <program.exe> <full settings file>
int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring program = argv[1];
    const wchar_t* full = argv[2];
    const std::wstring notepad = L"C:\\windows\\system32\\notepad.exe";

    // In turns with notepad, so that busy spells of the machine fall on both.
    double window = 0;
    const auto [ours, anchor] = quillet::bench::MediansInTurns(
        kRuns, [&](int) { CopyFull(nullptr); },
        [&] { window = TimeToWindow(program, L"QuilletProMain"); },
        [&] { TimeToWindow(notepad, L"Notepad"); });
    Report("startup", ours, anchor);
    const auto [oursFull, anchorFull] = quillet::bench::MediansInTurns(
        kRuns, [&](int turn) { CopyFull(turn % 2 ? nullptr : full); },
        [&] { TimeToWindow(program, L"QuilletProMain"); },
        [&] { TimeToWindow(notepad, L"Notepad"); });
    Report("startup_full", oursFull, anchorFull);
    ::DeleteFileW(L"C:\\quilbdx.ini");
    return window < 0 ? 1 : 0;
}
