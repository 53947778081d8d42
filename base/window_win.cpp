// The window base: its window procedure and the message loops.
#include "base/window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillet {

// By now the derived object is gone: the window's last messages go to the
// default procedure. Derived windows that handle WM_DESTROY call Destroy in
// their own destructor.
Window::~Window() {
    if (!hwnd_) return;
    const HWND hwnd = hwnd_;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(hwnd);
}

void Window::RegisterClassOf(WNDCLASSEXW wc) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    ::RegisterClassExW(&wc);
}

void Window::RegisterFaceClass(HINSTANCE instance, const wchar_t* className, LPCWSTR cursor,
                               HICON icon) {
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassOf(wc);
}

HWND Window::CreateAs(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      RECT at, HWND parent, HMENU menu, HINSTANCE instance) {
    return ::CreateWindowExW(exStyle, className, title, style, at.left, at.top, at.right - at.left,
                             at.bottom - at.top, parent, menu, instance, this);
}

void Window::OnDpiChanged(int fromDpi, int toDpi, const RECT& suggested) {
    children_.Rescale(hwnd_, fromDpi, toDpi);
    PlaceAt(suggested);
}

void Window::PlaceAt(const RECT& r) {
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FixedWindow::ShowInFront() {
    if (!hwnd()) Load();
    if (!hwnd()) return;
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd());
}

bool FixedWindow::CreateCentred(HINSTANCE instance, const wchar_t* className, int icon,
                                const wchar_t* title, DWORD style, SIZE client) {
    dpi_ = SystemDpi();
    RegisterFaceClass(instance, className, IDC_ARROW,
                      ::LoadIconW(instance, MAKEINTRESOURCEW(icon)));
    RECT frame{0, 0, Px(client.cx), Px(client.cy)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + ((work.right - work.left) - width) / 2;
    const int top = work.top + ((work.bottom - work.top) - height) / 2;
    return CreateAs(WS_EX_CONTROLPARENT, className, title, style,
                    RECT{left, top, left + width, top + height}, nullptr, nullptr,
                    instance) != nullptr;
}

void Window::MatchMonitorDpi(int dpi) {
    shownDpi_ = dpi;
    const int shown = WindowDpi(hwnd_);
    if (!hwnd_ || shown == dpi) return;
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    const RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, shown, dpi),
                         r.top + ::MulDiv(r.bottom - r.top, shown, dpi)};
    shownDpi_ = shown;
    OnDpiChanged(dpi, shown, suggested);
}

void Window::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_DPICHANGED) {
        return Guarded(msg, [&]() -> LRESULT {
            const int from = self->shownDpi_ ? self->shownDpi_ : SystemDpi();
            self->shownDpi_ = HIWORD(wp);
            self->OnDpiChanged(from, self->shownDpi_, *reinterpret_cast<const RECT*>(lp));
            return 0;
        });
    }
    const LRESULT result = Guarded(msg, [&] { return self->OnMessage(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

namespace {

struct Subclassed {
    WNDPROC original;
    void* owner;
    UINT_PTR id;
    ControlHandler handler;
};

// The subclassed controls, all on the one interface thread.
std::unordered_map<HWND, Subclassed>& SubclassedControls() {
    static std::unordered_map<HWND, Subclassed> controls;
    return controls;
}

LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto& controls = SubclassedControls();
    const auto found = controls.find(hwnd);
    if (found == controls.end()) return ::DefWindowProcW(hwnd, msg, wp, lp);
    const Subclassed control = found->second;
    if (msg == WM_NCDESTROY)
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control.original));
    const LRESULT result =
        Guarded(msg, [&] { return control.handler(control.owner, hwnd, msg, wp, lp, control.id); });
    if (msg == WM_NCDESTROY) controls.erase(hwnd);
    return result;
}

std::vector<HWND>& MouseRelays() {
    static std::vector<HWND> relays;
    return relays;
}

std::vector<std::pair<HWND, HACCEL>>& Accelerators() {
    static std::vector<std::pair<HWND, HACCEL>> tables;
    return tables;
}

void Dispatch(MSG& msg) {
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
        for (HWND relay : MouseRelays())
            ::SendMessageW(relay, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    const HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN))
        for (const auto& [window, table] : Accelerators())
            if (window == root && ::TranslateAcceleratorW(root, table, &msg)) return;
    if (root && (::GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        ::IsDialogMessageW(root, &msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

}  // namespace

bool SubclassControlWith(HWND control, void* owner, UINT_PTR id, ControlHandler handler) {
    auto& controls = SubclassedControls();
    if (!control || controls.count(control)) return false;
    const auto original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (!original) return false;
    controls[control] = Subclassed{original, owner, id, handler};
    if (!::SetWindowLongPtrW(control, GWLP_WNDPROC,
                             reinterpret_cast<LONG_PTR>(&ControlProcedure))) {
        controls.erase(control);
        return false;
    }
    return true;
}

LRESULT CallControlDefault(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
    const auto& controls = SubclassedControls();
    const auto found = controls.find(control);
    if (found == controls.end()) return ::DefWindowProcW(control, msg, wp, lp);
    return ::CallWindowProcW(found->second.original, control, msg, wp, lp);
}

void AddMouseRelay(HWND relay) {
    if (relay) MouseRelays().push_back(relay);
}

void RemoveMouseRelay(HWND relay) {
    auto& relays = MouseRelays();
    relays.erase(std::remove(relays.begin(), relays.end(), relay), relays.end());
}

void SetAccelerators(HWND root, HACCEL table) {
    auto& tables = Accelerators();
    tables.erase(std::remove_if(tables.begin(), tables.end(),
                                [root](const auto& entry) { return entry.first == root; }),
                 tables.end());
    if (root && table) tables.emplace_back(root, table);
}

int RunMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) Dispatch(msg);
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

bool PumpWaitingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

}  // namespace quillet
