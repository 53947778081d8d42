#include "frmMain_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "layout.h"
#include "pictures/picture_files.h"
#include "resource.h"
#include "store/encoding.h"
#include "util/strings_win.h"

namespace quillet {

namespace {

// Whether a control id is one of the ten numbered from `first`.
bool IsSlotControl(int id, int first) {
    return id >= first && id < first + kSlotCount;
}

constexpr wchar_t kPanelClass[] = L"QuilletProPanel";
constexpr wchar_t kProgressClass[] = L"QuilletProProgress";
constexpr UINT kMsgApplyFocus = WM_APP + 1;
constexpr COLORREF kStripColour = RGB(0xC0, 0xC0, 0xC0);

const wchar_t* const kStoreLabelText[16] = {L"P", L"1", L"2",  L"3",  L"4",  L"5",  L"6",  L"7",
                                            L"8", L"9", L"10", L"11", L"12", L"13", L"14", L"15"};

std::wstring WindowText(HWND w) {
    const int n = ::GetWindowTextLengthW(w);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(w, text.data(), n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, RECT at,
           DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                             at.right - at.left, at.bottom - at.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

UINT IconFlag(Prompt::Icon icon) {
    switch (icon) {
        case Prompt::Icon::kQuestion:
            return MB_ICONQUESTION;
        case Prompt::Icon::kExclamation:
            return MB_ICONEXCLAMATION;
        case Prompt::Icon::kInformation:
            return MB_ICONINFORMATION;
        case Prompt::Icon::kCritical:
            return MB_ICONERROR;
        case Prompt::Icon::kNone:
            break;
    }
    return 0;
}

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

}  // namespace

frmMain::frmMain() = default;
frmMain::~frmMain() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool frmMain::Create(HINSTANCE instance, std::wstring_view programFolder) {
    instance_ = instance;
    {
        HDC screen = ::GetDC(nullptr);
        dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        if (dpi_ <= 0) dpi_ = 96;
    }

    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    wc.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = kMainWindowClass;
    ::RegisterClassExW(&wc);

    WNDCLASSEXW panel{sizeof panel};
    panel.lpfnWndProc = PanelProc;
    panel.hInstance = instance;
    panel.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    panel.lpszClassName = kPanelClass;
    ::RegisterClassExW(&panel);

    WNDCLASSEXW progress{sizeof progress};
    progress.lpfnWndProc = ProgressProc;
    progress.hInstance = instance;
    progress.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
    progress.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    progress.lpszClassName = kProgressClass;
    ::RegisterClassExW(&progress);

    popupMenu_.reset(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_POPUPMENU)));
    logic_ = std::make_unique<MainForm>(*this, *this, RealFileSystem(), SystemCodec(), clipboard_,
                                        cases_, Desktop{keys_, clock_, shell_, resolver_});

