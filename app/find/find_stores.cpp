// The stores' titles and texts folded once, and searched line by line.
#include "find/find_stores.h"

#include <algorithm>

namespace quillet {

namespace {

bool IsBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

std::vector<uint32_t> BreaksOf(const std::wstring& text) {
    std::vector<uint32_t> breaks;
    for (size_t i = 0; i < text.size(); ++i)
        if (IsBreak(text[i])) breaks.push_back(static_cast<uint32_t>(i));
    return breaks;
}

}  // namespace

void StoreFinder::Add(int store, BoxRef box, std::wstring text) {
    if (text.empty()) return;
    Haystack h;
    h.store = store;
    h.box = box;
    h.folded = folder_.Fold(text);
    h.breaks = BreaksOf(h.folded.Text());
    h.text = std::move(text);
    haystacks_.push_back(std::move(h));
}

void StoreFinder::Index(StoredTexts stored, std::optional<StoreTexts> shown) {
    haystacks_.clear();
    hits_.clear();
    query_.clear();
    for (auto& store : titles_) store.fill(std::wstring());
    if (shown) {
        // The screen wins over the file for the store it shows.
        auto same = std::find_if(stored.stores.begin(), stored.stores.end(),
                                 [&](const StoreTexts& s) { return s.store == shown->store; });
        if (same != stored.stores.end())
            *same = std::move(*shown);
        else
            stored.stores.push_back(std::move(*shown));
    }
    std::stable_sort(stored.stores.begin(), stored.stores.end(),
                     [](const StoreTexts& a, const StoreTexts& b) { return a.store < b.store; });
    for (StoreTexts& s : stored.stores) {
        if (s.store < 0 || s.store >= static_cast<int>(titles_.size())) continue;
        for (int i = 0; i < static_cast<int>(s.slots.size()); ++i) {
            titles_[s.store][i] = s.slots[i].title;
            Add(s.store, BoxRef{BoxRef::Kind::kTitle, i}, std::move(s.slots[i].title));
            Add(s.store, BoxRef{BoxRef::Kind::kText, i}, std::move(s.slots[i].text));
        }
    }
}

const std::vector<FindHit>& StoreFinder::Search(std::wstring_view query) {
    std::wstring folded = folder_.FoldQuery(query);
    // Every match of a longer query is a match of its beginning, in the same
    // line and not before that line's first one; but one across a line break
    // may end past the lines found.
    const bool narrows = !query_.empty() && folded.size() >= query_.size() &&
                         folded.compare(0, query_.size(), query_) == 0 &&
                         folded.find_first_of(L"\r\n") == std::wstring::npos;
    if (folded.empty())
        hits_.clear();
    else if (narrows)
        SearchWithinHits(folded);
    else
        SearchAll(folded);
    query_ = std::move(folded);
    return hits_;
}

void StoreFinder::SearchAll(const std::wstring& folded) {
    hits_.clear();
    for (size_t i = 0; i < haystacks_.size(); ++i) {
        const Haystack& h = haystacks_[i];
        const std::wstring& text = h.folded.Text();
        auto lineBreak = h.breaks.begin();
        size_t from = 0;
        while (from < text.size()) {
            const size_t at = text.find(folded, from);
            if (at == std::wstring::npos) break;
            while (lineBreak != h.breaks.end() && *lineBreak < at) ++lineBreak;
            const size_t lineEnd = lineBreak != h.breaks.end() ? *lineBreak : text.size();
            hits_.push_back(FindHit{static_cast<uint32_t>(i),
                                    h.folded.Original({at, at + folded.size()}, h.text),
                                    static_cast<uint32_t>(at), static_cast<uint32_t>(lineEnd)});
            // One hit a line: on from the line's end.
            from = lineEnd + 1;
        }
    }
}

void StoreFinder::SearchWithinHits(const std::wstring& folded) {
    size_t kept = 0;
    for (const FindHit& hit : hits_) {
        const Haystack& h = haystacks_[hit.haystack];
        const std::wstring_view line =
            std::wstring_view(h.folded.Text()).substr(0, hit.foldedLineEnd);
        const size_t at = line.find(folded, hit.foldedMatch);
        if (at == std::wstring_view::npos) continue;
        hits_[kept++] = FindHit{hit.haystack, h.folded.Original({at, at + folded.size()}, h.text),
                                static_cast<uint32_t>(at), hit.foldedLineEnd};
    }
    hits_.resize(kept);
}

FindPlace StoreFinder::PlaceOf(const FindHit& hit) const {
    const Haystack& h = haystacks_[hit.haystack];
    return FindPlace{h.store, h.box, hit.match, LineAround(h.text, hit.match.begin)};
}

TextRange LineAround(std::wstring_view text, size_t at) {
    at = std::min(at, text.size());
    size_t begin = at;
    while (begin > 0 && !IsBreak(text[begin - 1])) --begin;
    size_t end = at;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    return {begin, end};
}

std::wstring LineExcerpt(std::wstring_view text, TextRange line, TextRange match, size_t width) {
    line.end = std::min(line.end, text.size());
    line.begin = std::min(line.begin, line.end);
    match.begin = std::clamp(match.begin, line.begin, line.end);
    match.end = std::clamp(match.end, match.begin, line.end);
    size_t begin = line.begin, end = line.end;
    if (line.size() > width) {
        // A little before the match, so that a narrow column still shows it.
        const size_t before = width / 6;
        begin = match.begin > line.begin + before ? match.begin - before : line.begin;
        end = std::min(line.end, std::max(begin + width, match.end));
        if (end - begin < width) begin = end > line.begin + width ? end - width : line.begin;
        begin = CharacterStart(text, begin);
        if (end < line.end) end = CharacterStart(text, end);
    }
    std::wstring out;
    if (begin > line.begin) out += L'\u2026';
    for (size_t i = begin; i < end; ++i) {
        const wchar_t c = text[i];
        out += (c == L'\t' || IsBreak(c)) ? L' ' : c;
    }
    if (end < line.end) out += L'\u2026';
    return out;
}

}  // namespace quillet
