// What the main window tells the Find window, and going to a store for it.
#include <gtest/gtest.h>

#include "find_services.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

class FindServicesTest : public MainFormTest {
  protected:
    MainFindServices services{form, view, fs, codec};

    void StartIn(int store) {
        Store("Settings", "StoreNumber", std::to_wstring(store));
        form.FormLoad(kFolder);
    }
};

TEST_F(FindServicesTest, StoredStoresAreTheFilesFifteenTextStores) {
    Store("Savings3", "txt(4)", L"line one\r\nline two");
    Store("Savings15", "txtTitle(9)", L"last title");
    Store("Savings0", "txtTitle(0)", L"a picture");
    StartIn(1);
    view.text[0] = L"typed, not saved";
    const StoredTexts stored = services.StoredStores();
    EXPECT_TRUE(stored.readable);
    EXPECT_EQ(stored.path, kIni);
    ASSERT_EQ(stored.stores.size(), 15u);
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(stored.stores[n - 1].store, n);
    EXPECT_EQ(stored.stores[2].slots[4].text, L"line one\r\nline two");
    EXPECT_EQ(stored.stores[14].slots[9].title, L"last title");
    EXPECT_EQ(stored.stores[0].slots[0].text, L"");
}

TEST_F(FindServicesTest, AnUnreadableFileGivesItsPathAndReasonAndNoStores) {
    StartIn(2);
    fs.unreadable.insert(kIni);
    const StoredTexts stored = services.StoredStores();
    EXPECT_FALSE(stored.readable);
    EXPECT_EQ(stored.path, kIni);
    EXPECT_FALSE(stored.reason.empty());
    EXPECT_TRUE(stored.stores.empty());
    EXPECT_TRUE(prompt.messages.empty());  // the window says it, not a message box
}

TEST_F(FindServicesTest, TheShownStoreAsItsBoxesHoldItNoneForPictures) {
    StartIn(6);
    view.text[2] = L"edited";
    view.title[2] = L"new title";
    const std::optional<StoreTexts> shown = services.ShownTexts();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->store, 6);
    EXPECT_EQ(shown->slots[2].text, L"edited");
    EXPECT_EQ(shown->slots[2].title, L"new title");
    form.submnustore_Click(0);
    EXPECT_FALSE(services.ShownTexts());
}

TEST_F(FindServicesTest, AnotherStoreComesAsItsLabelsClickWithTheSaveQuestion) {
    Store("Savings5", "txt(0)", L"five");
    StartIn(2);
    view.text[1] = L"edited in two";
    prompt.answers = {true};
    EXPECT_TRUE(services.GoToStore(5));
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, L"Save Changes ?");
    EXPECT_EQ(Stored("Savings2", "txt(1)"), L"edited in two");
    EXPECT_EQ(form.CurrentStore(), 5);
    EXPECT_EQ(view.text[0], L"five");
}

TEST_F(FindServicesTest, TheStoreShownStaysWithItsEditsAndNoQuestion) {
    Store("Savings2", "txt(1)", L"saved");
    StartIn(2);
    view.text[1] = L"edited";
    EXPECT_TRUE(services.GoToStore(2));
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(view.text[1], L"edited");
    EXPECT_EQ(Stored("Savings2", "txt(1)"), L"saved");
}

TEST_F(FindServicesTest, AWindowInTheTrayOrMinimizedComesBackAndAFailedSwitchSaysSo) {
    StartIn(2);
    form.CloseMainWindow();
    ASSERT_FALSE(view.visible);
    EXPECT_TRUE(services.GoToStore(3));
    EXPECT_TRUE(view.visible);
    view.geometry.state = WindowState::kMinimized;
    EXPECT_TRUE(services.GoToStore(3));
    EXPECT_EQ(view.geometry.state, WindowState::kNormal);
    fs.unreadable.insert(kIni);
    EXPECT_FALSE(services.GoToStore(4));
    EXPECT_EQ(form.CurrentStore(), 3);
}

TEST_F(FindServicesTest, SelectingPutsTheFocusInTheSlotsBox) {
    StartIn(1);
    view.text[7] = L"0123456789";
    services.SelectInBox(BoxRef{BoxRef::Kind::kText, 7}, TextRange{3, 6});
    EXPECT_EQ(view.active, (BoxRef{BoxRef::Kind::kText, 7}));
    EXPECT_EQ(view.Rows().SelectedText(*view.active), L"345");
}

}  // namespace
}  // namespace quillet
