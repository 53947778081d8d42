// Folding for the search: letters of many languages meet their other case,
// and every place in a folded text leads back to whole characters of the
// original.
#include <gtest/gtest.h>

#include "find/case_fold.h"
#include "find/letter_cases.h"

namespace quillet {
namespace {

class CaseFoldTest : public ::testing::Test {
  protected:
    testing::LetterCases cases;
    CaseFolder folder{cases};

    // Where `query` first matches `text` ignoring case, as original units.
    std::optional<std::wstring> FirstMatch(std::wstring_view text, std::wstring_view query) {
        const FoldedText folded = folder.Fold(text);
        const std::wstring q = folder.FoldQuery(query);
        const size_t at = folded.Text().find(q);
        if (q.empty() || at == std::wstring::npos) return std::nullopt;
        const TextRange r = folded.Original({at, at + q.size()}, text);
        return std::wstring(text.substr(r.begin, r.size()));
    }
};

TEST_F(CaseFoldTest, LettersMeetTheirOtherCase) {
    struct Case {
        const wchar_t* text;
        const wchar_t* query;
        const wchar_t* found;  // nullptr: not found
    } cases[] = {
        {L"Caf\u00E9 cr\u00E8me", L"CAF\u00C9", L"Caf\u00E9"},
        {L"R\u00C9SUM\u00C9", L"r\u00E9sum\u00E9", L"R\u00C9SUM\u00C9"},
        {L"ul. \u0141\u00D3D\u0179 9", L"\u0142\u00F3d\u017A", L"\u0141\u00D3D\u0179"},
        {L"za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144",
         L"ZA\u017B\u00D3\u0141\u0106 G\u0118\u015AL\u0104",
         L"za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105"},
        {L"\u0394\u03A1\u039F\u039C\u039F\u03A3", L"\u03B4\u03C1\u03BF\u03BC\u03BF\u03C2",
         L"\u0394\u03A1\u039F\u039C\u039F\u03A3"},
        {L"\u03BF\u03B4\u03BF\u03C2 5", L"\u039F\u0394\u039F\u03A3", L"\u03BF\u03B4\u03BF\u03C2"},
        {L"\u6771\u4EAC\u30BF\u30EF\u30FC\u3078", L"\u30BF\u30EF\u30FC", L"\u30BF\u30EF\u30FC"},
        {L"\u3072\u3089\u304C\u306A", L"\u30D2\u30E9", nullptr},
        {L"ok \U0001F600 done", L"\U0001F600 D", L"\U0001F600 d"},
        {L"\U00010400\U00010401", L"\U00010428\U00010429", L"\U00010400\U00010401"},
        {L"\u00FF", L"\u0178", L"\u00FF"},
        {L"plain", L"PLAIN", L"plain"},
        {L"plain", L"plane", nullptr},
    };
    for (const Case& c : cases) {
        const auto found = FirstMatch(c.text, c.query);
        if (c.found) {
            ASSERT_TRUE(found.has_value()) << ::testing::PrintToString(std::wstring(c.query));
            EXPECT_EQ(*found, c.found);
        } else {
            EXPECT_FALSE(found.has_value()) << ::testing::PrintToString(std::wstring(c.query));
        }
    }
}

TEST_F(CaseFoldTest, PlacesLeadBackWhereFoldingChangedTheLength) {
    // The dotted capital I folds to two units: every place after it shifts.
    const std::wstring text = L"\u0130stanbul, \u0130zmir and ANKARA";
    struct Case {
        const wchar_t* query;
        const wchar_t* found;
    } cases[] = {
        {L"\u0130zmir", L"\u0130zmir"},
        {L"ankara", L"ANKARA"},
        {L"zmir", L"zmir"},
        // A match that starts inside a character's fold takes the character whole.
        {L"\u0307z", L"\u0130z"},
        {L"stanbul", L"stanbul"},
    };
    for (const Case& c : cases) {
        const auto found = FirstMatch(text, c.query);
        ASSERT_TRUE(found.has_value()) << ::testing::PrintToString(std::wstring(c.query));
        EXPECT_EQ(*found, c.found);
    }
}

TEST_F(CaseFoldTest, RangesNeverPassTheOriginalsEnd) {
    const std::wstring text = L"end \u0130";
    const FoldedText folded = folder.Fold(text);
    ASSERT_EQ(folded.Text().size(), text.size() + 1);
    const size_t n = folded.Text().size();
    EXPECT_EQ(folded.Original({n - 1, n}, text), (TextRange{4, 5}));
    EXPECT_EQ(folded.Original({0, n + 10}, text), (TextRange{0, 5}));
    EXPECT_EQ(folded.Original({n + 3, n + 9}, text), (TextRange{5, 5}));
    EXPECT_EQ(folded.Original({0, 1}, L""), (TextRange{}));
}

TEST_F(CaseFoldTest, EmojiStayWholeCharacters) {
    const std::wstring text = L"a\U0001F600\U0001F601b";
    const FoldedText folded = folder.Fold(text);
    EXPECT_EQ(folded.Text(), L"a\U0001F600\U0001F601b");
    // Any unit of the second emoji, alone, stands for the whole of it.
    const size_t second = text.find(L"\U0001F601");
    const size_t width = std::wstring(L"\U0001F601").size();
    for (size_t unit = second; unit < second + width; ++unit)
        EXPECT_EQ(folded.Original({unit, unit + 1}, text), (TextRange{second, second + width}));
}

TEST_F(CaseFoldTest, AsksTheMappingOncePerCharacter) {
    class Counting final : public CaseMapping {
      public:
        mutable int calls = 0;
        std::wstring Lower(std::wstring_view t) const override {
            ++calls;
            return std::wstring(t);
        }
        std::wstring Upper(std::wstring_view t) const override { return std::wstring(t); }
    } counting;
    CaseFolder f(counting);
    f.Fold(std::wstring(10000, L'a') + L"bc" + std::wstring(5000, L'a'));
    EXPECT_EQ(counting.calls, 3);
    f.Fold(L"cab");
    EXPECT_EQ(counting.calls, 3);
}

}  // namespace
}  // namespace quillet
