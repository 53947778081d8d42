// Waits until Quillet Pro's main window says its start-up is over, then
// prints the window's screen rectangle as "x y w h".
// Usage: wait_ready [timeout-ms]   (exit 0 when ready, 1 on timeout)
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kClass[] = L"QuilletProMain";
constexpr wchar_t kReady[] = L"QuilletPro.Ready";

BOOL CALLBACK FindReady(HWND w, LPARAM lp) {
    wchar_t cls[64] = {};
    if (::GetClassNameW(w, cls, 64) && std::wcscmp(cls, kClass) == 0 && ::GetPropW(w, kReady)) {
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
    }
    return TRUE;
}

HWND ReadyWindow() {
    HWND found = nullptr;
    ::EnumWindows(FindReady, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const DWORD timeout = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 30000;
    const ULONGLONG end = ::GetTickCount64() + timeout;
    HWND window = ReadyWindow();
    while (!window && ::GetTickCount64() < end) {
        ::Sleep(50);
        window = ReadyWindow();
    }
    if (!window) {
        std::fprintf(stderr, "wait_ready: no %ls window with %ls set after %lu ms\n", kClass,
                     kReady, timeout);
        return 1;
    }
    // The property is set before the message loop runs, with the children's
    // paints still pending: have them done, and the loop answer after them,
    // so what the caller sees is finished. Asking for an answer first makes
    // a hung program fail here instead of blocking in the paints.
    const auto answers = [&] {
        const ULONGLONG now = ::GetTickCount64();
        const UINT left = static_cast<UINT>(end > now + 1000 ? end - now : 1000);
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, left, &result) != 0;
    };
    bool ok = answers();
    if (ok) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ok = answers();
    }
    if (!ok) {
        std::fprintf(stderr, "wait_ready: the main window does not answer messages\n");
        return 1;
    }
    RECT r{};
    if (!::GetWindowRect(window, &r)) {
        std::fprintf(stderr, "wait_ready: the main window went away\n");
        return 1;
    }
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}
