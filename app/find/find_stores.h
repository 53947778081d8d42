// Finding a text in the titles and texts of every text store: the stores'
// values folded once, then searched at each change of what is looked for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "find/case_fold.h"
#include "main_view.h"

namespace quillet {

struct SlotTexts {
    std::wstring title, text;
};

// One text store's ten slots.
struct StoreTexts {
    int store = 1;
    std::array<SlotTexts, 10> slots;
};

// The text stores as the settings file holds them. A file that exists but
// could not be read holds none, and says why.
struct StoredTexts {
    bool readable = true;
    std::wstring path;
    std::wstring reason;
    std::vector<StoreTexts> stores;
};

// One line that holds a match: the first match in it.
struct FindHit {
    uint32_t haystack = 0;  // which title or text
    TextRange match;        // in the original text
    // In the folded text: where the match starts and the line ends, for a
    // longer query to look again in this line alone.
    uint32_t foldedMatch = 0, foldedLineEnd = 0;
};

// What a hit stands for, in the original text.
struct FindPlace {
    int store = 0;
    BoxRef box;
    TextRange match;
    TextRange line;  // without its line break
};

class StoreFinder {
  public:
    explicit StoreFinder(CaseFolder& folder) : folder_(folder) {}

    // The stores to search: the file's, with the store on the screen (where
    // a text store shows) taking the place of what the file holds for it.
    void Index(StoredTexts stored, std::optional<StoreTexts> shown);
    bool Empty() const { return haystacks_.empty(); }

    // In store, slot, title-before-text and line order; one hit per line.
    // A query that goes on from the last one is looked for only in the lines
    // that one found: typing a word narrows its search letter by letter.
    const std::vector<FindHit>& Search(std::wstring_view query);
    const std::vector<FindHit>& Hits() const { return hits_; }
    FindPlace PlaceOf(const FindHit& hit) const;
    int StoreOf(const FindHit& hit) const { return haystacks_[hit.haystack].store; }
    const std::wstring& TextOf(const FindHit& hit) const { return haystacks_[hit.haystack].text; }
    // A slot's title as searched, whether or not it held a match.
    const std::wstring& TitleOf(int store, int slot) const { return titles_[store][slot]; }

  private:
    struct Haystack {
        int store = 0;
        BoxRef box;
        std::wstring text;
        FoldedText folded;
        // Where each line break of the folded text is, found once: a search
        // steps over a line without reading it.
        std::vector<uint32_t> breaks;
    };
    void Add(int store, BoxRef box, std::wstring text);
    void SearchAll(const std::wstring& folded);
    void SearchWithinHits(const std::wstring& folded);

    CaseFolder& folder_;
    std::vector<Haystack> haystacks_;
    std::wstring query_;  // folded, of the hits
    std::vector<FindHit> hits_;
    std::array<std::array<std::wstring, 10>, 16> titles_;
};

// The line of `text` that `match` lies in, as a list shows it: line breaks
// and tabs as spaces, and a long line cut to about `width` characters around
// the match, the cuts marked with an ellipsis, no character split.
std::wstring LineExcerpt(std::wstring_view text, TextRange line, TextRange match,
                         size_t width = 120);

// The line around `at`: from after the line break before it to the one
// after it (CR LF, or a lone CR or LF), breaks excluded.
TextRange LineAround(std::wstring_view text, size_t at);

}  // namespace quillet
