// The tray menu's captions and content, and what the icon and the menu do.
#include <gtest/gtest.h>

#include "background/ModuleTray.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

std::wstring Digits(size_t n) {
    std::wstring s;
    for (size_t i = 0; i < n; ++i) s += static_cast<wchar_t>(L'0' + i % 10);
    return s;
}

TEST(TrayCaptionTest, Below50WholeFrom50HeadAndTail) {
    EXPECT_EQ(ShortenForTray(L""), L"");
    EXPECT_EQ(ShortenForTray(Digits(49)), Digits(49));
    const std::wstring fifty = Digits(50);
    const std::wstring shortened = ShortenForTray(fifty);
    EXPECT_EQ(shortened, fifty.substr(0, 24) + L"...  " + fifty.substr(28));
    EXPECT_EQ(shortened.size(), 51u);
    EXPECT_EQ(ShortenForTray(std::wstring(31999, L'k')).size(), 51u);
}

TEST(TrayCaptionTest, NeverSplitsASurrogatePair) {
    // An emoji across the 24th character and another across the tail's start.
    std::wstring text = Digits(23) + L"\U0001F600" + Digits(30);
    text.insert(text.size() - 22, L"\U0001F600");
    const std::wstring shortened = ShortenForTray(text);
    for (size_t i = 0; i < shortened.size(); ++i) {
        const wchar_t c = shortened[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            ASSERT_LT(i + 1, shortened.size());
            EXPECT_TRUE(shortened[i + 1] >= 0xDC00 && shortened[i + 1] <= 0xDFFF) << i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            ASSERT_GT(i, 0u);
            EXPECT_TRUE(shortened[i - 1] >= 0xD800 && shortened[i - 1] <= 0xDBFF) << i;
        }
    }
}

TEST(TrayCaptionTest, MenuTextKeepsAmpersandsAndMarksBreaksAndTabs) {
    EXPECT_EQ(MenuItemText(L"R&D"), L"R&&D");
    EXPECT_EQ(MenuItemText(L"a\tb"), L"a\u00BBb");
    EXPECT_EQ(MenuItemText(L"one\r\ntwo\nthree\rfour"), L"one\u00B6two\u00B6three\u00B6four");
    EXPECT_EQ(MenuItemText(L""), L"");
}

TEST(TrayMenuTest, TextStoreShowsSlotsStoresAndClipboard) {
    std::array<std::wstring, 16> captions;
    for (int j = 0; j < 16; ++j) captions[j] = std::to_wstring(j) + L" Store";
    captions[0] = L"&P Pictures";
    captions[3] = L"3 R&D";
    std::array<std::wstring, 10> texts;
    texts[0] = L"first";
    texts[1] = Digits(60);
    texts[2] = L"Tom & Jerry\r\nnext";
    const TrayMenu menu = BuildTrayMenu(3, captions, texts, L"clip\tboard");
    EXPECT_EQ(menu.stores[0].text, L"P Pictures");
    EXPECT_EQ(menu.stores[3].text, L"3 R&&D");
    for (int j = 0; j < 16; ++j) EXPECT_EQ(menu.stores[j].checked, j == 3) << j;
    EXPECT_EQ(menu.slots[0].text, L"first");
    EXPECT_EQ(menu.slots[1].text, ShortenForTray(texts[1]));
    EXPECT_EQ(menu.slots[2].text, L"Tom && Jerry\u00B6next");
    EXPECT_EQ(menu.slots[9].text, L"");
    for (const TrayMenuItem& slot : menu.slots) EXPECT_TRUE(slot.shown);
    EXPECT_EQ(menu.contents, L"clip\u00BBboard");
}

TEST(TrayMenuTest, PicturesStoreHidesTheSlotsAndChecksPictures) {
    std::array<std::wstring, 10> texts;
    texts[0] = L"not shown";
    const TrayMenu menu = BuildTrayMenu(0, {}, texts, L"");
    EXPECT_TRUE(menu.stores[0].checked);
    EXPECT_EQ(menu.stores[0].text, L"P Pictures");
    for (const TrayMenuItem& slot : menu.slots) {
        EXPECT_FALSE(slot.shown);
        EXPECT_EQ(slot.text, L"");
    }
}

TEST(TrayMenuTest, OnlyLeftAndRightPressesAct) {
    EXPECT_EQ(DecodeTrayCallback(513), TrayIconEvent::kShowWindow);
    EXPECT_EQ(DecodeTrayCallback(516), TrayIconEvent::kShowMenu);
    for (uint32_t other : {512u, 514u, 515u, 517u, 518u, 519u, 520u, 0u})
        EXPECT_EQ(DecodeTrayCallback(other), TrayIconEvent::kNone) << other;
}

class TrayCommandsTest : public MainFormTest {
  protected:
    void SetUp() override { StartIn(2); }
};

TEST_F(TrayCommandsTest, FilledSlotCopiesEmptySlotPastesWithUndo) {
    view.text[4] = L"slot five";
    clipboard.text = L"before";
    view.enabled[IDM_UNDO] = false;
    form.mnuTrayRef_Click(4);
    EXPECT_EQ(clipboard.text, L"slot five");
    EXPECT_EQ(view.text[4], L"slot five");
    EXPECT_FALSE(view.enabled[IDM_UNDO]);

    clipboard.text = L"from the clipboard";
    form.mnuTrayRef_Click(6);
    EXPECT_EQ(view.text[6], L"from the clipboard");
    EXPECT_TRUE(view.enabled[IDM_UNDO]);
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[6], L"");
    EXPECT_FALSE(view.visible) << "the menu leaves the window as it was";
}

TEST_F(TrayCommandsTest, RightPressShowsTheMenuOfTheMomentLeftPressTheWindow) {
    view.text[0] = L"a text";
    view.storeCaption = {};
    form.TrayIcon_Callback(516);
    ASSERT_EQ(windows.Count("tray menu"), 1);
    EXPECT_EQ(windows.menu.slots[0].text, L"a text");
    EXPECT_TRUE(windows.menu.stores[2].checked);

    // A rename shows at the next press.
    input.answers.push_back(L"Work");
    form.submnuRename_Click();
    form.TrayIcon_Callback(516);
    EXPECT_EQ(windows.menu.stores[2].text, L"2 Work");

    view.visible = false;
    view.topMostCalls.clear();
    form.TrayIcon_Callback(513);
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.topMostCalls, (std::vector<bool>{true, false}));
    form.TrayIcon_Callback(515);  // the double click itself
    EXPECT_EQ(windows.Count("tray menu"), 2);
}

}  // namespace
}  // namespace quillet
