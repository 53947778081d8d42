// The Find window's logic.
#include "find/find_form.h"

#include <map>

namespace quillet {

void FindForm::Refresh() {
    StoredTexts stored = program_.StoredStores();
    readable_ = stored.readable;
    path_ = stored.path;
    reason_ = stored.reason;
    std::optional<StoreTexts> shown = program_.ShownTexts();
    textStoreShown_ = shown.has_value();
    finder_.Index(std::move(stored), std::move(shown));
    Search(false);
}

void FindForm::QueryChanged(std::wstring_view query) {
    query_ = query;
    Search(true);
}

void FindForm::Search(bool newQuery) {
    finder_.Search(query_);
    view_.ShowResults(finder_.Hits().size(), newQuery);
    view_.ShowStatus(StatusText());
}

std::wstring FindForm::StatusText() const {
    if (!readable_) {
        std::wstring text = L"The settings file " + path_ + L" cannot be read: " + reason_;
        if (!text.empty() && text.back() != L'.') text += L'.';
        return text + (textStoreShown_ ? L" Only the store shown was searched."
                                       : L" No store could be searched.");
    }
    if (query_.empty()) return L"Type what to find in the titles and texts of all stores.";
    const size_t found = finder_.Hits().size();
    if (found == 0) return L"Nothing found.";
    if (found == 1) return L"Found in 1 line.";
    return L"Found in " + std::to_wstring(found) + L" lines.";
}

FindRow FindForm::Row(size_t index) const {
    const FindHit& hit = finder_.Hits()[index];
    const FindPlace place = finder_.PlaceOf(hit);
    return FindRow{StoreCell(place.store), std::to_wstring(place.box.slot + 1),
                   finder_.TitleOf(place.store, place.box.slot),
                   LineExcerpt(finder_.TextOf(hit), place.line, place.match)};
}

std::wstring FindForm::StoreCell(int store) const {
    std::wstring cell = program_.StoreCaption(store);
    const std::wstring number = std::to_wstring(store);
    // Captions begin with the store's number; one that lost it gets it back.
    if (cell.compare(0, number.size() + 1, number + L" ") != 0) cell = number + L" " + cell;
    return cell;
}

std::optional<size_t> FindForm::RowOfStoreStartingWith(std::wstring_view typed, size_t from,
                                                       bool wrap) {
    const std::vector<FindHit>& hits = finder_.Hits();
    const std::wstring prefix = folder_.FoldQuery(typed);
    if (prefix.empty() || hits.empty() || (from >= hits.size() && !wrap)) return std::nullopt;
    if (from >= hits.size()) from = 0;
    // Rows come store by store: each store's caption is folded once.
    std::map<int, bool> begins;
    const size_t rows = wrap ? hits.size() : hits.size() - from;
    for (size_t n = 0; n < rows; ++n) {
        const size_t row = (from + n) % hits.size();
        const int store = finder_.StoreOf(hits[row]);
        auto known = begins.find(store);
        if (known == begins.end()) {
            const std::wstring cell = folder_.FoldQuery(StoreCell(store));
            known = begins.emplace(store, cell.compare(0, prefix.size(), prefix) == 0).first;
        }
        if (known->second) return row;
    }
    return std::nullopt;
}

bool FindForm::OpenResult(size_t index) {
    if (index >= ResultCount()) return false;
    const FindPlace place = PlaceOf(index);
    if (!program_.GoToStore(place.store)) return false;
    const std::optional<StoreTexts> shown = program_.ShownTexts();
    if (!shown || shown->store != place.store) return false;
    const SlotTexts& slot = shown->slots[place.box.slot];
    const std::wstring& text = place.box.kind == BoxRef::Kind::kTitle ? slot.title : slot.text;
    // The store may have been read again on the way (the file changed, or
    // the user answered the save question): the match is looked for anew.
    program_.SelectInBox(place.box, Relocate(text, place).value_or(TextRange{}));
    return true;
}

std::optional<TextRange> FindForm::Relocate(std::wstring_view text, const FindPlace& was) {
    const std::wstring query = folder_.FoldQuery(query_);
    if (query.empty()) return std::nullopt;
    const FoldedText folded = folder_.Fold(text);
    std::optional<TextRange> first, afterLine;
    for (size_t at = folded.Text().find(query); at != std::wstring::npos;
         at = folded.Text().find(query, at + 1)) {
        const TextRange range = folded.Original({at, at + query.size()}, text);
        if (range.begin == was.match.begin) return range;
        if (!first) first = range;
        if (!afterLine && range.begin >= was.line.begin) afterLine = range;
    }
    return afterLine ? afterLine : first;
}

}  // namespace quillet
