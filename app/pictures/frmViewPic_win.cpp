// The preview window: sized to its picture on the work area of its monitor,
// the panning from the core, painting the visible part of the picture.
#include "pictures/frmViewPic_win.h"

#include <windowsx.h>

#include <algorithm>

#include "pictures/picture_loader_win.h"
#include "resource.h"

namespace quillet {

namespace {

// What the borders and title bar of this window add to its inner area.
SIZE FrameOf(HWND window, int dpi) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT r{0, 0, 0, 0};
    AdjustWindowRectForDpi(r, style, false, exStyle, dpi);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

PixelRect WorkAreaNear(HWND window) {
    MONITORINFO info{sizeof info};
    const HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !::GetMonitorInfoW(monitor, &info)) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    const RECT& w = info.rcWork;
    return PixelRect{w.left, w.top, w.right - w.left, w.bottom - w.top};
}

}  // namespace

frmViewPic::~frmViewPic() {
    Destroy();
}

POINT frmViewPic::PicturePosition() const {
    return POINT{ToPixels(form_.PictureLeft()), ToPixels(form_.PictureTop())};
}

void frmViewPic::ShowPicture(const std::wstring& path) {
    UniqueBitmap loaded = LoadPictureFile(path);
    if (!loaded) return;
    const bool first = !hwnd();
    if (first && !Form_Load()) return;
    picture_ = std::move(loaded);
    size_ = BitmapSize(picture_.get());
    Picture2_Change(first);
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    ::UpdateWindow(hwnd());
}

void frmViewPic::Close() {
    Destroy();
}

// Made on the first opening and topmost from then on, so the main window
// goes on working beneath it.
bool frmViewPic::Form_Load() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    wc.lpszClassName = kPreviewWindowClass;
    RegisterClassOf(wc);
    if (!CreateAs(0, kPreviewWindowClass, kPreviewTitle, WS_OVERLAPPEDWINDOW, RECT{0, 0, 1, 1},
                  nullptr, nullptr, instance))
        return false;
    dpi_ = WindowDpi(hwnd());
    ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

// The window takes the picture's size with its real frame, on the work area
// of its monitor: the first time the main window's, later its own.
void frmViewPic::Picture2_Change(bool firstOpening) {
    const SIZE frame = FrameOf(hwnd(), dpi_);
    const PixelRect work = WorkAreaNear(firstOpening && main_ ? main_ : hwnd());
    PixelRect now;
    if (firstOpening) {
        now = CentredOn(work, size_.cx + frame.cx, size_.cy + frame.cy);
    } else {
        RECT r{};
        ::GetWindowRect(hwnd(), &r);
        now = PixelRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    const PixelRect r = PreviewWindowRect(now, size_.cx, size_.cy, frame.cx, frame.cy, work);
    ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // A picture of the window's size sends no WM_SIZE, but it starts at its
    // corner all the same.
    Form_Resize();
}

void frmViewPic::Form_Resize() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    form_.FormResize(ToTwips(client.right), ToTwips(client.bottom), ToTwips(size_.cx),
                     ToTwips(size_.cy));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// The picture keeps its pixels; the pan offsets are laid out again.
void frmViewPic::OnDpiChanged(int, int toDpi, const RECT& suggested) {
    dpi_ = toDpi;
    PlaceAt(suggested);
    Form_Resize();
}

void frmViewPic::Form_Unload() {
    picture_.reset();
    size_ = SIZE{};
    form_.Reset();
}

LRESULT frmViewPic::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            Form_Resize();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_SETCURSOR:
            if (OnSetCursor(lp)) return TRUE;
            return Default(msg, wp, lp);
        case WM_LBUTTONDOWN:
            Picture2_MouseDown(lp);
            return 0;
        case WM_MOUSEMOVE:
            Picture2_MouseMove(lp);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Picture2_MouseUp();
            return 0;
        case WM_CAPTURECHANGED:
            form_.Picture2_MouseUp();
            return 0;
        case WM_LBUTTONDBLCLK:
            Picture2_DblClick();
            return 0;
        case WM_DESTROY:
            Form_Unload();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

void frmViewPic::OnPaint() {
    PaintScope paint(hwnd());
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const POINT at = PicturePosition();
    const RECT shown{at.x, at.y, at.x + size_.cx, at.y + size_.cy};
    RECT part{};
    if (picture_ && ::IntersectRect(&part, &shown, &paint.Dirty())) {
        UniqueMemoryDc dc(::CreateCompatibleDC(paint.get()));
        if (dc) {
            SelectObjectScope keep(dc.get(), picture_.get());
            ::BitBlt(paint.get(), part.left, part.top, part.right - part.left,
                     part.bottom - part.top, dc.get(), part.left - at.x, part.top - at.y, SRCCOPY);
        }
        ::ExcludeClipRect(paint.get(), shown.left, shown.top, shown.right, shown.bottom);
    }
    // Beside a picture smaller than the window: the window's face.
    ::FillRect(paint.get(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
}

bool frmViewPic::OnSetCursor(LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT) return false;
    ::SetCursor(::LoadCursorW(nullptr, form_.Dragging() ? IDC_SIZEALL : IDC_ARROW));
    return true;
}

POINT frmViewPic::PictureTwips(LPARAM lp) const {
    return POINT{ToTwips(GET_X_LPARAM(lp)) + form_.HScroll1().value,
                 ToTwips(GET_Y_LPARAM(lp)) + form_.VScroll1().value};
}

// The window holds the mouse through the drag, so it may leave the window
// and the picture still follows.
void frmViewPic::Picture2_MouseDown(LPARAM lp) {
    const POINT at = PictureTwips(lp);
    if (!form_.Picture2_MouseDown(1, at.x, at.y)) return;
    ::SetCapture(hwnd());
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
}

void frmViewPic::Picture2_MouseMove(LPARAM lp) {
    if (!form_.Dragging()) return;
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
    const POINT at = PictureTwips(lp);
    if (!form_.Picture2_MouseMove(at.x, at.y)) return;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    ::UpdateWindow(hwnd());
}

void frmViewPic::Picture2_MouseUp() {
    form_.Picture2_MouseUp();
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
}

void frmViewPic::Picture2_DblClick() {
    Picture2_MouseUp();
    Close();
}

}  // namespace quillet
