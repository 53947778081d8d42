// Searching the stores: which titles and texts count, in what order the
// lines come, and how a line shows in the list.
#include <gtest/gtest.h>

#include <tuple>

#include "find/find_stores.h"
#include "find/letter_cases.h"

namespace quillet {
namespace {

StoreTexts Store(int n, std::initializer_list<std::pair<int, SlotTexts>> slots) {
    StoreTexts s;
    s.store = n;
    for (const auto& [slot, texts] : slots) s.slots[slot] = texts;
    return s;
}

class StoreFinderTest : public ::testing::Test {
  protected:
    testing::LetterCases cases;
    CaseFolder folder{cases};
    StoreFinder finder{folder};

    // Each hit as "store/slot/title-or-text:matched text".
    std::vector<std::wstring> Found(std::wstring_view query) {
        std::vector<std::wstring> out;
        for (const FindHit& hit : finder.Search(query)) {
            const FindPlace p = finder.PlaceOf(hit);
            const std::wstring& text = finder.TextOf(hit);
            out.push_back(std::to_wstring(p.store) + L"/" + std::to_wstring(p.box.slot) +
                          (p.box.kind == BoxRef::Kind::kTitle ? L"/title:" : L"/text:") +
                          text.substr(p.match.begin, p.match.size()));
        }
        return out;
    }
};

TEST_F(StoreFinderTest, AllStoresInOrderTitlesFirstOneHitPerLine) {
    StoredTexts stored;
    stored.stores.push_back(Store(7, {{0, {L"Apple pie", L"apple\r\napple APPLE\r\nnone"}}}));
    stored.stores.push_back(Store(2, {{9, {L"", L"an apple"}}, {3, {L"x", L"pineapple"}}}));
    finder.Index(stored, std::nullopt);
    const std::vector<std::wstring> expected = {
        L"2/3/text:apple", L"2/9/text:apple", L"7/0/title:Apple",
        L"7/0/text:apple", L"7/0/text:apple",
    };
    EXPECT_EQ(Found(L"APPLE"), expected);
    EXPECT_TRUE(Found(L"").empty());
    EXPECT_TRUE(Found(L"pear").empty());
}

TEST_F(StoreFinderTest, TypingLetterByLetterFindsWhatAFreshSearchFinds) {
    StoredTexts stored;
    stored.stores.push_back(Store(1, {{0, {L"Kiwi", L"kiwi KIWI kiwano\r\nki\r\nwi kiwi"}},
                                      {4, {L"", L"\u0130k\u0130w\u0130 ikiwi"}}}));
    stored.stores.push_back(Store(9, {{2, {L"KIW", L"k\r\nkiw\r\nkiwi"}}}));
    finder.Index(stored, std::nullopt);
    testing::LetterCases otherCases;
    CaseFolder otherFolder{otherCases};
    StoreFinder fresh{otherFolder};
    fresh.Index(stored, std::nullopt);
    const auto places = [](const StoreFinder& f, const std::vector<FindHit>& hits) {
        std::vector<std::tuple<int, int, size_t, size_t>> out;
        for (const FindHit& h : hits) {
            const FindPlace p = f.PlaceOf(h);
            out.emplace_back(p.store, p.box.slot * 2 + (p.box.kind == BoxRef::Kind::kText),
                             p.match.begin, p.match.end);
        }
        return out;
    };
    for (const wchar_t* typed : {L"k", L"Ki", L"KIW", L"kiwi", L"kiwis", L"kiw", L"kiwa", L"i",
                                 L"i\u0307", L"\u0130K", L"\u0130k\u0130", L"kiwi\r\nki"}) {
        const std::vector<FindHit> typedHits = finder.Search(typed);
        fresh.Index(stored, std::nullopt);
        EXPECT_EQ(places(finder, typedHits), places(fresh, fresh.Search(typed)))
            << ::testing::PrintToString(std::wstring(typed));
    }
}

TEST_F(StoreFinderTest, TheScreenWinsOverTheFileForTheStoreItShows) {
    StoredTexts stored;
    stored.stores.push_back(Store(2, {{1, {L"saved title", L"saved apple"}}}));
    stored.stores.push_back(Store(3, {{1, {L"", L"other apple"}}}));
    finder.Index(stored, Store(2, {{1, {L"saved title", L"edited pear"}}}));
    EXPECT_EQ(Found(L"apple"), std::vector<std::wstring>{L"3/1/text:apple"});
    EXPECT_EQ(Found(L"pear"), std::vector<std::wstring>{L"2/1/text:pear"});
    EXPECT_EQ(finder.TitleOf(2, 1), L"saved title");
}

TEST_F(StoreFinderTest, TheStoreShownIsSearchedWhenTheFileGaveNothing) {
    StoredTexts unreadable;
    unreadable.readable = false;
    finder.Index(unreadable, Store(4, {{0, {L"", L"on screen"}}}));
    EXPECT_EQ(Found(L"SCREEN"), std::vector<std::wstring>{L"4/0/text:screen"});
}

TEST_F(StoreFinderTest, PlaceGivesTheWholeLineOfTheMatch) {
    StoredTexts stored;
    stored.stores.push_back(Store(1, {{5, {L"", L"first\r\nsecond line\r\nthird"}}}));
    finder.Index(stored, std::nullopt);
    const std::vector<FindHit> hits = finder.Search(L"LINE");
    ASSERT_EQ(hits.size(), 1u);
    const FindPlace place = finder.PlaceOf(hits[0]);
    const std::wstring& text = finder.TextOf(hits[0]);
    EXPECT_EQ(text.substr(place.line.begin, place.line.size()), L"second line");
    EXPECT_EQ(text.substr(place.match.begin, place.match.size()), L"line");
    EXPECT_EQ(place.box, (BoxRef{BoxRef::Kind::kText, 5}));
}

TEST(LineAroundTest, EndsAtAnyKindOfBreak) {
    struct Case {
        const wchar_t* text;
        size_t at;
        const wchar_t* line;
    } cases[] = {
        {L"one\r\ntwo\r\nthree", 6, L"two"},
        {L"one\ntwo", 0, L"one"},
        {L"a\rb", 2, L"b"},
        {L"only", 4, L"only"},
        {L"x\r\n", 3, L""},
    };
    for (const Case& c : cases) {
        const std::wstring text = c.text;
        const TextRange r = LineAround(text, c.at);
        EXPECT_EQ(text.substr(r.begin, r.size()), c.line) << c.at;
    }
}

TEST(LineExcerptTest, ShortLinesWholeLongOnesAroundTheMatch) {
    const std::wstring shortLine = L"a\tshort line";
    EXPECT_EQ(LineExcerpt(shortLine, {0, shortLine.size()}, {2, 7}, 40), L"a short line");

    std::wstring longLine(50, L'x');
    longLine += L"MATCH";
    longLine += std::wstring(50, L'y');
    const TextRange line{0, longLine.size()};
    const std::wstring middle = LineExcerpt(longLine, line, {50, 55}, 30);
    EXPECT_NE(middle.find(L"MATCH"), std::wstring::npos);
    EXPECT_EQ(middle.front(), L'\u2026');
    EXPECT_EQ(middle.back(), L'\u2026');
    EXPECT_EQ(middle.size(), 30u + 2);

    const std::wstring atStart = LineExcerpt(longLine, line, {0, 3}, 30);
    EXPECT_EQ(atStart, std::wstring(30, L'x') + L'\u2026');
    const std::wstring atEnd =
        LineExcerpt(longLine, line, {longLine.size() - 2, longLine.size()}, 30);
    EXPECT_EQ(atEnd, L'\u2026' + std::wstring(30, L'y'));
}

TEST(LineExcerptTest, ShowsAMatchLongerThanTheRoomWhole) {
    const std::wstring text = std::wstring(40, L'a') + std::wstring(60, L'M') + L"zz";
    const std::wstring shown = LineExcerpt(text, {0, text.size()}, {40, 100}, 20);
    EXPECT_NE(shown.find(std::wstring(60, L'M')), std::wstring::npos);
}

TEST(LineExcerptTest, CutsNeverSplitACharacter) {
    std::wstring text;
    for (int i = 0; i < 40; ++i) text += L"\U0001F600";
    // Every start of the match, so that the cuts fall on every unit.
    for (size_t at = 0; at + 1 < text.size(); ++at) {
        std::wstring shown = LineExcerpt(text, {0, text.size()}, {at, at + 1}, 11);
        if (!shown.empty() && shown.front() == L'\u2026') shown.erase(0, 1);
        if (!shown.empty() && shown.back() == L'\u2026') shown.pop_back();
        ASSERT_FALSE(shown.empty());
        // Whole emoji only: the piece is a run of them.
        EXPECT_EQ(shown.size() % std::wstring(L"\U0001F600").size(), 0u) << at;
        EXPECT_NE(text.find(shown), std::wstring::npos) << at;
        EXPECT_EQ(shown.substr(0, std::wstring(L"\U0001F600").size()), L"\U0001F600") << at;
    }
}

}  // namespace
}  // namespace quillet
