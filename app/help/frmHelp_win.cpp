// The help window: its controls, their messages and the view HelpForm draws through.
#include "help/frmHelp_win.h"

#include "drawing_win.h"
#include "resource.h"
#include "util/shell_launch.h"

namespace quillet {

namespace {

// The designed client area, in pixels at 96 dots per inch.
constexpr int kClientWidth = 600, kClientHeight = 404;
constexpr int kButtonTop = 10, kButtonStep = 30;

}  // namespace

frmHelp::~frmHelp() {
    quiet_ = true;
    tips_.reset();
    Destroy();
}

void frmHelp::Show() {
    ShowInFront();
}

void frmHelp::Close() {
    tips_.reset();
    Destroy();
}

// Unowned: under Wine an owned topmost window keeps its owner from
// becoming topmost, and the main window has its own Stay on Top.
void frmHelp::Load() {
    if (!CreateCentred(instance_, kHelpWindowClass, IDI_QUILLET, kHelpCaption,
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                       SIZE{kClientWidth, kClientHeight}))
        return;
    CreateControls();
    logic_.Form_Load();
    ::SetFocus(buttons_[0]);
}

void frmHelp::CreateControls() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    font_.reset(::CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    bold_.reset(::CreateFontIndirectW(&lf));
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = TRUE;
    link_.reset(::CreateFontIndirectW(&lf));
    textBackground_.reset(::CreateSolidBrush(kHelpTextBackground));
    auto setFont = [](HWND w, HFONT f) {
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    };

    for (int t = 1; t <= kHelpTopicCount; ++t) {
        HWND& button = buttons_[t - 1];
        button = CreateChild(hwnd(), L"BUTTON", std::wstring(HelpButtonCaption(t)).c_str(),
                             WS_TABSTOP | BS_PUSHBUTTON, IDC_CMDHELP1 + t - 1,
                             At(10, kButtonTop + (t - 1) * kButtonStep, 96, 26));
        setFont(button, font_.get());
    }
    txtHelp_ = CreateChild(hwnd(), L"EDIT", L"",
                           WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                           IDC_TXTHELP, At(116, 10, 474, 330), WS_EX_CLIENTEDGE);
    setFont(txtHelp_, font_.get());

    picture1_ = CreateChild(hwnd(), L"STATIC", L"Brindle Software", SS_OWNERDRAW | SS_NOTIFY,
                            IDC_HELPPICTURE1, At(34, 318, 48, 48));
    HWND label1 = CreateChild(hwnd(), L"STATIC", L"Made by Brindle Software", SS_CENTER,
                              IDC_HELPLABEL1, At(4, 372, 108, 30));
    setFont(label1, font_.get());
    HWND label3 = CreateChild(hwnd(), L"STATIC", L"E-mail us", SS_RIGHT, IDC_HELPLABEL3,
                              At(116, 354, 70, 18));
    setFont(label3, font_.get());
    mail_.Create(
        hwnd(), IDC_HELPLABEL2, std::wstring(kHelpMail).c_str(), At(192, 354, 250, 18), link_.get(),
        [this] { logic_.Label2_MouseMove(); }, [this] { logic_.Label2_MouseLeave(); });
    HWND close = CreateChild(hwnd(), L"BUTTON", L"&Close", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL,
                             At(500, 350, 90, 28));
    setFont(close, font_.get());

    tips_ = std::make_unique<Tooltips>();
    tips_->Create(hwnd());
    tips_->Add(mail_.hwnd(), L"E-mail us if you need further help");
    tips_->Add(picture1_, L"Brindle Software");
}

LRESULT frmHelp::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_DRAWITEM:
            DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_MOUSEMOVE:
            logic_.Form_MouseMove();
            return 0;
        case WM_SETCURSOR:
            if (SetHandCursorOver(reinterpret_cast<HWND>(wp), {mail_.hwnd(), picture1_}))
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

void frmHelp::OnCommand(int id, int code) {
    if (id >= IDC_CMDHELP1 && id < IDC_CMDHELP1 + kHelpTopicCount) {
        if (code == BN_CLICKED) logic_.cmdHelp_Click(id - IDC_CMDHELP1 + 1);
    } else if (id == IDCANCEL) {
        Close();
    } else if (id == IDC_HELPLABEL2 && code == STN_CLICKED) {
        logic_.Label2_Click();
    } else if (id == IDC_HELPPICTURE1 && code == STN_CLICKED) {
        logic_.Picture1_Click();
    }
}

LRESULT frmHelp::OnColour(HDC dc, HWND control) {
    if (control == mail_.hwnd()) return mail_.Paint(dc);
    if (control == txtHelp_) {
        ::SetBkColor(dc, kHelpTextBackground);
        return reinterpret_cast<LRESULT>(textBackground_.get());
    }
    return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(control));
}

void frmHelp::SetTopicText(std::wstring_view text) {
    ::SetWindowTextW(txtHelp_, std::wstring(text).c_str());
}

void frmHelp::SetTopicBold(int topic, bool bold) {
    if (topic < 1 || topic > kHelpTopicCount) return;
    const HFONT font = FontAtDpi(bold ? bold_.get() : font_.get());
    ::SendMessageW(buttons_[topic - 1], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void frmHelp::SetMailColour(unsigned colour) {
    mail_.SetColour(static_cast<COLORREF>(colour));
}

void frmHelp::SetTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace quillet