    RECT frame{0, 0, ToPixelsX(kDesignClientWidth), ToPixelsX(kDesignClientHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    hwnd_ =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, kMainWindowClass, L"", style, ToPixelsX(kDesignLeft),
                          ToPixelsX(kDesignTop), frame.right - frame.left, frame.bottom - frame.top,
                          nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    clipboard_.SetOwner(hwnd_);
    CreateControls();

    logic_->FormLoad(programFolder);
    if (!IsChecked(IDM_STARTTRAY)) {
        ::ShowWindow(hwnd_, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd_);
    }
    CreateTooltips();
    // Tells automation (and the tests) that start-up is over.
    ::SetPropW(hwnd_, kReadyProperty, reinterpret_cast<HANDLE>(1));
    return true;
}

LRESULT CALLBACK frmMain::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    try {
        return self->OnMessage(msg, wp, lp);
    } catch (...) {
        // Nothing may unwind through the system's code; the step is skipped.
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// Panels (the store strip, the picture panel) paint their colour and hand
// their children's notifications to the main window.
LRESULT CALLBACK frmMain::PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_DRAWITEM:
            return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(hwnd, &r);
            auto brush = reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            ::FillRect(reinterpret_cast<HDC>(wp), &r,
                       brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
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

    // Unowned: under Wine a topmost owned pop-up keeps its owner from becoming
    // topmost, which would break Stay on Top.
    RECT client{};
    ::GetWindowRect(hwnd_, &client);
    const MainLayout l = ComputeLayout(ToTwips(client.right - client.left), false, false);
    auto at = [&](const TwipsRect& r) {
        return RECT{ToPixelsX(r.left), ToPixelsX(r.top), ToPixelsX(r.left + r.width),
                    ToPixelsX(r.top + r.height)};
    };

    strip_ = Child(hwnd_, kPanelClass, L"Select Store", WS_CLIPSIBLINGS, IDC_STORESTRIP,
                   at(l.strip), WS_EX_CONTROLPARENT);
    ::SetWindowLongPtrW(strip_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(stripBrush_.get()));
    for (int n = 0; n < kStoreCount; ++n) {
        lblStore_[n] = Child(strip_, L"STATIC", kStoreLabelText[n], SS_NOTIFY | SS_CENTER,
                             IDC_LBLSTORE0 + n, at(l.labels[n]));
        setFont(lblStore_[n], font_.get());
        storeTips_[n] = n == 0 ? L"Pictures" : DefaultCaption(n);
    }

    for (int i = 0; i < kSlotCount; ++i) {
        const std::wstring number = std::to_wstring(i + 1);
        const RowRects& row = l.rows[i];
        txtTitle_[i] = Child(hwnd_, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                             IDC_TXTTITLE0 + i, at(row.title));
        txt_[i] = Child(hwnd_, L"EDIT", L"",
                        WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                            (i >= 8 ? WS_VSCROLL : 0),
                        IDC_TXT0 + i, at(row.text));
        ::SendMessageW(txt_[i], EM_SETLIMITTEXT, 0, 0);  // no limit but memory
        ::SendMessageW(txtTitle_[i], EM_SETLIMITTEXT, 0, 0);
        picCopy_[i] = Child(hwnd_, L"BUTTON", CopyButtonTip(i).c_str(), WS_TABSTOP | BS_OWNERDRAW,
                            IDC_PICCOPY0 + i, at(row.copy));
        picPaste_[i] = Child(hwnd_, L"BUTTON", PasteButtonTip(i).c_str(), WS_TABSTOP | BS_OWNERDRAW,
                             IDC_PICPASTE0 + i, at(row.paste));
        label1_[i] =
            Child(hwnd_, L"STATIC", number.c_str(), SS_CENTER, IDC_LABEL1_0 + i, at(row.number));
        setFont(txtTitle_[i], font_.get());
        setFont(txt_[i], font_.get());
        setFont(label1_[i], smallFont_.get());
        ::DragAcceptFiles(picPaste_[i], TRUE);
        for (HWND w : {txtTitle_[i], txt_[i], picCopy_[i]})
            ::SetWindowSubclass(w, SlotControlProc, static_cast<UINT_PTR>(::GetDlgCtrlID(w)),
                                reinterpret_cast<DWORD_PTR>(this));
    }

    txtLength_ =
        Child(hwnd_, L"EDIT", L"", WS_BORDER | ES_READONLY | ES_RIGHT, IDC_TXTLENGTH, at(l.length));
    txtClipboard_ = Child(hwnd_, L"EDIT", L"", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL,
                          IDC_TXTCLIPBOARD, at(l.clipboard));
    setFont(txtLength_, font_.get());
    setFont(txtClipboard_, font_.get());
    ::SendMessageW(txtClipboard_, EM_SETLIMITTEXT, 0, 0);
    picBrindle_ =
        Child(hwnd_, L"STATIC", L"Brindle", SS_OWNERDRAW | SS_NOTIFY, IDC_PICBRINDLE, at(l.logo));
    lblBrindle_ = Child(hwnd_, L"STATIC", L"Brindle", SS_CENTER, IDC_LBLBRINDLE, at(l.maker));
    setFont(lblBrindle_, smallFont_.get());

    const RECT p = at(l.pictures);
    pictures_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPSIBLINGS,
                                  p.left, p.top, p.right - p.left, p.bottom - p.top, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PICPICTURES)),
                                  instance_, nullptr);
}

// The picture slots are made the first time the Pictures store needs them:
// most runs never show it, and thirty controls are a fifth of the start-up.
void frmMain::EnsurePictureSlots() {
    if (box_[0]) return;
    auto at = [&](const TwipsRect& r) {
        return RECT{ToPixelsX(r.left), ToPixelsX(r.top), ToPixelsX(r.left + r.width),
                    ToPixelsX(r.top + r.height)};
    };
    for (int i = 0; i < kSlotCount; ++i) {
        const PictureSlotRects r = PictureSlotLayout(i);
        box_[i] = Child(pictures_, kPanelClass, L"", WS_BORDER | WS_CLIPCHILDREN, IDC_BOX0 + i,
                        at(r.frame));
        imgPic_[i] = Child(box_[i], L"STATIC", L"", SS_OWNERDRAW | SS_NOTIFY, IDC_IMGPIC0 + i,
                           RECT{0, 0, 0, 0});
        for (HWND w : {box_[i], imgPic_[i]})
            ::SetWindowSubclass(w, SlotControlProc, static_cast<UINT_PTR>(::GetDlgCtrlID(w)),
                                reinterpret_cast<DWORD_PTR>(this));
        HWND number = Child(pictures_, L"STATIC", std::to_wstring(i + 1).c_str(), SS_CENTER,
                            IDC_LBLPIC0 + i, at(r.number));
        ::SendMessageW(number, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_.get()), FALSE);
        if (tooltip_) AddTooltip(imgPic_[i], L"Click to view picture");
    }
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
    auto addTip = [this](HWND control, const std::wstring& text) { AddTooltip(control, text); };
    addTip(strip_, L"Select Store");
    addTip(txtClipboard_, L"Current contents of the clipboard");
    addTip(txtLength_, L"Number of characters in the clipboard");
    for (int i = 0; i < kSlotCount; ++i)
        if (imgPic_[i]) addTip(imgPic_[i], L"Click to view picture");
    for (int n = 0; n < kStoreCount; ++n) addTip(lblStore_[n], storeTips_[n]);
    for (int i = 0; i < kSlotCount; ++i) {
        addTip(picCopy_[i], CopyButtonTip(i));
        addTip(picPaste_[i], PasteButtonTip(i));
    }
}

