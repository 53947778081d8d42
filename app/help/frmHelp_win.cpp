// The help window: its controls, their messages and the view HelpForm draws through.
#include "help/frmHelp_win.h"

#include "resource.h"
#include "util/shell_launch.h"

namespace quillet {

namespace {

// The designed client area, in pixels at 96 dots per inch.
constexpr LinkWindowLook kLook{
    kHelpWindowClass, kHelpCaption,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, SIZE{600, 404}};
constexpr int kButtonTop = 10, kButtonStep = 30;

}  // namespace

frmHelp::frmHelp(HINSTANCE instance, InfoContext& main, Shell& shell)
    : LinkWindow(instance, kLook), logic_(*this, main, shell) {}

HWND frmHelp::CreateControls() {
    LOGFONTW bold = MessageFont();
    bold.lfWeight = FW_BOLD;
    bold_.reset(::CreateFontIndirectW(&bold));
    textBackground_.reset(::CreateSolidBrush(kHelpTextBackground));

    for (int t = 1; t <= kHelpTopicCount; ++t)
        buttons_[t - 1] = Child(L"BUTTON", std::wstring(HelpButtonCaption(t)).c_str(),
                                WS_TABSTOP | BS_PUSHBUTTON, IDC_CMDHELP1 + t - 1,
                                At(10, kButtonTop + (t - 1) * kButtonStep, 96, 26), TextFont());
    txtHelp_ =
        Child(L"EDIT", L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
              IDC_TXTHELP, At(116, 10, 474, 330), TextFont(), WS_EX_CLIENTEDGE);

    const HWND logo = CreateChild(hwnd(), L"STATIC", L"Brindle Software", SS_OWNERDRAW | SS_NOTIFY,
                                  IDC_HELPPICTURE1, At(34, 318, 48, 48));
    AddClickable(logo);
    Child(L"STATIC", L"Made by Brindle Software", SS_CENTER, IDC_HELPLABEL1, At(4, 372, 108, 30),
          TextFont());
    Child(L"STATIC", L"E-mail us", SS_RIGHT, IDC_HELPLABEL3, At(116, 354, 70, 18), TextFont());
    CreateLink(mail_, IDC_HELPLABEL2, kHelpMail, At(192, 354, 250, 18), Link::kMail);
    Child(L"BUTTON", L"&Close", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, At(500, 350, 90, 28),
          TextFont());

    AddTip(mail_.hwnd(), L"E-mail us if you need further help");
    AddTip(logo, L"Brindle Software");
    return buttons_[0];
}

void frmHelp::OnCommand(int id, int code) {
    if (id >= IDC_CMDHELP1 && id < IDC_CMDHELP1 + kHelpTopicCount) {
        if (code == BN_CLICKED) logic_.cmdHelp_Click(id - IDC_CMDHELP1 + 1);
    } else if (id == IDC_HELPLABEL2 && code == STN_CLICKED) {
        logic_.Label2_Click();
    } else if (id == IDC_HELPPICTURE1 && code == STN_CLICKED) {
        logic_.Picture1_Click();
    }
}

LRESULT frmHelp::OnColour(HDC dc, HWND control) {
    if (control != txtHelp_) return LinkWindow::OnColour(dc, control);
    ::SetBkColor(dc, kHelpTextBackground);
    return reinterpret_cast<LRESULT>(textBackground_.get());
}

void frmHelp::SetTopicText(std::wstring_view text) {
    ::SetWindowTextW(txtHelp_, std::wstring(text).c_str());
}

void frmHelp::SetTopicBold(int topic, bool bold) {
    if (topic < 1 || topic > kHelpTopicCount) return;
    const HFONT font = FontAtDpi(bold ? bold_.get() : TextFont());
    ::SendMessageW(buttons_[topic - 1], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void frmHelp::SetMailColour(unsigned colour) {
    mail_.SetColour(static_cast<COLORREF>(colour));
}

}  // namespace quillet
