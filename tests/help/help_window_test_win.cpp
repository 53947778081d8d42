// The help and About windows in this process, opened from the main window's
// menu items, where the test can look at their controls, fonts and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include "frmMain_win.h"
#include "resource.h"
#include "support/program_win.h"

namespace quillet {
namespace {

using testing::CleanDriveC;
using testing::FontHeight;
using testing::InClient;
using testing::MoveToDpi;
using testing::WaitFor;
using testing::WriteFileBytes;

std::wstring TextOf(HWND w) {
    return WindowText(w);
}

bool IsBold(HWND control) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    return font && ::GetObjectW(font, sizeof lf, &lf) && lf.lfWeight >= FW_BOLD;
}

bool IsTopMost(HWND w) {
    return (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// What the window tells a static control to paint with: text colour,
// background colour and the brush's colour.
struct Paint {
    COLORREF text, back, brush;
};
Paint PaintOf(HWND window, HWND control) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ::SetTextColor(dc.get(), RGB(1, 2, 3));
    ::SetBkColor(dc.get(), RGB(4, 5, 6));
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(window, WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc.get()),
                                                               reinterpret_cast<LPARAM>(control)));
    LOGBRUSH lb{};
    if (brush) ::GetObjectW(brush, sizeof lb, &lb);
    return {::GetTextColor(dc.get()), ::GetBkColor(dc.get()), lb.lbColor};
}

class InfoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { CleanDriveC(); }
    void TearDown() override { CleanDriveC(); }
    bool Open(const std::string& settings = "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n") {
        WriteFileBytes(L"C:\\quilbdx.ini", settings);
        return window_.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro");
    }
    void Menu(int id) { ::SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    frmHelp& Help() { return window_.Info().Help(); }
    frmAbout& About() { return window_.Info().About(); }
    void ClickTopic(int topic) {
        HWND button = Help().Control(IDC_CMDHELP1 + topic - 1);
        ::SendMessageW(Help().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMDHELP1 + topic - 1, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
    void ExpectTopic(int topic) {
        SCOPED_TRACE(topic);
        EXPECT_EQ(TextOf(Help().Control(IDC_TXTHELP)), HelpTopicText(topic));
        for (int t = 1; t <= kHelpTopicCount; ++t)
            EXPECT_EQ(IsBold(Help().Control(IDC_CMDHELP1 + t - 1)), t == topic) << t;
    }
    frmMain window_;
};

TEST_F(InfoWindowTest, HelpMenuOpensTheHelpOnGeneralAndEveryTopicShows) {
    ASSERT_TRUE(Open());
    Menu(IDM_HELP);
    HWND help = Help().hwnd();
    ASSERT_TRUE(help);
    EXPECT_EQ(::FindWindowW(kHelpWindowClass, L"Quillet Pro - Help"), help);
    EXPECT_TRUE(::IsWindowVisible(help));
    EXPECT_EQ(::GetWindow(help, GW_OWNER), nullptr);
    for (int t = 1; t <= kHelpTopicCount; ++t)
        EXPECT_EQ(TextOf(Help().Control(IDC_CMDHELP1 + t - 1)), HelpButtonCaption(t));
    EXPECT_EQ(TextOf(::GetDlgItem(help, IDCANCEL)), L"&Close");
    EXPECT_EQ(TextOf(Help().Control(IDC_HELPLABEL3)), L"E-mail us");
    EXPECT_EQ(TextOf(Help().Control(IDC_HELPLABEL2)), L"help@brindlesoftware.example");
    EXPECT_EQ(TextOf(Help().Control(IDC_HELPLABEL1)), L"Made by Brindle Software");
    ExpectTopic(1);
    for (int t : {8, 2, 10, 3, 4, 5, 6, 7, 9, 1}) {
        ClickTopic(t);
        ExpectTopic(t);
    }
    // The text area is read-only, on its pale yellow.
    HWND text = Help().Control(IDC_TXTHELP);
    EXPECT_TRUE(::GetWindowLongPtrW(text, GWL_STYLE) & ES_READONLY);
    const Paint paint = PaintOf(help, text);
    EXPECT_EQ(paint.back, RGB(255, 255, 220));
    EXPECT_EQ(paint.brush, RGB(255, 255, 220));
}

// A window that does not lay itself out keeps its controls in proportion at
// another DPI, with the fonts it chose since (a bold topic); and comes back
// to exactly what it was.
TEST_F(InfoWindowTest, HelpAtAnotherDpiKeepsItsProportionsAndItsBoldTopic) {
    ASSERT_TRUE(Open());
    Menu(IDM_HELP);
    HWND help = Help().hwnd();
    ASSERT_TRUE(help);
    HWND text = Help().Control(IDC_TXTHELP), third = Help().Control(IDC_CMDHELP1 + 2);
    RECT window{};
    ::GetWindowRect(help, &window);
    const RECT textAt = InClient(help, text);
    const int plain = FontHeight(third);
    const int w = window.right - window.left, h = window.bottom - window.top;
    MoveToDpi(help, 144,
              RECT{window.left, window.top, window.left + w * 3 / 2, window.top + h * 3 / 2});
    const RECT wide = InClient(help, text);
    EXPECT_NEAR(wide.left, textAt.left * 3 / 2, 2);
    EXPECT_NEAR(wide.right - wide.left, (textAt.right - textAt.left) * 3 / 2, 2);
    EXPECT_NEAR(wide.bottom - wide.top, (textAt.bottom - textAt.top) * 3 / 2, 2);
    EXPECT_NEAR(FontHeight(third), plain * 3 / 2, 1);
    ClickTopic(3);
    EXPECT_TRUE(IsBold(third));
    EXPECT_NEAR(FontHeight(third), plain * 3 / 2, 1);

    MoveToDpi(help, 96, window);
    const RECT back = InClient(help, text);
    EXPECT_TRUE(::EqualRect(&back, &textAt));
    EXPECT_TRUE(IsBold(third));
    EXPECT_EQ(FontHeight(third), plain);
}

TEST_F(InfoWindowTest, TheTrayItemShowsTheOpenHelpAsItIsAndCloseUnloadsIt) {
    ASSERT_TRUE(Open());
    Menu(IDM_TRAYHELP);
    HWND help = Help().hwnd();
    ASSERT_TRUE(help);
    ClickTopic(5);
    Menu(IDM_TRAYHELP);
    EXPECT_EQ(Help().hwnd(), help);
    ExpectTopic(5);
    ::SendMessageW(help, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(help, IDCANCEL)));
    EXPECT_FALSE(::IsWindow(help));
    EXPECT_EQ(Help().hwnd(), nullptr);
    Menu(IDM_HELP);
    ASSERT_TRUE(Help().hwnd());
    ExpectTopic(1);
}

TEST_F(InfoWindowTest, MailLinkTurnsRedUnderTheMouseAndBlueOnTheBackground) {
    ASSERT_TRUE(Open());
    Menu(IDM_HELP);
    HWND help = Help().hwnd(), mail = Help().Control(IDC_HELPLABEL2);
    ASSERT_TRUE(mail);
    EXPECT_EQ(PaintOf(help, mail).text, RGB(0, 0, 255));
    ::SendMessageW(mail, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Help().MailColour(), RGB(255, 0, 0));
    EXPECT_EQ(PaintOf(help, mail).text, RGB(255, 0, 0));
    ::SendMessageW(help, WM_MOUSEMOVE, 0, MAKELPARAM(300, 380));
    EXPECT_EQ(PaintOf(help, mail).text, RGB(0, 0, 255));
    ::SendMessageW(mail, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ::SendMessageW(mail, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(PaintOf(help, mail).text, RGB(0, 0, 255));
}

// Closing either window gives the main window back its own Stay on Top,
// even when something else took it away meanwhile.
TEST_F(InfoWindowTest, StayOnTopFollowsTheMainWindowAndComesBackToItOnClose) {
    ASSERT_TRUE(Open("[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nMainOnTop=1\r\n"));
    HWND main = window_.hwnd();
    ASSERT_TRUE(IsTopMost(main));
    Menu(IDM_HELP);
    Menu(IDM_ABOUT);
    EXPECT_TRUE(IsTopMost(Help().hwnd()));
    EXPECT_TRUE(IsTopMost(About().hwnd()));
    for (Window* w : {static_cast<Window*>(&Help()), static_cast<Window*>(&About())}) {
        ::SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        ASSERT_FALSE(IsTopMost(main));
        ::SendMessageW(w->hwnd(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsTopMost(main));
    }
    EXPECT_EQ(Help().hwnd(), nullptr);
    EXPECT_EQ(About().hwnd(), nullptr);
}

TEST_F(InfoWindowTest, AboutShowsTheVersionAndItsLinksFollowTheMouse) {
    ASSERT_TRUE(Open());
    Menu(IDM_ABOUT);
    HWND about = About().hwnd();
    ASSERT_TRUE(about);
    EXPECT_EQ(::FindWindowW(kAboutWindowClass, L"Quillet Pro - About"), about);
    EXPECT_TRUE(::IsWindowVisible(about));
    EXPECT_EQ(TextOf(About().Control(IDC_LBLHELP4)), VersionText(kProgramVersion));
    EXPECT_EQ(TextOf(About().Control(IDC_LBLHELP4)).rfind(L"Version  ", 0), 0u);
    EXPECT_EQ(TextOf(About().Control(IDC_LBLHELP1)), L"Made by Brindle Software");
    EXPECT_EQ(TextOf(About().Control(IDC_ABOUTLABEL2)), L"E-mail");
    EXPECT_EQ(TextOf(About().Control(IDC_LBLHELP3)), kFeedbackMail);
    EXPECT_EQ(TextOf(About().Control(IDC_LBLHYPERLINK)), kHomePage);
    EXPECT_EQ(TextOf(::GetDlgItem(about, IDOK)), L"&OK");

    HWND mail = About().Control(IDC_LBLHELP3), web = About().Control(IDC_LBLHYPERLINK);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    auto colours = [&] {
        return std::make_pair(PaintOf(about, mail).text, PaintOf(about, web).text);
    };
    EXPECT_EQ(colours(), std::make_pair(blue, blue));
    ::SendMessageW(mail, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(colours(), std::make_pair(red, blue));
    ::SendMessageW(web, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ::SendMessageW(mail, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(colours(), std::make_pair(blue, red));
    ::SendMessageW(about, WM_MOUSEMOVE, 0, MAKELPARAM(200, 190));
    EXPECT_EQ(colours(), std::make_pair(blue, blue));

    ::SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(about, IDOK)));
    EXPECT_FALSE(::IsWindow(about));
}

TEST_F(InfoWindowTest, WithoutStayOnTopNeitherIsTopmostAndExitUnloadsBoth) {
    ASSERT_TRUE(Open());
    Menu(IDM_HELP);
    Menu(IDM_ABOUT);
    HWND help = Help().hwnd(), about = About().hwnd();
    ASSERT_TRUE(help && about);
    EXPECT_FALSE(IsTopMost(help));
    EXPECT_FALSE(IsTopMost(about));
    window_.Logic().FormUnload();
    EXPECT_FALSE(::IsWindow(help));
    EXPECT_FALSE(::IsWindow(about));
}

}  // namespace
}  // namespace quillet