HWND frmMain::Control(int id) const {
    if (id >= IDC_LBLSTORE0 && id < IDC_LBLSTORE0 + kStoreCount) return ::GetDlgItem(strip_, id);
    return ::GetDlgItem(hwnd_, id);
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
            if (wp && pendingFocus_) ::PostMessageW(hwnd_, kMsgApplyFocus, 0, 0);
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
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
            // The close box only hides the window; the program stays in the tray.
            logic_->FormQueryUnload(UnloadMode::kUser);
            return 0;
        case WM_QUERYENDSESSION:
            logic_->FormQueryUnload(UnloadMode::kSession);
            return TRUE;
        case WM_ENDSESSION:
            if (wp) {
                logic_->FormUnload();
                ::DestroyWindow(hwnd_);
            }
            return 0;
        case WM_DESTROY:
            for (DropRegistration& target : dropTargets_) target = DropRegistration();
            ::RemovePropW(hwnd_, kReadyProperty);
            hwnd_ = nullptr;
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

void frmMain::OnCommand(int id, int code, HWND control) {
    if (id >= IDC_LBLSTORE0 && id < IDC_LBLSTORE0 + kStoreCount) {
        if (code == STN_CLICKED) logic_->lblStore_Click(id - IDC_LBLSTORE0);
        return;
    }
    if (id >= IDM_STORE0 && id < IDM_STORE0 + kStoreCount && !control) {
        logic_->submnustore_Click(id - IDM_STORE0);
        return;
    }
    if ((id == IDC_TXTCLIPBOARD || id == IDC_TXTLENGTH) && code == EN_SETFOCUS) {
        id == IDC_TXTCLIPBOARD ? logic_->txtClipboard_Click() : logic_->txtLength_Click();
        return;
    }
    if (IsSlotControl(id, IDC_PICCOPY0)) {
        // A mouse press has copied already; this is the keyboard's press.
        if (code == BN_CLICKED && !inMouseRelease_) logic_->picCopy_OLEStartDrag(id - IDC_PICCOPY0);
        return;
    }
    if (IsSlotControl(id, IDC_PICPASTE0)) {
        if (code == BN_CLICKED) logic_->picPaste_Click(id - IDC_PICPASTE0);
        return;
    }
    if (IsSlotControl(id, IDC_TXT0)) {
        if (code == EN_CHANGE && !quietChanges_) logic_->txt_Change(id - IDC_TXT0);
        if (code == EN_SETFOCUS) logic_->txt_GotFocus(id - IDC_TXT0);
        return;
    }
    if (IsSlotControl(id, IDC_TXTTITLE0)) {
        if (code == EN_SETFOCUS) logic_->txtTitle_GotFocus(id - IDC_TXTTITLE0);
        return;
    }
    switch (id) {
        case IDM_FILESAVE:
            logic_->mnuFileSave_Click();
            break;
        case IDM_GETIP:
            logic_->mnuGetIP_Click();
            break;
        case IDM_CLEARLABELS:
            logic_->mnuClearLabels_Click();
            break;
        case IDM_CLEARCONTENTS:
            logic_->mnuClearContents_Click();
            break;
        case IDM_CLEARSTORE:
            logic_->mnuClearStore_Click();
            break;
        case IDM_CLEARALLSTORESXLABELS:
            logic_->mnuClearAllStoresXLabels_Click();
            break;
        case IDM_CLEARALL:
            logic_->mnuClearAll_Click();
            break;
        case IDM_CUT:
            logic_->mnuCut_Click();
            break;
        case IDM_COPY:
            logic_->mnuCopy_Click();
            break;
        case IDM_PASTE:
            logic_->mnuPaste_Click();
            break;
        case IDM_UNDO:
            logic_->mnuUndo_Click();
            break;
        case IDM_SELECTALL:
            logic_->mnuSelectAll_Click();
            break;
        case IDM_POPCOPY:
            logic_->popCopy_Click();
            break;
        case IDM_POPPASTE:
            logic_->popPaste_Click();
            break;
        case IDM_POPDELETE:
            logic_->popDelete_Click();
            break;
        case IDM_POPUNDO:
            logic_->popUndo_Click();
            break;
        case IDM_TELL:
            logic_->mnuTell_Click();
            break;
        case IDM_HOME:
            logic_->submnuHome_Click();
            break;
        case IDM_FEEDBACK:
            logic_->submnuFeedback_Click();
            break;
        case IDM_LOWERCASE:
            logic_->mnuLowerCase_Click();
            break;
        case IDM_UPPERCASE:
            logic_->mnuUpperCase_Click();
            break;
        case IDM_OPPOSITECASE:
            logic_->mnuOppositeCase_Click();
            break;
        case IDM_EMPTYCLIPBOARD:
            logic_->mnuEmptyClipboard_Click();
            break;
        case IDM_REVERT:
            logic_->mnuRevert_Click();
            break;
        case IDM_CLOSE:
            logic_->mnuClose_Click();
            break;
        case IDM_EXIT:
            OnExit();
            break;
        case IDM_AUTOSAVE:
            logic_->submnuAutoSave_Click();
            break;
        default:
            break;
    }
}

void frmMain::OnExit() {
    if (logic_->FormQueryUnload(UnloadMode::kProgram)) return;
    logic_->FormUnload();
    ::DestroyWindow(hwnd_);
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
    return ::DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
}

void frmMain::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (IsSlotControl(id, IDC_PICCOPY0)) {
        DrawSlotButton(item, true);
    } else if (IsSlotControl(id, IDC_PICPASTE0)) {
        DrawSlotButton(item, false);
    } else if (IsSlotControl(id, IDC_IMGPIC0)) {
        // The thumbnail: the slot's whole picture stretched to the control.
        HBITMAP bitmap = pictures_bitmaps_[id - IDC_IMGPIC0].get();
        if (!bitmap) return;
        BITMAP info{};
        ::GetObjectW(bitmap, sizeof info, &info);
        HDC source = ::CreateCompatibleDC(item.hDC);
        {
            SelectObjectScope keep(source, bitmap);
            ::SetStretchBltMode(item.hDC, HALFTONE);
            const RECT& r = item.rcItem;
            ::StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                         info.bmWidth, info.bmHeight, SRCCOPY);
        }
        ::DeleteDC(source);
    } else if (id == IDC_PICBRINDLE) {
        // The maker's mark: a quill-coloured square with a white stroke.
        RECT r = item.rcItem;
        UniqueBrush fill(::CreateSolidBrush(RGB(32, 80, 160)));
        ::FillRect(item.hDC, &r, fill.get());
        UniqueBrush stroke(::CreateSolidBrush(RGB(255, 255, 255)));
        RECT s{r.left + (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 - 1,
               r.right - (r.right - r.left) / 4, r.top + (r.bottom - r.top) / 2 + 1};
        ::FillRect(item.hDC, &s, stroke.get());
    }
}

