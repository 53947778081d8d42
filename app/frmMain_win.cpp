// The main window: creation, the message dispatch to the logic and the
// windows it makes.
#include "frmMain_win.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/controls_win.h"
#include "controls/drawing_win.h"
#include "layout.h"
#include "resource.h"
#include "util/known_folder_win.h"
#include "base/module_path_win.h"
#include "store/encoding.h"
#include "base/strings_win.h"

namespace quillet {

namespace {

// Whether a control id is one of the ten numbered from `first`.
bool IsSlotControl(int id, int first) {
    return id >= first && id < first + kSlotCount;
}

constexpr UINT kMsgApplyFocus = WM_APP + 1;

// Controls numbered by slot or store, and the window's handler of each.
struct RangeCommand {
    int first, count;
    void (frmMain::*handler)(int index, int code);
    bool menu;  // a menu's items, which send no control
};

}  // namespace

frmMain::frmMain(FileSystem& fs) : fs_(fs) {}

frmMain::~frmMain() {
    SetAccelerators(hwnd(), nullptr);
    Destroy();
    hotkeyClient_.reset();
    com_.reset();
}

std::array<RECT, 16> frmMain::StoreLabelPlaces(const MainLayout& l) const {
    std::array<RECT, 16> labels;
    for (int n = 0; n < kStoreCount; ++n) labels[n] = Place(l.labels[n]);
    return labels;
}

RECT frmMain::Place(const TwipsRect& r) const {
    return RECT{ToPixels(r.left), ToPixels(r.top), ToPixels(r.left + r.width),
                ToPixels(r.top + r.height)};
}

bool frmMain::Create(HINSTANCE instance, std::wstring_view programFolder) {
    instance_ = instance;
    dpi_ = SystemDpi();

    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
    // Shared: the system keeps it for the class and the tray alike.
    smallIcon_ = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLET),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hIconSm = smallIcon_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = kMainWindowClass;
    RegisterClassOf(wc);

    // The help and print windows ask the logic, so they are made after it;
    // the logic reaches them through this window until then.
    logic_ = std::make_unique<MainForm>(
        *this, pictures_, prompt_, fs_, SystemCodec(), clipboard_, cases_,
        Desktop{keys_, clock_, shell_, resolver_, autoRun_, *this, wallpaper_, paste_},
        SecondaryWindows{tray_, preview_, *this, *this, inputBox_});

