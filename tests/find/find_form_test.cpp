// The Find window's logic over a program and a window that record what they
// are asked.
#include <gtest/gtest.h>

#include <map>

#include "find/find_form.h"
#include "find/letter_cases.h"

namespace quillet {
namespace {

class FakeProgram final : public FindServices {
  public:
    StoredTexts stored;
    std::optional<StoreTexts> shown;
    std::map<int, StoreTexts> loaded;  // what a store shows once gone to
    bool switches = true;
    int reads = 0;
    std::vector<int> wentTo;
    std::optional<std::pair<BoxRef, TextRange>> selected;

    StoredTexts StoredStores() override {
        ++reads;
        return stored;
    }
    std::optional<StoreTexts> ShownTexts() const override { return shown; }
    const std::wstring& StoreCaption(int store) const override {
        static std::wstring captions[16];
        captions[store] = store == 6 ? L"6 Recipes" : store == 8 ? L"Letters" : L"";
        if (captions[store].empty()) captions[store] = std::to_wstring(store) + L" Store";
        return captions[store];
    }
    bool GoToStore(int store) override {
        wentTo.push_back(store);
        if (!switches) return false;
        if (loaded.count(store)) shown = loaded[store];
        return true;
    }
    void SelectInBox(BoxRef box, TextRange range) override { selected = {box, range}; }
};

class RecordingView final : public FindView {
  public:
    size_t count = 0;
    std::wstring status;
    void ShowResults(size_t n, bool) override { count = n; }
    void ShowStatus(std::wstring_view text) override { status = text; }
};

StoreTexts Store(int n, int slot, std::wstring title, std::wstring text) {
    StoreTexts s;
    s.store = n;
    s.slots[slot] = {std::move(title), std::move(text)};
    return s;
}

class FindFormTest : public ::testing::Test {
  protected:
    testing::LetterCases cases;
    FakeProgram program;
    RecordingView view;
    FindForm form{view, program, cases};
};

TEST_F(FindFormTest, RowsShowStoreSlotTitleAndTheLine) {
    program.stored.stores = {Store(6, 2, L"Soup", L"Onions\r\n2 Leeks, chopped\r\nSalt"),
                             Store(8, 0, L"Dear L\u00E9a", L"")};
    form.Refresh();
    form.QueryChanged(L"LEEK");
    ASSERT_EQ(view.count, 1u);
    const FindRow row = form.Row(0);
    EXPECT_EQ(row.store, L"6 Recipes");
    EXPECT_EQ(row.slot, L"3");
    EXPECT_EQ(row.title, L"Soup");
    EXPECT_EQ(row.line, L"2 Leeks, chopped");

    form.QueryChanged(L"L\u00C9A");
    ASSERT_EQ(view.count, 1u);
    EXPECT_EQ(form.Row(0).store, L"8 Letters");
    EXPECT_EQ(form.Row(0).line, L"Dear L\u00E9a");
}

TEST_F(FindFormTest, TypingSearchesWhatWasReadWithoutReadingAgain) {
    program.stored.stores = {Store(1, 0, L"", L"alpha beta")};
    form.Refresh();
    for (const wchar_t* typed : {L"b", L"be", L"bet", L"beta"}) form.QueryChanged(typed);
    EXPECT_EQ(program.reads, 1);
    EXPECT_EQ(view.count, 1u);
    form.Refresh();
    EXPECT_EQ(program.reads, 2);
    EXPECT_EQ(view.count, 1u);  // the query stays across a refresh
}

TEST_F(FindFormTest, StatusCountsLinesOrSaysWhatToDo) {
    program.stored.stores = {Store(1, 0, L"one", L"x\r\nx\r\ny")};
    form.Refresh();
    struct Case {
        const wchar_t* query;
        const wchar_t* status;
    } cases[] = {
        {L"", L"Type what to find in the titles and texts of all stores."},
        {L"x", L"Found in 2 lines."},
        {L"y", L"Found in 1 line."},
        {L"z", L"Nothing found."},
    };
    for (const Case& c : cases) {
        form.QueryChanged(c.query);
        EXPECT_EQ(view.status, c.status);
    }
}

TEST_F(FindFormTest, LettersTypedInTheListGoToTheNextRowOfTheStoreTheyBegin) {
    program.stored.stores = {Store(2, 0, L"", L"x"), Store(6, 0, L"", L"x\r\nx"),
                             Store(8, 0, L"", L"x"), Store(12, 0, L"", L"x")};
    form.Refresh();
    form.QueryChanged(L"x");
    ASSERT_EQ(view.count, 5u);  // rows: 2, 6, 6, 8 Letters, 12
    struct Case {
        const wchar_t* typed;
        size_t from;
        bool wrap;
        std::optional<size_t> row;
    } cases[] = {
        {L"6", 0, true, 1},
        {L"6", 2, true, 2},
        {L"6 re", 3, true, 1},
        {L"6 RECIPES", 0, true, 1},
        {L"6 Soup", 0, true, std::nullopt},
        {L"8 l", 0, true, 3},
        {L"1", 0, true, 4},
        {L"2", 1, true, 0},
        {L"2", 1, false, std::nullopt},
        {L"2", 9, true, 0},
        {L"", 0, true, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(form.RowOfStoreStartingWith(c.typed, c.from, c.wrap), c.row)
            << ::testing::PrintToString(c.typed) << " from " << c.from;
}

TEST_F(FindFormTest, AnUnreadableFileIsNamedWithItsReason) {
    program.stored.readable = false;
    program.stored.path = L"C:\\quilbdx.ini";
    program.stored.reason = L"The file is locked by another program";
    program.shown = Store(3, 1, L"", L"kept on screen");
    form.Refresh();
    form.QueryChanged(L"kept");
    EXPECT_EQ(view.count, 1u);
    EXPECT_EQ(view.status,
              L"The settings file C:\\quilbdx.ini cannot be read: The file is locked by another "
              L"program. Only the store shown was searched.");
    program.shown.reset();  // the Pictures store
    form.Refresh();
    EXPECT_EQ(view.count, 0u);
    EXPECT_NE(view.status.find(L"C:\\quilbdx.ini cannot be read: The file is locked"),
              std::wstring::npos);
    EXPECT_NE(view.status.find(L"No store could be searched."), std::wstring::npos);
}

TEST_F(FindFormTest, OpeningAResultGoesToItsStoreAndSelectsTheMatch) {
    program.stored.stores = {Store(5, 4, L"", L"one\r\ntwo Zebra")};
    program.loaded[5] = Store(5, 4, L"", L"one\r\ntwo Zebra");
    form.Refresh();
    form.QueryChanged(L"zeb");
    ASSERT_TRUE(form.OpenResult(0));
    EXPECT_EQ(program.wentTo, std::vector<int>{5});
    ASSERT_TRUE(program.selected);
    EXPECT_EQ(program.selected->first, (BoxRef{BoxRef::Kind::kText, 4}));
    EXPECT_EQ(program.selected->second, (TextRange{9, 12}));
}

TEST_F(FindFormTest, TheMatchIsFoundAgainInWhatTheStoreShowsAfterTheSwitch) {
    program.stored.stores = {Store(5, 4, L"", L"zebra one\r\ntwo zebra")};
    form.Refresh();
    form.QueryChanged(L"zebra");
    ASSERT_EQ(view.count, 2u);
    struct Case {
        const wchar_t* loaded;
        TextRange selected;
    } cases[] = {
        // Unchanged: the match of the chosen line.
        {L"zebra one\r\ntwo zebra", {15, 20}},
        // Text came before it: the next match from the line's old start on.
        {L"NEW zebra one\r\ntwo zebra", {19, 24}},
        // Only an earlier one is left: that one.
        {L"zebra", {0, 5}},
        // None left: the caret at the start.
        {L"gone", {0, 0}},
    };
    for (const Case& c : cases) {
        program.loaded[5] = Store(5, 4, L"", c.loaded);
        ASSERT_TRUE(form.OpenResult(1));
        ASSERT_TRUE(program.selected);
        EXPECT_EQ(program.selected->second, c.selected) << c.loaded;
    }
}

TEST_F(FindFormTest, NothingIsSelectedWhenTheStoreDidNotShow) {
    program.stored.stores = {Store(5, 4, L"", L"zebra")};
    form.Refresh();
    form.QueryChanged(L"zebra");
    program.switches = false;
    EXPECT_FALSE(form.OpenResult(0));
    EXPECT_FALSE(program.selected);
    EXPECT_FALSE(form.OpenResult(7));
    EXPECT_EQ(program.wentTo.size(), 1u);
}

}  // namespace
}  // namespace quillet