void frmMain::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd_, &ps);
    // Line1 runs under the store strip, from the left edge to the width.
    UniqueHandle<HPEN, detail::DeleteGdi, detail::Null<HPEN>> pen(
        ::CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
    SelectObjectScope keep(dc, pen.get());
    const int y = ToPixelsX(660);
    ::MoveToEx(dc, 0, y, nullptr);
    ::LineTo(dc, ToPixelsX(lineRight_), y);
    ::EndPaint(hwnd_, &ps);
    logic_->ShowClipboard();  // every repaint refreshes the clipboard line
}

int frmMain::FixedWindowHeight() const {
    RECT window, client;
    ::GetWindowRect(hwnd_, &window);
    ::GetClientRect(hwnd_, &client);
    const int nonClient = (window.bottom - window.top) - (client.bottom - client.top);
    return nonClient + ToPixelsX(kClientHeight);
}

void frmMain::OnMinMaxInfo(MINMAXINFO& info) {
    if (!hwnd_) return;
    const int height = FixedWindowHeight();
    info.ptMinTrackSize.x = ToPixelsX(kMinWidth);
    info.ptMinTrackSize.y = height;
    info.ptMaxTrackSize.y = height;
}

// MainView

void frmMain::SetCaption(std::wstring_view caption) {
    ::SetWindowTextW(hwnd_, std::wstring(caption).c_str());
}