    RECT frame{0, 0, ToPixels(kDesignClientWidth), ToPixels(kDesignClientHeight)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectForDpi(frame, style, true, WS_EX_CONTROLPARENT, dpi_);
    const RECT at{ToPixels(kDesignLeft), ToPixels(kDesignTop),
                  ToPixels(kDesignLeft) + frame.right - frame.left,
                  ToPixels(kDesignTop) + frame.bottom - frame.top};
    if (!CreateAs(WS_EX_CONTROLPARENT, kMainWindowClass, L"", style, at, nullptr, nullptr,
                  instance))
        return false;
    prompt_.SetOwner(hwnd());
    inputBox_.SetOwner(hwnd());
    tray_.SetOwner(hwnd(), smallIcon_);
    tray_.OnMenuOpening([this] { paste_.NoteMenuOpening(); });
    preview_.SetMainWindow(hwnd());
    info_ = std::make_unique<HelpAndAboutWindows>(instance, *logic_, shell_);
    print_ = std::make_unique<frmPrint>(instance, *this, *this, *logic_, prompt_, shell_, fs_,
                                        KnownFolder(FOLDERID_LocalAppData));
    findServices_ = std::make_unique<MainFindServices>(*logic_, *this, fs_, SystemCodec());
    find_ = std::make_unique<frmFind>(instance, *findServices_, cases_);
    SetAccelerators(hwnd(), ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    clipboard_.SetOwner(hwnd());
    progress_.Attach(instance, hwnd(), [this] {
        RECT main{};
        ::GetWindowRect(hwnd(), &main);
        const POINT corner{main.left + ToPixels(900), main.top + ToPixels(4550)};
        return ProgressWindow::Placement{
            {corner.x, corner.y, corner.x + ToPixels(3400), corner.y + ToPixels(1300)},
            font_.get()};
    });
    CreateControls();

    const std::wstring exe = ModuleFileName();
    // The user chose to end the program over a settings file it cannot read.
    if (!logic_->FormLoad(programFolder, KnownFolder(FOLDERID_RoamingAppData),
                          exe.substr(exe.find_last_of(L'\\') + 1)))
        return false;
    MatchMonitorDpi(dpi_);
    if (!logic_->CurrentOptions().startInTray) {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
        ::UpdateWindow(hwnd());
    }
    CreateTooltips();
    // Tells automation (and the tests) that start-up is over.
    ::SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(1));
    return true;
}

void frmMain::CreateFonts() {
    const LOGFONTW message = MessageFontForDpi(dpi_);
    font_.reset(::CreateFontIndirectW(&message));
    LOGFONTW small{};
    small.lfHeight = -MulDiv(6, dpi_, 72);
    ::lstrcpynW(small.lfFaceName, L"Small Fonts", LF_FACESIZE);
    smallFont_.reset(::CreateFontIndirectW(&small));
}

// The window lays itself out from twips: at another DPI it gets fonts of that
// size, and everything is placed again from the same twips.
void frmMain::OnDpiChanged(int, int toDpi, const RECT& suggested) {
    dpi_ = toDpi;
    const UniqueFont oldFont = std::move(font_), oldSmall = std::move(smallFont_);
    CreateFonts();
    ReplaceFonts(hwnd(), {{oldFont.get(), font_.get()}, {oldSmall.get(), smallFont_.get()}});
    const MainLayout l = ComputeLayout(ToTwips(suggested.right - suggested.left), false, false);
    strip_.Rescale(Place(l.strip), StoreLabelPlaces(l), font_.get());
    pictures_.SetDpi(dpi_, smallFont_.get());
    icons_ = SetWindowIconsForDpi(hwnd(), instance_, IDI_QUILLET, dpi_);
    PlaceAt(suggested);
    logic_->FormResize();  // the size in pixels may not have changed
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmMain::CreateControls() {
    CreateFonts();

    RECT window{};
    ::GetWindowRect(hwnd(), &window);
    const MainLayout l = ComputeLayout(ToTwips(window.right - window.left), false, false);

    strip_.Create(hwnd(), Place(l.strip), StoreLabelPlaces(l), font_.get());

    rows_.Create(
        hwnd(), l.rows, [this](const TwipsRect& r) { return Place(r); }, font_.get(),
        smallFont_.get(), [this](int slot) { return logic_->picCopy_OLEStartDrag(slot); },
        [this](BoxRef::Kind kind) {
            kind == BoxRef::Kind::kText ? logic_->txt_Click() : logic_->txtTitle_Click();
        });

    line_.Create(hwnd(), Place(l.length), Place(l.clipboard), font_.get(),
                 [this] { logic_->txtClipboard_Click(); });
    picBrindle_ = CreateChild(hwnd(), L"STATIC", L"Brindle", SS_OWNERDRAW | SS_NOTIFY,
                              IDC_PICBRINDLE, Place(l.logo));
    lblBrindle_ =
        CreateChild(hwnd(), L"STATIC", L"Brindle", SS_CENTER, IDC_LBLBRINDLE, Place(l.maker));
    ::SendMessageW(lblBrindle_, WM_SETFONT, reinterpret_cast<WPARAM>(smallFont_.get()), FALSE);

    pictures_.Create(
        hwnd(), IDC_PICPICTURES, Place(l.pictures), dpi_, smallFont_.get(), hwnd(),
        [this](HWND control, const std::wstring& tip) { tips_.Add(control, tip); },
        [this](int slot, int button) { logic_->Box_MouseDown(slot, button); });
    pictures_.SetEvents(
        {[this](int slot) { return logic_->imgPic_OLEStartDrag(slot); },
         [this](int slot, const DropContent& d) { logic_->imgPic_OLEDragDrop(slot, d); },
         [this](int slot) { logic_->imgPic_DblClick(slot); },
         [this](int slot) { logic_->lblPic_Click(slot); }});
}

// Tooltips come once the window shows: they are not needed before, and
// registering them costs more than the rest of the start-up.
void frmMain::CreateTooltips() {
    tips_.Create(hwnd());
    strip_.AddTips(tips_);
    line_.AddTips(tips_);
    pictures_.EnableTooltips();
    rows_.AddTips(tips_);
}

HWND frmMain::Control(int id) const {
    if (id >= IDC_LBLSTORE0 && id < IDC_LBLSTORE0 + kStoreCount)
        return strip_.Label(id - IDC_LBLSTORE0);
    return ::GetDlgItem(hwnd(), id);
}

void frmMain::EnableDragDrop() {
    pictures_.EnableDragDrop();
    for (int i = 0; i < kSlotCount; ++i) {
        dropTargets_[i] = DropRegistration(rows_.TextBox(i),
                                           SlotDropTarget::Create([this, i](const DropContent& d) {
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
        case WM_TIMER:
            if (wp != kTimerWholeTexts) return Default(msg, wp, lp);
            ::KillTimer(hwnd(), kTimerWholeTexts);
            rows_.ShowWholeTexts();
            return 0;
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
        case WM_SYSCOMMAND:
            // The close box and Alt+F4 only hide the window; a WM_CLOSE from
            // anywhere else (Task Manager, another program) ends the program.
            if ((wp & 0xFFF0) != SC_CLOSE) return Default(msg, wp, lp);
            OnClose();
            return 0;
        case WM_CLOSE:
            OnExit();
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_ENDSESSION:
            ::ShutdownBlockReasonDestroy(hwnd());
            if (wp) {
                logic_->FormUnload();
                Destroy();
            }
            return 0;
        case WM_LBUTTONDOWN:
            logic_->Form_MouseDown(1);
            return 0;
        case WM_RBUTTONDOWN:
            logic_->Form_MouseDown(2);
            return 0;
        case WM_MBUTTONDOWN:
            logic_->Form_MouseDown(4);
            return 0;
        case WM_LBUTTONDBLCLK:
            logic_->Form_DblClick();
            return 0;
        case TrayIcon::kCallbackMessage:
            logic_->TrayIcon_Callback(static_cast<uint32_t>(lp));
            return 0;
        case TrayIcon::kAddMessage:
            tray_.OnAddIcon();
            return 0;
        case WM_DESTROY:
            for (DropRegistration& target : dropTargets_) target = DropRegistration();
            ::RemovePropW(hwnd(), kReadyProperty);
            ::PostQuitMessage(0);
            return 0;
        default:
            if (tray_.OnTaskbarCreated(msg)) return 0;
            return Default(msg, wp, lp);
    }
}

void frmMain::OnCommand(int id, int code, HWND control) {
    static constexpr RangeCommand kRanges[] = {
        {IDC_LBLSTORE0, kStoreCount, &frmMain::OnStoreLabel, false},
        {IDM_STORE0, kStoreCount, &frmMain::OnStoreMenu, true},
        {IDM_TRAYSTORE0, kStoreCount, &frmMain::OnTrayStore, true},
        {IDM_TRAYREF0, kSlotCount, &frmMain::OnTraySlot, true},
        {IDC_PICCOPY0, kSlotCount, &frmMain::OnCopyButton, false},
        {IDC_PICPASTE0, kSlotCount, &frmMain::OnPasteButton, false},
        {IDC_TXT0, kSlotCount, &frmMain::OnTextBox, false},
        {IDC_TXTTITLE0, kSlotCount, &frmMain::OnTitleBox, false},
        {IDC_TXTLENGTH, 2, &frmMain::OnClipboardLine, false},
    };
    // Menus and accelerators send no control; the range of the Stores menu
    // is told from the store labels that way.
    for (const RangeCommand& r : kRanges) {
        if (id < r.first || id >= r.first + r.count) continue;
        if (r.menu != (control == nullptr)) continue;
        (this->*r.handler)(id - r.first, code);
        return;
    }
    if (id == IDC_PICBRINDLE && code == STN_DBLCLK) return logic_->picBrindle_DblClick();
    if (control) return;
    if (id == IDM_EXIT || id == IDM_TRAYEXIT) return OnExit();
    if (id == IDM_FIND || id == IDM_TRAYFIND) return find_->Show(hwnd());
    logic_->RunMenuCommand(id);
}

void frmMain::OnStoreLabel(int store, int code) {
    if (code == STN_CLICKED) logic_->lblStore_Click(store);
}
void frmMain::OnTrayStore(int store, int) {
    logic_->menuTrayStore_Click(store);
}

void frmMain::OnTraySlot(int slot, int) {
    logic_->mnuTrayRef_Click(slot);
}

void frmMain::OnStoreMenu(int store, int) {
    logic_->submnustore_Click(store);
}

// A mouse press has copied already; this is the keyboard's press.
void frmMain::OnCopyButton(int slot, int code) {
    if (code == BN_CLICKED && !rows_.CopiedAtPress(slot)) logic_->picCopy_OLEStartDrag(slot);
}
void frmMain::OnPasteButton(int slot, int code) {
    if (code == BN_CLICKED) logic_->picPaste_Click(slot);
}
void frmMain::OnTextBox(int slot, int code) {
    if (code == EN_CHANGE && !rows_.ChangingQuietly(slot)) logic_->txt_Change(slot);
    if (code == EN_SETFOCUS) logic_->txt_GotFocus(slot);
}
void frmMain::OnTitleBox(int slot, int code) {
    if (code == EN_SETFOCUS) logic_->txtTitle_GotFocus(slot);
}
void frmMain::OnClipboardLine(int index, int code) {
    if (code != EN_SETFOCUS) return;
    index == 0 ? logic_->txtLength_Click() : logic_->txtClipboard_Click();
}

// Unsaved texts that could not be saved hold the session up, with the
// reason where Windows shows it; the user may end the session anyway.
LRESULT frmMain::OnQueryEndSession() {
    if (!logic_->FormQueryUnload(UnloadMode::kSession)) return TRUE;
    ::ShutdownBlockReasonCreate(hwnd(), logic_->SessionBlockReason().c_str());
    return FALSE;
}

// The close box only hides the window; the program stays in the tray.
void frmMain::OnClose() {
    logic_->FormQueryUnload(UnloadMode::kUser);
}

void frmMain::OnExit() {
    if (logic_->FormQueryUnload(UnloadMode::kProgram)) return;
    logic_->FormUnload();
    Destroy();
}

LRESULT frmMain::OnColour(HDC dc, HWND control) {
    if (const HBRUSH label = strip_.Colour(dc, control)) return reinterpret_cast<LRESULT>(label);
    if (const HBRUSH box = rows_.Colour(dc, control)) return reinterpret_cast<LRESULT>(box);
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

}  // namespace quillet
