// The help and About windows' logic over fake views, with the real main
// window logic behind them, and the main window's menu items that open them.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "help/about_form.h"
#include "help/help_form.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

class FakeHelpView final : public HelpView {
  public:
    std::wstring text;
    std::array<bool, kHelpTopicCount + 1> bold{};
    unsigned mailColour = 0;
    std::vector<bool> topMostCalls;
    void SetTopicText(std::wstring_view t) override { text = t; }
    void SetTopicBold(int topic, bool b) override { bold.at(topic) = b; }
    void SetMailColour(unsigned c) override { mailColour = c; }
    void SetTopMost(bool onTop) override { topMostCalls.push_back(onTop); }
    std::vector<int> BoldTopics() const {
        std::vector<int> topics;
        for (int t = 1; t <= kHelpTopicCount; ++t)
            if (bold[t]) topics.push_back(t);
        return topics;
    }
};

class FakeAboutView final : public AboutView {
  public:
    std::wstring version;
    LinkColours colours{0, 0};
    std::vector<bool> topMostCalls;
    void SetVersionText(std::wstring_view t) override { version = t; }
    void SetLinkColours(LinkColours c) override { colours = c; }
    void SetTopMost(bool onTop) override { topMostCalls.push_back(onTop); }
};

constexpr ProgramVersion kTestVersion{2, 7, 45};

class InfoFormsTest : public MainFormTest {
  protected:
    FakeHelpView helpView;
    FakeAboutView aboutView;
    HelpForm help{helpView, form, shell, kTestVersion};
    AboutForm about{aboutView, form, shell, kTestVersion};

    void Start(bool stayOnTop) {
        Store("Settings", "askImport", L"1");
        Store("Settings", "StoreNumber", L"1");
        Store("Settings", "MainOnTop", stayOnTop ? L"1" : L"0");
        form.FormLoad(kFolder);
        view.topMostCalls.clear();
    }
};

// A number that names no topic leaves the window as it is; opened again
// after closing, it starts over on General.
TEST_F(InfoFormsTest, HelpOpensOnGeneralAndOnlyTheClickedTopicIsBold) {
    Start(false);
    help.Form_Load();
    EXPECT_EQ(helpView.mailColour, kLinkBlue);
    auto shows = [&](int topic) {
        EXPECT_EQ(help.Topic(), topic);
        EXPECT_EQ(helpView.BoldTopics(), std::vector<int>{topic});
        EXPECT_EQ(helpView.text, HelpTopicText(topic));
    };
    shows(1);
    for (int t : {8, 10, 3}) {
        help.cmdHelp_Click(t);
        shows(t);
    }
    for (int t : {0, 11, -1}) help.cmdHelp_Click(t);
    shows(3);
    help.Form_Unload();
    help.Form_Load();
    shows(1);
}

// The windows follow the main window's choice, and closing them gives the
// main window its own choice back as the settings file holds it.
TEST_F(InfoFormsTest, StayOnTopMakesBothTopmostAndClosingReappliesTheMainChoice) {
    Start(false);
    help.Form_Load();
    about.Form_Load();
    EXPECT_TRUE(helpView.topMostCalls.empty() && aboutView.topMostCalls.empty());
    about.Form_Unload();
    EXPECT_EQ(view.topMostCalls, std::vector<bool>{false});

    Store("Settings", "MainOnTop", L"1");
    form.ApplyMainOnTop();
    view.topMostCalls.clear();
    help.Form_Load();
    about.Form_Load();
    EXPECT_EQ(helpView.topMostCalls, std::vector<bool>{true});
    EXPECT_EQ(aboutView.topMostCalls, std::vector<bool>{true});
    help.Form_Unload();
    EXPECT_EQ(view.topMostCalls, std::vector<bool>{true});
    // Switched off while About was open: closing it leaves the main window ordinary.
    form.submnuStayTop_Click();
    about.Form_Unload();
    EXPECT_FALSE(view.topMost);
    EXPECT_FALSE(view.IsChecked(IDM_STAYTOP));
}

TEST_F(InfoFormsTest, HelpMailLinkIsRedOnlyUnderTheMouse) {
    Start(false);
    help.Form_Load();
    help.Label2_MouseMove();
    EXPECT_EQ(helpView.mailColour, kLinkRed);
    help.Form_MouseMove();
    EXPECT_EQ(helpView.mailColour, kLinkBlue);
    help.Label2_MouseMove();
    help.Label2_MouseLeave();
    EXPECT_EQ(helpView.mailColour, kLinkBlue);
    // A window opened again starts blue, wherever the mouse was.
    help.Label2_MouseMove();
    help.Form_Unload();
    help.Form_Load();
    EXPECT_EQ(helpView.mailColour, kLinkBlue);
}

TEST_F(InfoFormsTest, AboutShowsTheVersionAndRedFollowsTheMouseFromLinkToLink) {
    Start(false);
    about.Form_Load();
    EXPECT_EQ(aboutView.version, L"Version  2.7.45");
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkBlue, kLinkBlue}));
    about.lblHelp3_MouseMove();
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkRed, kLinkBlue}));
    about.lblHyperlink_MouseMove();
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkBlue, kLinkRed}));
    about.Link_MouseLeave(Link::kMail);  // late, after the move onto the other
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkBlue, kLinkRed}));
    about.lblHelp3_MouseMove();
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkRed, kLinkBlue}));
    about.Form_MouseMove();
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkBlue, kLinkBlue}));
    about.lblHyperlink_MouseMove();
    about.Link_MouseLeave(Link::kWeb);
    EXPECT_EQ(aboutView.colours, (LinkColours{kLinkBlue, kLinkBlue}));
}

// Each window's mail link and its web link, with a sound while Sounds is on.
TEST_F(InfoFormsTest, LinksBeepWhenSoundsIsOnAndOpenTheirAddresses) {
    Start(false);
    help.Form_Load();
    about.Form_Load();
    const int beeps = view.beeps;
    help.Label2_Click();
    help.Picture1_Click();
    about.lblHelp3_Click();
    about.lblHyperlink_Click();
    EXPECT_EQ(view.beeps, beeps + 4);
    const std::wstring home(kHomePage);
    EXPECT_EQ(shell.Opened(), (std::vector<std::wstring>{HelpMailAddress(kTestVersion), home,
                                                         AboutMailAddress(kTestVersion), home}));
    form.mnuSounds_Click();  // off
    help.Label2_Click();
    about.lblHyperlink_Click();
    EXPECT_EQ(view.beeps, beeps + 4);
    EXPECT_EQ(shell.calls.size(), 6u);
}

TEST_F(MainFormTest, HelpMenuTrayMenuAndExitReachTheWindows) {
    form.FormLoad(kFolder);
    form.Help_Click();
    form.menuTrayHelp_click();
    form.About_Click();
    EXPECT_EQ(windows.Count("help"), 2);
    EXPECT_EQ(windows.Count("about"), 1);
    EXPECT_EQ(windows.Count("close help and about"), 0);
}

}  // namespace
}  // namespace quillet
