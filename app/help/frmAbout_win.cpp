// The About window: its controls, their messages and the view AboutForm draws through.
#include "help/frmAbout_win.h"

#include "controls/controls_win.h"
#include "resource.h"
#include "util/shell_launch.h"

namespace quillet {

namespace {

// The designed client area, in pixels at 96 dots per inch.
constexpr LinkWindowLook kLook{kAboutWindowClass, kAboutCaption,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                               SIZE{380, 220}};

}  // namespace

frmAbout::frmAbout(HINSTANCE instance, InfoContext& main, Shell& shell)
    : LinkWindow(instance, kLook), logic_(*this, main, shell) {}

HWND frmAbout::CreateControls() {
    LOGFONTW big = MessageFont();
    big.lfHeight = big.lfHeight * 3 / 2;
    big.lfWeight = FW_BOLD;
    title_.reset(::CreateFontIndirectW(&big));

    CreateChild(hwnd(), L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUTPICTURE1, At(20, 20, 48, 48));
    CreateChild(hwnd(), L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUTPICTURE3, At(312, 20, 48, 48));
    version_ =
        Child(L"STATIC", L"Version", SS_NOPREFIX, IDC_LBLHELP4, At(84, 24, 220, 26), title_.get());
    Child(L"STATIC", L"Made by Brindle Software", SS_NOPREFIX, IDC_LBLHELP1, At(84, 54, 220, 18),
          TextFont());
    Child(L"STATIC", L"E-mail", SS_NOPREFIX, IDC_ABOUTLABEL2, At(20, 100, 56, 18), TextFont());
    CreateLink(mail_, IDC_LBLHELP3, kFeedbackMail, At(84, 100, 276, 18), Link::kMail);
    CreateLink(web_, IDC_LBLHYPERLINK, kHomePage, At(84, 126, 276, 18), Link::kWeb);
    return Child(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, At(276, 176, 84, 28),
                 TextFont());
}

void frmAbout::OnCommand(int id, int code) {
    if (id == IDOK) {
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
        LinkWindow::OnDrawItem(item);
        return;
    }
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    const HICON icon = static_cast<HICON>(::LoadImageW(
        Instance(), MAKEINTRESOURCEW(IDI_QUILLET), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
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

}  // namespace quillet