WindowGeometry frmMain::Geometry() const {
    WindowGeometry g;
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    g.left = ToTwips(r.left);
    g.top = ToTwips(r.top);
    g.width = ToTwips(r.right - r.left);
    g.height = ToTwips(r.bottom - r.top);
    g.state = ::IsIconic(hwnd_)   ? WindowState::kMinimized
              : ::IsZoomed(hwnd_) ? WindowState::kMaximized
                                  : WindowState::kNormal;
    return g;
}

void frmMain::MoveTo(int left, int top) {
    ::SetWindowPos(hwnd_, nullptr, ToPixelsX(left), ToPixelsX(top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::SetWidth(int width) {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, ToPixelsX(width), FixedWindowHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::ScreenSize(int& width, int& height) const {
    width = ToTwips(::GetSystemMetrics(SM_CXSCREEN));
    height = ToTwips(::GetSystemMetrics(SM_CYSCREEN));
}

void frmMain::ShowNormal() {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
}
void frmMain::Hide() {
    ::ShowWindow(hwnd_, SW_HIDE);
}
bool frmMain::IsVisible() const {
    return ::IsWindowVisible(hwnd_) != FALSE;
}

void frmMain::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE);
}

// Children that changed have invalidated themselves; repainting them all
// again would double the cost of a store switch.
void frmMain::Repaint() {
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void frmMain::Layout(bool mirror, bool picturesShown) {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    const int height = FixedWindowHeight();
    if (r.bottom - r.top != height)
        ::SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const MainLayout l = ComputeLayout(ToTwips(r.right - r.left), mirror, picturesShown);
    HDWP batch = ::BeginDeferWindowPos(64);
    bool moved = false;
    auto defer = [&](HWND w, const TwipsRect& t) {
        RECT now{};
        ::GetWindowRect(w, &now);
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
        if (now.left == ToPixelsX(t.left) && now.top == ToPixelsX(t.top) &&
            now.right - now.left == ToPixelsX(t.width) &&
            now.bottom - now.top == ToPixelsX(t.height))
            return;
        moved = true;
        if (batch)
            batch = ::DeferWindowPos(batch, w, nullptr, ToPixelsX(t.left), ToPixelsX(t.top),
                                     ToPixelsX(t.width), ToPixelsX(t.height),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (int i = 0; i < kSlotCount; ++i) {
        defer(txtTitle_[i], l.rows[i].title);
        defer(txt_[i], l.rows[i].text);
        defer(picCopy_[i], l.rows[i].copy);
        defer(picPaste_[i], l.rows[i].paste);
        defer(label1_[i], l.rows[i].number);
    }
    defer(txtLength_, l.length);
    defer(txtClipboard_, l.clipboard);
    defer(picBrindle_, l.logo);
    defer(lblBrindle_, l.maker);
    defer(pictures_, l.pictures);
    if (batch) ::EndDeferWindowPos(batch);
    if (moved || lineRight_ != l.lineRight) ::InvalidateRect(hwnd_, nullptr, TRUE);
    lineRight_ = l.lineRight;
}

void frmMain::Beep() {
    ::MessageBeep(MB_OK);
}

std::wstring frmMain::SlotText(int slot) const {
    return WindowText(txt_[slot]);
}
// Filling a box with a long text is the cost of a store switch; the box is
// kept from drawing until it holds the whole text.
void frmMain::SetSlotText(int slot, std::wstring_view text) {
    HWND box = txt_[slot];
    if (static_cast<size_t>(::GetWindowTextLengthW(box)) == text.size() && WindowText(box) == text)
        return;  // already there: empty slots of both stores, most often
    // A long text takes long to wrap: a box not in use may show only its
    // beginning, and takes the whole text when the user reaches for it.
    const bool scrolls = (::GetWindowLongPtrW(box, GWL_STYLE) & WS_VSCROLL) != 0;
    const std::optional<size_t> beginning =
        ::GetFocus() == box ? std::nullopt : DeferredBeginning(text, scrolls);
    deferred_[slot].reset();
    if (beginning) deferred_[slot] = std::wstring(text);
    const std::wstring shown(beginning ? text.substr(0, *beginning) : text);
    ++quietChanges_;
    ::SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    ::SetWindowTextW(box, shown.c_str());
    --quietChanges_;
    ::SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(box, nullptr, TRUE);
}

void frmMain::ShowWholeText(int slot) {
    if (!deferred_[slot]) return;
    const std::wstring whole = std::move(*deferred_[slot]);
    deferred_[slot].reset();
    ++quietChanges_;
    ::SetWindowTextW(txt_[slot], whole.c_str());
    --quietChanges_;
}

// Reads of a box that shows a beginning get the whole text, so that the
// program and other programs see what the slot holds.
LRESULT frmMain::AnswerDeferredText(int slot, UINT msg, WPARAM wp, LPARAM lp) const {
    const std::wstring& whole = *deferred_[slot];
    if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(whole.size());
    auto* out = reinterpret_cast<wchar_t*>(lp);
    if (!out || wp == 0) return 0;
    const size_t n = std::min(whole.size(), static_cast<size_t>(wp) - 1);
    std::copy_n(whole.data(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}
std::wstring frmMain::SlotTitle(int slot) const {
    return WindowText(txtTitle_[slot]);
}
void frmMain::SetSlotTitle(int slot, std::wstring_view title) {
    ++quietChanges_;
    ::SetWindowTextW(txtTitle_[slot], std::wstring(title).c_str());
    --quietChanges_;
}

void frmMain::SetSlotColours(unsigned titleBackground, unsigned textBackground) {
    titleColour_ = titleBackground;
    textColour_ = textBackground;
    titleBrush_.reset(::CreateSolidBrush(titleColour_));
    textBrush_.reset(::CreateSolidBrush(textColour_));
    for (int i = 0; i < kSlotCount; ++i) {
        ::InvalidateRect(txtTitle_[i], nullptr, TRUE);
        ::InvalidateRect(txt_[i], nullptr, TRUE);
    }
}

HWND frmMain::BoxWindow(BoxRef box) const {
    return box.kind == BoxRef::Kind::kText ? txt_[box.slot] : txtTitle_[box.slot];
}

std::optional<BoxRef> frmMain::ActiveBox() const {
    const HWND focus = ::GetFocus();
    if (!focus) return std::nullopt;
    for (int i = 0; i < kSlotCount; ++i) {
        if (focus == txt_[i]) return BoxRef{BoxRef::Kind::kText, i};
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
    const std::wstring with(text);
    ++quietChanges_;
    ::SendMessageW(BoxWindow(box), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(with.c_str()));
    --quietChanges_;
}

void frmMain::SelectAll(BoxRef box) {
    ::SendMessageW(BoxWindow(box), EM_SETSEL, 0, -1);
}

void frmMain::PumpEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // for the main loop to see
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (hwnd_ && ::IsDialogMessageW(hwnd_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void frmMain::Activate() {
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
}

// A hidden window takes the focus when it shows; asking earlier only costs.
void frmMain::FocusPaste(int slot) {
    pendingFocus_ = picPaste_[slot];
    if (::IsWindowVisible(hwnd_)) ::SetFocus(pendingFocus_);
}

std::wstring frmMain::StoreCaption(int store) const {
    wchar_t buffer[512] = {};
    ::GetMenuStringW(::GetMenu(hwnd_), IDM_STORE0 + store, buffer, 512, MF_BYCOMMAND);
    return buffer;
}

void frmMain::SetStoreCaption(int store, std::wstring_view caption) {
    const std::wstring text(caption);
    MENUITEMINFOW mii{sizeof mii};
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(::GetMenu(hwnd_), IDM_STORE0 + store, FALSE, &mii);
}

void frmMain::AddTooltip(HWND control, const std::wstring& text) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void frmMain::SetStoreTooltip(int store, std::wstring_view tip) {
    storeTips_[store] = std::wstring(tip);
    if (!tooltip_) return;
    const std::wstring& text = storeTips_[store];
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(lblStore_[store]);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void frmMain::MarkStoreLabel(int store, bool current) {
    labelCurrent_[store] = current;
    ::SendMessageW(lblStore_[store], WM_SETFONT,
                   reinterpret_cast<WPARAM>(current ? currentLabelFont_.get() : font_.get()), TRUE);
    ::InvalidateRect(lblStore_[store], nullptr, TRUE);
}

// The text boxes keep their texts under the picture panel; hidden, they
// cannot paint through it.
void frmMain::ShowPictures(bool shown) {
    if (shown) EnsurePictureSlots();
    for (HWND box : txt_) ::ShowWindow(box, shown ? SW_HIDE : SW_SHOWNA);
    ::ShowWindow(pictures_, shown ? SW_SHOW : SW_HIDE);
    if (shown)
        ::SetWindowPos(pictures_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmMain::SetClipboardText(std::wstring_view text) {
    // Unchanged text is not set again: that would repaint the line endlessly.
    if (WindowText(txtClipboard_) != text)
        ::SetWindowTextW(txtClipboard_, std::wstring(text).c_str());
}

void frmMain::SetClipboardLength(std::wstring_view text) {
    if (WindowText(txtLength_) != text) ::SetWindowTextW(txtLength_, std::wstring(text).c_str());
}

LRESULT CALLBACK frmMain::ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        ::SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<frmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_PAINT || !self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    SelectObjectScope font(dc, self->font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    RECT label{8, 6, client.right - 8, 26};
    ::DrawTextW(dc, self->progressLabel_.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE);
    // Ten blocks, shown one by one as the slots load.
    UniqueBrush fill(::CreateSolidBrush(RGB(0, 0, 128)));
    const int width = (client.right - 16) / 10;
    for (int b = 0; b < self->progressBlocks_; ++b) {
        RECT block{8 + b * width + 1, 32, 8 + (b + 1) * width - 1, 48};
        ::FillRect(dc, &block, fill.get());
    }
    ::EndPaint(hwnd, &ps);
    return 0;
}

void frmMain::ShowProgress(std::wstring_view caption, std::wstring_view label) {
    progressBlocks_ = 0;
    progressLabel_ = std::wstring(label);
    RECT main{};
    ::GetWindowRect(hwnd_, &main);
    progress_.reset(::CreateWindowExW(
        WS_EX_TOOLWINDOW, kProgressClass, std::wstring(caption).c_str(), WS_POPUP | WS_CAPTION,
        main.left + ToPixelsX(900), main.top + ToPixelsX(4550), ToPixelsX(3400), ToPixelsX(1300),
        hwnd_, nullptr, instance_, this));
    if (!progress_) return;
    ::SetWindowPos(progress_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::ShowWindow(progress_.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(progress_.get());
}

void frmMain::ShowProgressBlock(int block) {
    progressBlocks_ = block;
    if (!progress_) return;
    ::InvalidateRect(progress_.get(), nullptr, TRUE);
    ::UpdateWindow(progress_.get());
}

void frmMain::CloseProgress() {
    progress_.reset();
}

bool frmMain::LoadSlotPicture(int slot, const std::wstring& path) {
    EnsurePictureSlots();
    HBITMAP loaded = static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded) return false;
    pictures_bitmaps_[slot].reset(loaded);
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return true;
}

void frmMain::SetPictureTag(int slot, const std::wstring& path) {
    pictureTag_[slot] = path;
}

void frmMain::FitSlotPicture(int slot) {
    EnsurePictureSlots();
    HWND img = imgPic_[slot];
    ::ShowWindow(img, SW_HIDE);
    BITMAP info{};
    if (!pictures_bitmaps_[slot] ||
        !::GetObjectW(pictures_bitmaps_[slot].get(), sizeof info, &info))
        return;  // an empty slot stays empty
    RECT frame{};
    ::GetClientRect(box_[slot], &frame);
    const TwipsRect r = FitPicture(ToTwips(info.bmWidth), ToTwips(std::abs(info.bmHeight)),
                                   ToTwips(frame.right), ToTwips(frame.bottom), 0);
    ::MoveWindow(img, ToPixelsX(r.left), ToPixelsX(r.top), ToPixelsX(r.width), ToPixelsX(r.height),
                 FALSE);
    ::ShowWindow(img, SW_SHOW);
}

std::vector<uint8_t> frmMain::SlotPictureDib(int slot) const {
    if (!pictures_bitmaps_[slot]) return {};
    return PackedDibOf(pictures_bitmaps_[slot].get());
}

bool frmMain::SetSlotPicture(int slot, const std::vector<uint8_t>& dib) {
    EnsurePictureSlots();
    if (dib.empty())
        pictures_bitmaps_[slot].reset();
    else
        pictures_bitmaps_[slot] = BitmapFromPackedDib(dib);
    ::InvalidateRect(imgPic_[slot], nullptr, TRUE);
    return static_cast<bool>(pictures_bitmaps_[slot]);
}

void frmMain::ShowPicturePopup() {
    POINT at{};
    ::GetCursorPos(&at);
    ::TrackPopupMenu(::GetSubMenu(popupMenu_.get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y,
                     0, hwnd_, nullptr);
}

void frmMain::EnableDragDrop() {
    for (int i = 0; i < kSlotCount; ++i) {
        dropTargets_[i] =
            DropRegistration(txt_[i], SlotDropTarget::Create([this, i](const DropContent& d) {
                                 logic_->txt_OLEDragDrop(i, d);
                             }));
    }
}

// The press is marked first: opening all ten slots pumps messages, and a
// release handled meanwhile must end the press.
void frmMain::PressCopy(int slot) {
    pressedCopy_ = slot;
    pressOffer_ = logic_->picCopy_OLEStartDrag(slot);
}

LRESULT CALLBACK frmMain::SlotControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                          DWORD_PTR self) {
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, SlotControlProc, id);
    try {
        return reinterpret_cast<frmMain*>(self)->OnSlotControl(hwnd, static_cast<int>(id), msg, wp,
                                                               lp);
    } catch (...) {
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
}

LRESULT frmMain::OnSlotControl(HWND control, int id, UINT msg, WPARAM wp, LPARAM lp) {
    auto within = [id](int first) { return IsSlotControl(id, first); };
    if (within(IDC_PICCOPY0)) {
        const int slot = id - IDC_PICCOPY0;
        switch (msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                const LRESULT r = ::DefSubclassProc(control, msg, wp, lp);
                pressPoint_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                PressCopy(slot);
                return r;
            }
            case WM_MOUSEMOVE: {
                if (pressedCopy_ != slot || !(wp & MK_LBUTTON)) break;
                const int dx = std::abs(GET_X_LPARAM(lp) - pressPoint_.x);
                const int dy = std::abs(GET_Y_LPARAM(lp) - pressPoint_.y);
                if (dx <= ::GetSystemMetrics(SM_CXDRAG) && dy <= ::GetSystemMetrics(SM_CYDRAG))
                    break;
                pressedCopy_ = -1;
                ::ReleaseCapture();  // the button lets go without a click
                if (!pressOffer_.Empty()) {
                    DragPayload payload;
                    payload.text = pressOffer_.text;
                    payload.files = pressOffer_.files;
                    if (ComPtr<IDataObject> data = MakeDataObject(payload)) RunCopyDrag(data.get());
                }
                return 0;
            }
            case WM_LBUTTONUP: {
                pressedCopy_ = -1;
                inMouseRelease_ = true;
                const LRESULT r = ::DefSubclassProc(control, msg, wp, lp);
                inMouseRelease_ = false;
                return r;
            }
            case WM_CAPTURECHANGED:
                pressedCopy_ = -1;
                break;
            default:
                break;
        }
    } else if (within(IDC_TXT0) || within(IDC_TXTTITLE0)) {
        const int slot = id - (within(IDC_TXT0) ? IDC_TXT0 : IDC_TXTTITLE0);
        if (within(IDC_TXT0) && deferred_[slot]) {
            switch (msg) {
                case WM_GETTEXT:
                case WM_GETTEXTLENGTH:
                    return AnswerDeferredText(slot, msg, wp, lp);
                case WM_SETTEXT:  // from outside: the text it sets is the whole text
                    if (!quietChanges_) deferred_[slot].reset();
                    break;
                case WM_SETFOCUS:
                case WM_LBUTTONDOWN:
                case WM_NCLBUTTONDOWN:
                case WM_VSCROLL:
                case WM_MOUSEWHEEL:
                case WM_KEYDOWN:
                case EM_GETSEL:
                case EM_SETSEL:
                case EM_REPLACESEL:
                case EM_GETLINECOUNT:
                case EM_GETLINE:
                case EM_LINEINDEX:
                case EM_LINELENGTH:
                    ShowWholeText(slot);
                    break;
                default:
                    break;
            }
        }
        if (msg == WM_LBUTTONUP) {
            const LRESULT r = ::DefSubclassProc(control, msg, wp, lp);
            within(IDC_TXT0) ? logic_->txt_Click() : logic_->txtTitle_Click();
            return r;
        }
    } else if (within(IDC_BOX0) || within(IDC_IMGPIC0)) {
        const int slot = id - (within(IDC_BOX0) ? IDC_BOX0 : IDC_IMGPIC0);
        if (msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
            logic_->Box_MouseDown(slot, msg == WM_RBUTTONDOWN ? 2 : 4);
            return 0;
        }
        if (msg == WM_LBUTTONDOWN && within(IDC_BOX0)) logic_->Box_MouseDown(slot, 1);
    }
    return ::DefSubclassProc(control, msg, wp, lp);
}

HMENU frmMain::MenuOf(int item) const {
    if (item >= IDM_POPCOPY && item <= IDM_POPWALLPAPER) return ::GetSubMenu(popupMenu_.get(), 0);
    return ::GetMenu(hwnd_);
}

bool frmMain::IsChecked(int item) const {
    return (::GetMenuState(MenuOf(item), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void frmMain::SetChecked(int item, bool checked) {
    ::CheckMenuItem(MenuOf(item), item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void frmMain::SetEnabled(int item, bool enabled) {
    ::EnableMenuItem(MenuOf(item), item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool frmMain::AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) {
    return ::MessageBoxW(hwnd_, std::wstring(text).c_str(), std::wstring(title).c_str(),
                         MB_YESNO | IconFlag(icon)) == IDYES;
}

bool frmMain::Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) {
    const bool ok = buttons == Buttons::kOkCancel;
    const int answer =
        ::MessageBoxW(hwnd_, std::wstring(text).c_str(), std::wstring(title).c_str(),
                      (ok ? MB_OKCANCEL : MB_YESNO) | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    return answer == (ok ? IDOK : IDYES);
}

void frmMain::Tell(std::wstring_view title, std::wstring_view text, Icon icon) {
    ::MessageBoxW(hwnd_, std::wstring(text).c_str(), std::wstring(title).c_str(),
                  MB_OK | IconFlag(icon));
}

}  // namespace quillet
