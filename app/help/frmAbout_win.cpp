// The About window: its controls, their messages and the view AboutForm draws through.
#include "help/frmAbout_win.h"

#include "controls_win.h"
#include "drawing_win.h"
#include "resource.h"
#include "util/shell_launch.h"

namespace quillet {

namespace {

// The designed client area, in pixels at 96 dots per inch.
constexpr int kClientWidth = 380, kClientHeight = 220;

}  // namespace

frmAbout::~frmAbout() {
    quiet_ = true;
    Destroy();
}

void frmAbout::Show() {
    ShowInFront();
}

void frmAbout::Close() {
    Destroy();
}

// Unowned, as the help window is, for the main window's Stay on Top.
void frmAbout::Load() {
    if (!CreateCentred(instance_, kAboutWindowClass, IDI_QUILLET, kAboutCaption,
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                       SIZE{kClientWidth, kClientHeight}))
        return;
    CreateControls();
    logic_.Form_Load();
    ::SetFocus(::GetDlgItem(hwnd(), IDOK));
}

void frmAbout::CreateControls() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    font_.reset(::CreateFontIndirectW(&lf));
    LOGFONTW big = lf;
    big.lfHeight = lf.lfHeight * 3 / 2;
    big.lfWeight = FW_BOLD;
    title_.reset(::CreateFontIndirectW(&big));
    lf.lfUnderline = TRUE;
    link_.reset(::CreateFontIndirectW(&lf));
    auto label = [&](const wchar_t* text, int id, RECT at, HFONT font) {
        HWND w = CreateChild(hwnd(), L"STATIC", text, SS_NOPREFIX, id, at);
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return w;
    };

    CreateChild(hwnd(), L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUTPICTURE1, At(20, 20, 48, 48));
    CreateChild(hwnd(), L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUTPICTURE3, At(312, 20, 48, 48));
    version_ = label(L"Version", IDC_LBLHELP4, At(84, 24, 220, 26), title_.get());
    label(L"Made by Brindle Software", IDC_LBLHELP1, At(84, 54, 220, 18), font_.get());
    label(L"E-mail", IDC_ABOUTLABEL2, At(20, 100, 56, 18), font_.get());
    mail_.Create(
        hwnd(), IDC_LBLHELP3, std::wstring(kFeedbackMail).c_str(), At(84, 100, 276, 18),
        link_.get(), [this] { logic_.lblHelp3_MouseMove(); },
        [this] { logic_.Link_MouseLeave(Link::kMail); });
    web_.Create(
        hwnd(), IDC_LBLHYPERLINK, std::wstring(kHomePage).c_str(), At(84, 126, 276, 18),
        link_.get(), [this] { logic_.lblHyperlink_MouseMove(); },
        [this] { logic_.Link_MouseLeave(Link::kWeb); });
    HWND ok = CreateChild(hwnd(), L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                          At(276, 176, 84, 28));
    ::SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

LRESULT frmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto control = reinterpret_cast<HWND>(lp);
            const auto dc = reinterpret_cast<HDC>(wp);
            if (control == mail_.hwnd()) return mail_.Paint(dc);
            if (control == web_.hwnd()) return web_.Paint(dc);
            return Default(msg, wp, lp);
        }
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_MOUSEMOVE:
            logic_.Form_MouseMove();
            return 0;
        case WM_SETCURSOR:
            if (SetHandCursorOver(reinterpret_cast<HWND>(wp), {mail_.hwnd(), web_.hwnd()}))
                return TRUE;
            return Default(msg, wp, lp);
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            if (!quiet_) logic_.Form_Unload();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

void frmAbout::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
        Close();
    } else if (id == IDC_LBLHELP3 && code == STN_CLICKED) {
        logic_.lblHelp3_Click();
    } else if (id == IDC_LBLHYPERLINK && code == STN_CLICKED) {
        logic_.lblHyperlink_Click();
    }
}

// The maker's mark on the left, the program's icon on the right.
void frmAbout::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == IDC_ABOUTPICTURE1) {
        DrawLogo(item);
        return;
    }
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    const HICON icon = static_cast<HICON>(::LoadImageW(
        instance_, MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (icon)
        ::DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon,
                     item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, 0,
                     nullptr, DI_NORMAL);
}

void frmAbout::SetVersionText(std::wstring_view text) {
    ::SetWindowTextW(version_, std::wstring(text).c_str());
}

void frmAbout::SetLinkColours(LinkColours colours) {
    mail_.SetColour(static_cast<COLORREF>(colours.mail));
    web_.SetColour(static_cast<COLORREF>(colours.web));
}

void frmAbout::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace quillet
