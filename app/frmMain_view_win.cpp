// The main window as the logic and the print window see it: the view the
// logic draws through, and the look and image the print window asks for.
#include "frmMain_win.h"

#include "controls/controls_win.h"
#include "controls/drawing_win.h"
#include "layout.h"
#include "resource.h"

namespace quillet {

void frmMain::SetCaption(std::wstring_view caption) {
    ::SetWindowTextW(hwnd(), std::wstring(caption).c_str());
}

WindowGeometry frmMain::Geometry() const {
    WindowGeometry g;
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    g.left = ToTwips(r.left);
    g.top = ToTwips(r.top);
    g.width = ToTwips(r.right - r.left);
    g.height = ToTwips(r.bottom - r.top);
    g.state = ::IsIconic(hwnd())   ? WindowState::kMinimized
              : ::IsZoomed(hwnd()) ? WindowState::kMaximized
                                   : WindowState::kNormal;
    return g;
}

void frmMain::MoveTo(int left, int top) {
    ::SetWindowPos(hwnd(), nullptr, ToPixels(left), ToPixels(top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::SetWidth(int width) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, ToPixels(width), FixedWindowHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::ScreenSize(int& width, int& height) const {
    width = ToTwips(::GetSystemMetrics(SM_CXSCREEN));
    height = ToTwips(::GetSystemMetrics(SM_CYSCREEN));
}

void frmMain::StartMove() {
    ::ReleaseCapture();
    ::SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void frmMain::ShowNormal() {
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
}
void frmMain::Hide() {
    ::ShowWindow(hwnd(), SW_HIDE);
}
bool frmMain::IsVisible() const {
    return ::IsWindowVisible(hwnd()) != FALSE;
}

void frmMain::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// Children that changed have invalidated themselves; repainting them all
// again would double the cost of a store switch.
void frmMain::Repaint() {
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void frmMain::Layout(bool mirror, bool picturesShown) {
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    const int height = FixedWindowHeight();
    if (r.bottom - r.top != height)
        ::SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const MainLayout l = ComputeLayout(ToTwips(r.right - r.left), mirror, picturesShown);
    HDWP batch = ::BeginDeferWindowPos(64);
    bool moved = false;
    // Says whether the size changes.
    auto defer = [&](HWND w, const TwipsRect& t) {
        const RECT want = Place(t);
        RECT now{};
        ::GetWindowRect(w, &now);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
        const bool resized = now.right - now.left != want.right - want.left ||
                             now.bottom - now.top != want.bottom - want.top;
        if (!resized && now.left == want.left && now.top == want.top) return false;
        moved = true;
        if (batch)
            batch = ::DeferWindowPos(batch, w, nullptr, want.left, want.top, want.right - want.left,
                                     want.bottom - want.top,
                                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
        return resized;
    };
    // While the user drags the border, the long texts come back once the
    // window has kept its size for a moment.
    if (rows_.LayOut(l.rows, defer)) ::SetTimer(hwnd(), kTimerWholeTexts, 300, nullptr);
    defer(line_.LengthBox(), l.length);
    defer(line_.TextBox(), l.clipboard);
    defer(picBrindle_, l.logo);
    defer(lblBrindle_, l.maker);
    defer(pictures_.Panel(), l.pictures);
    // Each move would erase what it uncovers there and then, one piece at a
    // time; the repaint after the moves erases the window once.
    if (batch) ::EndDeferWindowPos(batch);
    if (moved || lineRight_ != l.lineRight) ::InvalidateRect(hwnd(), nullptr, TRUE);
    lineRight_ = l.lineRight;
}

void frmMain::Beep() {
    ::MessageBeep(MB_OK);
}

void frmMain::PumpEvents() {
    PumpWaitingMessages();
}

void frmMain::Activate() {
    ::SetForegroundWindow(hwnd());
    ::SetFocus(hwnd());
}

// A hidden window takes the focus when it shows; asking earlier only costs.
void frmMain::FocusPaste(int slot) {
    pendingFocus_ = rows_.PasteButton(slot);
    if (::IsWindowVisible(hwnd())) ::SetFocus(pendingFocus_);
}

// Menus take "&" for an access key: the name shows as typed.
void frmMain::SetStoreCaption(int store, std::wstring_view caption) {
    std::wstring text;
    for (wchar_t c : caption) text += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    MENUITEMINFOW mii{sizeof mii};
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(::GetMenu(hwnd()), IDM_STORE0 + store, FALSE, &mii);
}

void frmMain::SetStoreTooltip(int store, std::wstring_view tip) {
    strip_.SetTip(tips_, store, tip);
}

void frmMain::MarkStoreLabel(int store, bool current) {
    strip_.Mark(store, current);
}

void frmMain::ShowPictures(bool shown) {
    rows_.ShowTexts(!shown);
    pictures_.Show(shown);
}

void frmMain::SetClipboardText(std::wstring_view text) {
    line_.SetText(text);
}
void frmMain::SetClipboardLength(std::wstring_view text) {
    line_.SetLength(text);
}

// The component needs COM on this thread before OLE starts it for drag and
// drop; the later OleInitialize finds it running.
HotkeyService* frmMain::StartHotkeys(std::function<void(int32_t id)> onPress) {
    if (!com_ || !*com_) com_.emplace();
    hotkeyClient_ = HotkeyClient::Create(std::move(onPress));
    return hotkeyClient_.get();
}

HMENU frmMain::MenuOf(int item) const {
    if (item >= IDM_POPCOPY && item <= IDM_POPWALLPAPER) return pictures_.PopupMenu();
    return ::GetMenu(hwnd());
}

void frmMain::SetChecked(int item, bool checked) {
    ::CheckMenuItem(MenuOf(item), item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void frmMain::SetEnabled(int item, bool enabled) {
    ::EnableMenuItem(MenuOf(item), item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// What the print window reads and sets.

MainLook frmMain::CurrentLook() const {
    MainLook look;
    look.titleBackground = rows_.TitleColour();
    look.textBackground = rows_.TextColour();
    look.windowWhite = whiteBackground_;
    look.buttonsShown = rows_.ButtonsShown();
    // The label's own style: IsWindowVisible says no while the window is in
    // the tray.
    look.makerShown = (::GetWindowLongW(lblBrindle_, GWL_STYLE) & WS_VISIBLE) != 0;
    look.clipboardLength = WindowText(line_.LengthBox());
    look.clipboardText = WindowText(line_.TextBox());
    return look;
}

void frmMain::ApplyLook(const MainLook& look) {
    rows_.SetColours(look.titleBackground, look.textBackground);
    // The class brush erases the window: the stock white, or the button face
    // the class was registered with.
    whiteBackground_ = look.windowWhite;
    const HBRUSH background = whiteBackground_ ? static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))
                                               : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::SetClassLongPtrW(hwnd(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(background));
    rows_.ShowButtons(look.buttonsShown);
    ::ShowWindow(lblBrindle_, look.makerShown ? SW_SHOWNA : SW_HIDE);
    lookLength_ = look.clipboardLength;
    lookText_ = look.clipboardText;
    line_.SetLength(lookLength_);
    line_.SetText(lookText_);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A full repaint first, so the image is the window as it now looks; the
// repaint refreshes the clipboard line, which the look's own line replaces.
WindowImage frmMain::Image() {
    ::RedrawWindow(hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!lookLength_.empty() || !lookText_.empty()) {
        line_.SetLength(lookLength_);
        line_.SetText(lookText_);
        ::UpdateWindow(line_.LengthBox());
        ::UpdateWindow(line_.TextBox());
    }
    WindowImage image;
    image.bitmap = RenderClientArea(hwnd(), image.width, image.height);
    image.dpi = WindowDpi(hwnd());
    return image;
}

}  // namespace quillet
