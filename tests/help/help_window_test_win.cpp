// The help and About windows in this process, opened from the main window's
// menu items, where the test can look at their fonts, paint and placing.
#include <gtest/gtest.h>
#include <windows.h>

#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet {
namespace {

using testing::FontHeight;
using testing::InClient;
using testing::MoveToDpi;
using testing::WindowTest;

bool IsBold(HWND control) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    return font && ::GetObjectW(font, sizeof lf, &lf) && lf.lfWeight >= FW_BOLD;
}

bool IsTopMost(HWND w) {
    return (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The text colour the window tells a static control to paint with.
COLORREF TextColourOf(HWND window, HWND control) {
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    ::SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                   reinterpret_cast<LPARAM>(control));
    return ::GetTextColor(dc.get());
}

class InfoWindowTest : public WindowTest {
  protected:
    frmHelp& Help() { return window().Info().Help(); }
    frmAbout& About() { return window().Info().About(); }
    void ClickTopic(int topic) {
        const int id = IDC_CMDHELP1 + topic - 1;
        ::SendMessageW(Help().hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Help().Control(id)));
    }
};

// The clicked topic's text, its button alone in bold; the links are painted
// apart under the mouse and back once it leaves, in Help and in About.
TEST_F(InfoWindowTest, TopicsShowInBoldAndLinksFollowTheMouse) {
    ASSERT_TRUE(Open());
    Menu(IDM_HELP);
    HWND help = Help().hwnd();
    ASSERT_TRUE(help);
    EXPECT_EQ(::FindWindowW(kHelpWindowClass, nullptr), help);
    EXPECT_TRUE(::IsWindowVisible(help));
    EXPECT_EQ(::GetWindow(help, GW_OWNER), nullptr);
    for (int topic : {8, 1}) {
        ClickTopic(topic);
        EXPECT_EQ(WindowText(Help().Control(IDC_TXTHELP)), HelpTopicText(topic));
        for (int t = 1; t <= kHelpTopicCount; ++t)
            EXPECT_EQ(IsBold(Help().Control(IDC_CMDHELP1 + t - 1)), t == topic) << t;
    }
    EXPECT_TRUE(::GetWindowLongPtrW(Help().Control(IDC_TXTHELP), GWL_STYLE) & ES_READONLY);

    Menu(IDM_ABOUT);
    HWND about = About().hwnd();
    ASSERT_TRUE(about);
    const struct {
        HWND window, link;
    } cases[] = {{help, Help().Control(IDC_HELPLABEL2)},
                 {about, About().Control(IDC_LBLHELP3)},
                 {about, About().Control(IDC_LBLHYPERLINK)}};
    for (const auto& c : cases) {
        const COLORREF resting = TextColourOf(c.window, c.link);
        ::SendMessageW(c.link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_NE(TextColourOf(c.window, c.link), resting);
        ::SendMessageW(c.link, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(TextColourOf(c.window, c.link), resting);
    }
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

// Closing either window gives the main window back its own Stay on Top,
// even when something else took it away meanwhile.
TEST_F(InfoWindowTest, StayOnTopFollowsTheMainWindowAndComesBackToItOnClose) {
    ASSERT_TRUE(Open(testing::SettingsFile(1, "MainOnTop=1\r\n")));
    HWND main = window().hwnd();
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

}  // namespace
}  // namespace quillet
