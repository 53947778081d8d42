// The program's entry: one instance per session, then the main window.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <filesystem>

#include "frmMain_win.h"
#include "store/Module1.h"
#include "util/handles_win.h"

namespace {

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

// Brings the running instance's window up: our own class first, so that an
// unrelated window with the same title is not picked.
void ShowRunningInstance() {
    const std::wstring title(quillet::kProgramTitle);
    HWND other = ::FindWindowW(quillet::kMainWindowClass, title.c_str());
    if (!other) other = ::FindWindowW(nullptr, title.c_str());
    if (!other) return;
    ::ShowWindow(other, SW_SHOWNORMAL);
    ::SetForegroundWindow(other);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    quillet::UniqueKernelHandle instanceMutex(
        ::CreateMutexW(nullptr, FALSE, L"Local\\Brindle.QuilletPro.Instance"));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowRunningInstance();
        return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    HRESULT ole = E_FAIL;
    int exitCode = 1;
    {
        quillet::frmMain window;
        if (window.Create(instance, ProgramFolder())) {
            // After the window shows: starting OLE costs more than the window.
            ole = ::OleInitialize(nullptr);
            if (SUCCEEDED(ole)) window.EnableDragDrop();
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (window.hwnd() && ::IsDialogMessageW(window.hwnd(), &msg)) continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            exitCode = static_cast<int>(msg.wParam);
        }
    }
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return exitCode;
}
