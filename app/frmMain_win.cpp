// The main window: creation, the message dispatch to the logic, and the
// view the logic draws through.
#include "frmMain_win.h"

#include <commctrl.h>

#include <algorithm>

#include "controls_win.h"
#include "layout.h"
#include "resource.h"
#include "store/encoding.h"
#include "util/strings_win.h"

namespace quillet {

namespace {

// Whether a control id is one of the ten numbered from `first`.
bool IsSlotControl(int id, int first) {
    return id >= first && id < first + kSlotCount;
}

constexpr UINT kMsgApplyFocus = WM_APP + 1;
constexpr COLORREF kStripColour = RGB(0xC0, 0xC0, 0xC0);

const wchar_t* const kStoreLabelText[16] = {L"P", L"1",  L"2",  L"3",  L"4",  L"5",  L"6",  L"7",
                                            L"8", L"9", L"10", L"11", L"12", L"13", L"14", L"15"};

// Menu items and what they run: the logic's handlers without arguments.
struct MenuCommand {
    int id;
    void (MainForm::*handler)();
};
constexpr MenuCommand kMenuCommands[] = {
    {IDM_FILESAVE, &MainForm::mnuFileSave_Click},
    {IDM_REVERT, &MainForm::mnuRevert_Click},
    {IDM_OPPOSITECASE, &MainForm::mnuOppositeCase_Click},
    {IDM_LOWERCASE, &MainForm::mnuLowerCase_Click},
    {IDM_UPPERCASE, &MainForm::mnuUpperCase_Click},
    {IDM_GETIP, &MainForm::mnuGetIP_Click},
    {IDM_CLOSE, &MainForm::mnuClose_Click},
    {IDM_CLEARLABELS, &MainForm::mnuClearLabels_Click},
    {IDM_CLEARCONTENTS, &MainForm::mnuClearContents_Click},
    {IDM_CLEARSTORE, &MainForm::mnuClearStore_Click},
    {IDM_CLEARALLSTORESXLABELS, &MainForm::mnuClearAllStoresXLabels_Click},
    {IDM_CLEARALL, &MainForm::mnuClearAll_Click},
    {IDM_EMPTYCLIPBOARD, &MainForm::mnuEmptyClipboard_Click},
    {IDM_CUT, &MainForm::mnuCut_Click},
    {IDM_COPY, &MainForm::mnuCopy_Click},
    {IDM_PASTE, &MainForm::mnuPaste_Click},
    {IDM_UNDO, &MainForm::mnuUndo_Click},
    {IDM_SELECTALL, &MainForm::mnuSelectAll_Click},
    {IDM_AUTOSAVE, &MainForm::submnuAutoSave_Click},
    {IDM_TELL, &MainForm::mnuTell_Click},
    {IDM_HOME, &MainForm::submnuHome_Click},
    {IDM_FEEDBACK, &MainForm::submnuFeedback_Click},
    {IDM_POPCOPY, &MainForm::popCopy_Click},
    {IDM_POPPASTE, &MainForm::popPaste_Click},
    {IDM_POPDELETE, &MainForm::popDelete_Click},
    {IDM_POPUNDO, &MainForm::popUndo_Click},
};

// Controls numbered by slot or store, and the window's handler of each.
struct RangeCommand {
    int first, count;
    void (frmMain::*handler)(int index, int code);
};

// Copy and Paste buttons carry a small picture instead of a caption.
void DrawSlotButton(const DRAWITEMSTRUCT& item, bool copy) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int off = pressed ? 1 : 0;
    UniqueBrush sheet(::CreateSolidBrush(RGB(255, 255, 255)));
    UniqueBrush ink(::CreateSolidBrush(copy ? RGB(30, 80, 170) : RGB(170, 60, 30)));
    auto box = [&](int l, int t, int rr, int b, HBRUSH fill) {
        RECT x{r.left + l + off, r.top + t + off, r.left + rr + off, r.top + b + off};
        ::FillRect(dc, &x, fill);
        ::FrameRect(dc, &x, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    };
    if (copy) {  // two sheets, one over the other
        box(w / 5, h / 6, w * 3 / 5 + 1, h * 3 / 5, sheet.get());
        box(w * 2 / 5, h * 2 / 5, w * 4 / 5, h * 5 / 6, ink.get());
    } else {  // a clipboard
        box(w / 5, h / 5, w * 4 / 5, h * 5 / 6, ink.get());
        box(w * 2 / 5 - 1, h / 8, w * 3 / 5 + 1, h / 4 + 1, sheet.get());
    }
    if (item.itemState & ODS_FOCUS) {
        RECT f = r;
        ::InflateRect(&f, -2, -2);
        ::DrawFocusRect(dc, &f);
    }
}

// The maker's mark: a quill-coloured square with a white stroke.
void DrawLogo(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    UniqueBrush fill(::CreateSolidBrush(RGB(32, 80, 160)));
    ::FillRect(item.hDC, &r, fill.get());
    UniqueBrush stroke(::CreateSolidBrush(RGB(255, 255, 255)));
    const RECT s{r.left + (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 - 1,
                 r.right - (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 + 1};
    ::FillRect(item.hDC, &s, stroke.get());
}

int ScreenDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

frmMain::frmMain(FileSystem& fs) : fs_(fs) {}

frmMain::~frmMain() { Destroy(); }

RECT frmMain::Place(const TwipsRect& r) const {
    return RECT{ToPixels(r.left), ToPixels(r.top), ToPixels(r.left + r.width),
                ToPixels(r.top + r.height)};
}

bool frmMain::Create(HINSTANCE instance, std::wstring_view programFolder) {
    instance_ = instance;
    dpi_ = ScreenDpi();

    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    wc.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = kMainWindowClass;
    RegisterClassOf(wc);

    logic_ = std::make_unique<MainForm>(*this, pictures_, prompt_, fs_, SystemCodec(), clipboard_,
                                        cases_, Desktop{keys_, clock_, shell_, resolver_});

    RECT frame{0, 0, ToPixels(kDesignClientWidth), ToPixels(kDesignClientHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    const RECT at{ToPixels(kDesignLeft), ToPixels(kDesignTop),
                  ToPixels(kDesignLeft) + frame.right - frame.left,
                  ToPixels(kDesignTop) + frame.bottom - frame.top};
    if (!CreateAs(WS_EX_CONTROLPARENT, kMainWindowClass, L"", style, at, nullptr, nullptr,
                  instance))
        return false;
    prompt_.SetOwner(hwnd());
    clipboard_.SetOwner(hwnd());
    CreateControls();

    logic_->FormLoad(programFolder);
    if (!logic_->CurrentOptions().startInTray) {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
        ::UpdateWindow(hwnd());
    }
    CreateTooltips();
    // Tells automation (and the tests) that start-up is over.
    ::SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(1));
    return true;
}

void frmMain::CreateControls() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    font_.reset(::CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    currentLabelFont_.reset(::CreateFontIndirectW(&lf));
    LOGFONTW small{};
    small.lfHeight = -MulDiv(6, dpi_, 72);
    ::lstrcpynW(small.lfFaceName, L"Small Fonts", LF_FACESIZE);
    smallFont_.reset(::CreateFontIndirectW(&small));
    stripBrush_.reset(::CreateSolidBrush(kStripColour));

    auto setFont = [](HWND w, HFONT f) {
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    };
    RECT window{};
    ::GetWindowRect(hwnd(), &window);
    const MainLayout l = ComputeLayout(ToTwips(window.right - window.left), false, false);

    strip_ = CreatePanel(hwnd(), IDC_STORESTRIP, Place(l.strip), WS_VISIBLE | WS_CLIPSIBLINGS,
                         WS_EX_CONTROLPARENT, stripBrush_.get());
    ::SetWindowTextW(strip_, L"Select Store");
    for (int n = 0; n < kStoreCount; ++n) {
        lblStore_[n] = CreateChild(strip_, L"STATIC", kStoreLabelText[n], SS_NOTIFY | SS_CENTER,
                                   IDC_LBLSTORE0 + n, Place(l.labels[n]));
        setFont(lblStore_[n], font_.get());
        storeTips_[n] = n == 0 ? L"Pictures" : DefaultCaption(n);
    }

    for (int i = 0; i < kSlotCount; ++i) {
        const RowRects& row = l.rows[i];
        txtTitle_[i] = CreateChild(hwnd(), L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                   IDC_TXTTITLE0 + i, Place(row.title));
        const HWND text = CreateChild(hwnd(), L"EDIT", L"",
                                      WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                                          ES_WANTRETURN | (i >= 8 ? WS_VSCROLL : 0),
                                      IDC_TXT0 + i, Place(row.text));
        txt_[i].Attach(text);
        ::SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // no limit but memory
        ::SendMessageW(txtTitle_[i], EM_SETLIMITTEXT, 0, 0);
        const HWND copy = CreateChild(hwnd(), L"BUTTON", CopyButtonTip(i).c_str(),
                                      WS_TABSTOP | BS_OWNERDRAW, IDC_PICCOPY0 + i, Place(row.copy));
        copy_[i].Attach(copy, [this, i] { return logic_->picCopy_OLEStartDrag(i); });
        picPaste_[i] = CreateChild(hwnd(), L"BUTTON", PasteButtonTip(i).c_str(),
                                   WS_TABSTOP | BS_OWNERDRAW, IDC_PICPASTE0 + i, Place(row.paste));
        label1_[i] = CreateChild(hwnd(), L"STATIC", std::to_wstring(i + 1).c_str(), SS_CENTER,
                                 IDC_LABEL1_0 + i, Place(row.number));
        setFont(txtTitle_[i], font_.get());
        setFont(text, font_.get());
        setFont(label1_[i], smallFont_.get());
        ::DragAcceptFiles(picPaste_[i], TRUE);
        for (HWND w : {txtTitle_[i], text})
            ::SetWindowSubclass(w, RowControlProc, static_cast<UINT_PTR>(::GetDlgCtrlID(w)),
                                reinterpret_cast<DWORD_PTR>(this));
    }

    txtLength_ = CreateChild(hwnd(), L"EDIT", L"", WS_BORDER | ES_READONLY | ES_RIGHT,
                             IDC_TXTLENGTH, Place(l.length));
    txtClipboard_ = CreateChild(hwnd(), L"EDIT", L"", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL,
                                IDC_TXTCLIPBOARD, Place(l.clipboard));
    setFont(txtLength_, font_.get());
    setFont(txtClipboard_, font_.get());
    ::SendMessageW(txtClipboard_, EM_SETLIMITTEXT, 0, 0);
    picBrindle_ = CreateChild(hwnd(), L"STATIC", L"Brindle", SS_OWNERDRAW | SS_NOTIFY,
                              IDC_PICBRINDLE, Place(l.logo));
    lblBrindle_ =
        CreateChild(hwnd(), L"STATIC", L"Brindle", SS_CENTER, IDC_LBLBRINDLE, Place(l.maker));
    setFont(lblBrindle_, smallFont_.get());

    pictures_.Create(
        hwnd(), IDC_PICPICTURES, Place(l.pictures), dpi_, smallFont_.get(), hwnd(),
        [this](HWND control, const std::wstring& tip) { AddTooltip(control, tip); },
        [this](int slot, int button) { logic_->Box_MouseDown(slot, button); });
}

// Tooltips come once the window shows: they are not needed before, and
// registering them costs more than the rest of the start-up.
void frmMain::CreateTooltips() {
    // Unowned: under Wine a topmost owned pop-up keeps its owner from becoming
    // topmost, which would break Stay on Top.
    tooltip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     instance_, nullptr));
    AddTooltip(strip_, L"Select Store");
    AddTooltip(txtClipboard_, L"Current contents of the clipboard");
    AddTooltip(txtLength_, L"Number of characters in the clipboard");
    pictures_.EnableTooltips();
    for (int n = 0; n < kStoreCount; ++n) AddTooltip(lblStore_[n], storeTips_[n]);
    for (int i = 0; i < kSlotCount; ++i) {
        AddTooltip(copy_[i].hwnd(), CopyButtonTip(i));
        AddTooltip(picPaste_[i], PasteButtonTip(i));
    }
}

void frmMain::AddTooltip(HWND control, const std::wstring& text) {
    if (!tooltip_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

HWND frmMain::Control(int id) const {
    if (id >= IDC_LBLSTORE0 && id < IDC_LBLSTORE0 + kStoreCount) return ::GetDlgItem(strip_, id);
    return ::GetDlgItem(hwnd(), id);
}

void frmMain::EnableDragDrop() {
    for (int i = 0; i < kSlotCount; ++i) {
        dropTargets_[i] = DropRegistration(
            txt_[i].hwnd(), SlotDropTarget::Create([this, i](const DropContent& d) {
                logic_->txt_OLEDragDrop(i, d);
            }));
    }
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_SIZE:
            if (!inResize_) {
                inResize_ = true;
                logic_->FormResize();
                inResize_ = false;
            }
            return 0;
        case WM_SHOWWINDOW:
            if (wp && pendingFocus_) ::PostMessageW(hwnd(), kMsgApplyFocus, 0, 0);
            return Default(msg, wp, lp);
        case kMsgApplyFocus:
            if (pendingFocus_) ::SetFocus(pendingFocus_);
            return 0;
        case WM_GETMINMAXINFO:
            OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            logic_->FormQueryUnload(UnloadMode::kSession);
            return TRUE;
        case WM_ENDSESSION:
            if (wp) {
                logic_->FormUnload();
                Destroy();
            }
            return 0;
        case WM_DESTROY:
            for (DropRegistration& target : dropTargets_) target = DropRegistration();
            ::RemovePropW(hwnd(), kReadyProperty);
            ::PostQuitMessage(0);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

void frmMain::OnCommand(int id, int code, HWND control) {
    static constexpr RangeCommand kRanges[] = {
        {IDC_LBLSTORE0, kStoreCount, &frmMain::OnStoreLabel},
        {IDM_STORE0, kStoreCount, &frmMain::OnStoreMenu},
        {IDC_PICCOPY0, kSlotCount, &frmMain::OnCopyButton},
        {IDC_PICPASTE0, kSlotCount, &frmMain::OnPasteButton},
        {IDC_TXT0, kSlotCount, &frmMain::OnTextBox},
        {IDC_TXTTITLE0, kSlotCount, &frmMain::OnTitleBox},
        {IDC_TXTLENGTH, 2, &frmMain::OnClipboardLine},
    };
    // Menus and accelerators send no control; the range of the Stores menu
    // is told from the store labels that way.
    for (const RangeCommand& r : kRanges) {
        if (id < r.first || id >= r.first + r.count) continue;
        if ((r.first == IDM_STORE0) != (control == nullptr)) continue;
        (this->*r.handler)(id - r.first, code);
        return;
    }
    if (control) return;
    if (id == IDM_EXIT) return OnExit();
    for (const MenuCommand& c : kMenuCommands) {
        if (c.id == id) {
            (logic_.get()->*c.handler)();
            return;
        }
    }
}

void frmMain::OnStoreLabel(int store, int code) {
    if (code == STN_CLICKED) logic_->lblStore_Click(store);
}
void frmMain::OnStoreMenu(int store, int) { logic_->submnustore_Click(store); }

// A mouse press has copied already; this is the keyboard's press.
void frmMain::OnCopyButton(int slot, int code) {
    if (code == BN_CLICKED && !copy_[slot].InMouseRelease()) logic_->picCopy_OLEStartDrag(slot);
}
void frmMain::OnPasteButton(int slot, int code) {
    if (code == BN_CLICKED) logic_->picPaste_Click(slot);
}
void frmMain::OnTextBox(int slot, int code) {
    if (code == EN_CHANGE && !txt_[slot].ChangingQuietly()) logic_->txt_Change(slot);
    if (code == EN_SETFOCUS) logic_->txt_GotFocus(slot);
}
void frmMain::OnTitleBox(int slot, int code) {
    if (code == EN_SETFOCUS) logic_->txtTitle_GotFocus(slot);
}
void frmMain::OnClipboardLine(int index, int code) {
    if (code != EN_SETFOCUS) return;
    index == 0 ? logic_->txtLength_Click() : logic_->txtClipboard_Click();
}

// The close box only hides the window; the program stays in the tray.
void frmMain::OnClose() { logic_->FormQueryUnload(UnloadMode::kUser); }

void frmMain::OnExit() {
    if (logic_->FormQueryUnload(UnloadMode::kProgram)) return;
    logic_->FormUnload();
    Destroy();
}

LRESULT CALLBACK frmMain::RowControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self) {
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, RowControlProc, id);
    return GuardMessage(msg, [&]() -> LRESULT {
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
        if (msg != WM_LBUTTONUP) return result;
        MainForm& logic = *reinterpret_cast<frmMain*>(self)->logic_;
        IsSlotControl(static_cast<int>(id), IDC_TXT0) ? logic.txt_Click() : logic.txtTitle_Click();
        return result;
    });
}

LRESULT frmMain::OnColour(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (id >= IDC_LBLSTORE0 && id < IDC_LBLSTORE0 + kStoreCount) {
        ::SetTextColor(dc, labelCurrent_[id - IDC_LBLSTORE0] ? RGB(255, 0, 0) : RGB(0, 0, 0));
        ::SetBkColor(dc, kStripColour);
        return reinterpret_cast<LRESULT>(stripBrush_.get());
    }
    if (IsSlotControl(id, IDC_TXTTITLE0) && titleBrush_) {
        ::SetBkColor(dc, titleColour_);
        return reinterpret_cast<LRESULT>(titleBrush_.get());
    }
    if (IsSlotControl(id, IDC_TXT0) && textBrush_) {
        ::SetBkColor(dc, textColour_);
        return reinterpret_cast<LRESULT>(textBrush_.get());
    }
    return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(control));
}

void frmMain::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (IsSlotControl(id, IDC_PICCOPY0))
        DrawSlotButton(item, true);
    else if (IsSlotControl(id, IDC_PICPASTE0))
        DrawSlotButton(item, false);
    else if (id == IDC_PICBRINDLE)
        DrawLogo(item);
    else
        pictures_.Draw(item);
}

void frmMain::OnPaint() {
    {
        PaintScope paint(hwnd());
        // Line1 runs under the store strip, from the left edge to the width.
        UniquePen pen(::CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
        SelectObjectScope keep(paint.get(), pen.get());
        const int y = ToPixels(660);
        ::MoveToEx(paint.get(), 0, y, nullptr);
        ::LineTo(paint.get(), ToPixels(lineRight_), y);
    }
    logic_->ShowClipboard();  // every repaint refreshes the clipboard line
}

int frmMain::FixedWindowHeight() const {
    RECT window, client;
    ::GetWindowRect(hwnd(), &window);
    ::GetClientRect(hwnd(), &client);
    const int nonClient = (window.bottom - window.top) - (client.bottom - client.top);
    return nonClient + ToPixels(kClientHeight);
}

void frmMain::OnMinMaxInfo(MINMAXINFO& info) {
    const int height = FixedWindowHeight();
    info.ptMinTrackSize.x = ToPixels(kMinWidth);
    info.ptMinTrackSize.y = height;
    info.ptMaxTrackSize.y = height;
}

// MainView

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

void frmMain::ShowNormal() { ::ShowWindow(hwnd(), SW_SHOWNORMAL); }
void frmMain::Hide() { ::ShowWindow(hwnd(), SW_HIDE); }
bool frmMain::IsVisible() const { return ::IsWindowVisible(hwnd()) != FALSE; }

void frmMain::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE);
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
    auto defer = [&](HWND w, const TwipsRect& t) {
        const RECT want = Place(t);
        RECT now{};
        ::GetWindowRect(w, &now);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
        if (now.left == want.left && now.top == want.top &&
            now.right - now.left == want.right - want.left &&
            now.bottom - now.top == want.bottom - want.top)
            return;
        moved = true;
        if (batch)
            batch = ::DeferWindowPos(batch, w, nullptr, want.left, want.top,
                                     want.right - want.left, want.bottom - want.top,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (int i = 0; i < kSlotCount; ++i) {
        defer(txtTitle_[i], l.rows[i].title);
        defer(txt_[i].hwnd(), l.rows[i].text);
        defer(copy_[i].hwnd(), l.rows[i].copy);
        defer(picPaste_[i], l.rows[i].paste);
        defer(label1_[i], l.rows[i].number);
    }
    defer(txtLength_, l.length);
    defer(txtClipboard_, l.clipboard);
    defer(picBrindle_, l.logo);
    defer(lblBrindle_, l.maker);
    defer(pictures_.Panel(), l.pictures);
    if (batch) ::EndDeferWindowPos(batch);
    if (moved || lineRight_ != l.lineRight) ::InvalidateRect(hwnd(), nullptr, TRUE);
    lineRight_ = l.lineRight;
}

void frmMain::Beep() { ::MessageBeep(MB_OK); }

std::wstring frmMain::SlotText(int slot) const { return txt_[slot].Text(); }
void frmMain::SetSlotText(int slot, std::wstring_view text) { txt_[slot].SetText(text); }
std::wstring frmMain::SlotTitle(int slot) const { return WindowText(txtTitle_[slot]); }
void frmMain::SetSlotTitle(int slot, std::wstring_view title) {
    ::SetWindowTextW(txtTitle_[slot], std::wstring(title).c_str());
}

void frmMain::SetSlotColours(unsigned titleBackground, unsigned textBackground) {
    titleColour_ = titleBackground;
    textColour_ = textBackground;
    titleBrush_.reset(::CreateSolidBrush(titleColour_));
    textBrush_.reset(::CreateSolidBrush(textColour_));
    for (int i = 0; i < kSlotCount; ++i) {
        ::InvalidateRect(txtTitle_[i], nullptr, TRUE);
        ::InvalidateRect(txt_[i].hwnd(), nullptr, TRUE);
    }
}

HWND frmMain::BoxWindow(BoxRef box) const {
    return box.kind == BoxRef::Kind::kText ? txt_[box.slot].hwnd() : txtTitle_[box.slot];
}

std::optional<BoxRef> frmMain::ActiveBox() const {
    const HWND focus = ::GetFocus();
    if (!focus) return std::nullopt;
    for (int i = 0; i < kSlotCount; ++i) {
        if (focus == txt_[i].hwnd()) return BoxRef{BoxRef::Kind::kText, i};
        if (focus == txtTitle_[i]) return BoxRef{BoxRef::Kind::kTitle, i};
    }
    return std::nullopt;
}

std::wstring frmMain::SelectedText(BoxRef box) const {
    HWND w = BoxWindow(box);
    DWORD start = 0, end = 0;
    ::SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = WindowText(w);
    if (start >= end || start >= text.size()) return {};
    return text.substr(start, end - start);
}

void frmMain::ReplaceSelection(BoxRef box, std::wstring_view text) {
    if (box.kind == BoxRef::Kind::kText) return txt_[box.slot].ReplaceSelection(text);
    const std::wstring with(text);
    ::SendMessageW(txtTitle_[box.slot], EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(with.c_str()));
}

void frmMain::SelectAll(BoxRef box) { ::SendMessageW(BoxWindow(box), EM_SETSEL, 0, -1); }

void frmMain::PumpEvents() { PumpWaitingMessages(); }

void frmMain::Activate() {
    ::SetForegroundWindow(hwnd());
    ::SetFocus(hwnd());
}

// A hidden window takes the focus when it shows; asking earlier only costs.
void frmMain::FocusPaste(int slot) {
    pendingFocus_ = picPaste_[slot];
    if (::IsWindowVisible(hwnd())) ::SetFocus(pendingFocus_);
}

void frmMain::SetStoreCaption(int store, std::wstring_view caption) {
    const std::wstring text(caption);
    MENUITEMINFOW mii{sizeof mii};
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(::GetMenu(hwnd()), IDM_STORE0 + store, FALSE, &mii);
}

void frmMain::SetStoreTooltip(int store, std::wstring_view tip) {
    storeTips_[store] = std::wstring(tip);
    if (!tooltip_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(lblStore_[store]);
    ti.lpszText = storeTips_[store].data();
    ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void frmMain::MarkStoreLabel(int store, bool current) {
    if (labelCurrent_[store] == current) return;
    labelCurrent_[store] = current;
    ::SendMessageW(lblStore_[store], WM_SETFONT,
                   reinterpret_cast<WPARAM>(current ? currentLabelFont_.get() : font_.get()), TRUE);
    ::InvalidateRect(lblStore_[store], nullptr, TRUE);
}

// The text boxes keep their texts under the picture panel; hidden, they
// cannot paint through it.
void frmMain::ShowPictures(bool shown) {
    for (const SlotTextBox& box : txt_) ::ShowWindow(box.hwnd(), shown ? SW_HIDE : SW_SHOWNA);
    pictures_.Show(shown);
}

void frmMain::SetClipboardText(std::wstring_view text) {
    // Unchanged text is not set again: that would repaint the line endlessly.
    if (WindowText(txtClipboard_) != text)
        ::SetWindowTextW(txtClipboard_, std::wstring(text).c_str());
}

void frmMain::SetClipboardLength(std::wstring_view text) {
    if (WindowText(txtLength_) != text) ::SetWindowTextW(txtLength_, std::wstring(text).c_str());
}

void frmMain::ShowProgress(std::wstring_view caption, std::wstring_view label) {
    RECT main{};
    ::GetWindowRect(hwnd(), &main);
    const POINT corner{main.left + ToPixels(900), main.top + ToPixels(4550)};
    const RECT at{corner.x, corner.y, corner.x + ToPixels(3400), corner.y + ToPixels(1300)};
    progress_.Show(instance_, hwnd(), at, caption, label, font_.get());
}

void frmMain::ShowProgressBlock(int block) { progress_.SetBlocks(block); }
void frmMain::CloseProgress() { progress_.Close(); }

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

}  // namespace quillet
