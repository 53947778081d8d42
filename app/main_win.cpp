// The program's entry: one instance per session, then the main window.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>

#include "base/com_init_win.h"
#include "base/handles_win.h"
#include "base/module_path_win.h"
#include "base/window_win.h"
#include "frmMain_win.h"
#include "store/Module1.h"

namespace {

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
    // Ends after the window, whose drop targets it serves.
    std::optional<quillet::OleInit> ole;
    quillet::frmMain window;
    if (!window.Create(instance, quillet::ModuleFolder())) return 1;
    // After the window shows: starting OLE costs more than the window.
    ole.emplace();
    if (*ole) window.EnableDragDrop();
    return quillet::RunMessageLoop();
}
