// Case folding by the user's case mapping, one character at a time.
#include "find/case_fold.h"

#include <algorithm>
#include <numeric>

namespace quillet {

namespace {

constexpr size_t kSingleUnits = 0x10000;
constexpr uint32_t kElsewhere = 0xFFFFFFFFu;

bool IsHigh(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

size_t CharacterLength(std::wstring_view text, size_t at) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (at + 1 < text.size() && IsHigh(text[at]) && IsLow(text[at + 1])) return 2;
    }
    return 1;
}

size_t CharacterStart(std::wstring_view text, size_t at) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (at > 0 && at < text.size() && IsLow(text[at]) && IsHigh(text[at - 1])) return at - 1;
    }
    return at;
}

TextRange FoldedText::Original(TextRange range, std::wstring_view original) const {
    if (original.empty()) return {};
    range.end = std::min(range.end, text_.size());
    range.begin = std::min(range.begin, range.end);
    const auto origin = [&](size_t unit) {
        if (unit >= text_.size()) return original.size();
        return std::min(origins_.empty() ? unit : size_t{origins_[unit]}, original.size());
    };
    const size_t begin = CharacterStart(original, origin(range.begin));
    if (range.begin == range.end) return {begin, begin};
    const size_t last = CharacterStart(original, origin(range.end - 1));
    return {begin, std::min(last + CharacterLength(original, last), original.size())};
}

CaseFolder::CaseFolder(const CaseMapping& cases) : cases_(cases), single_(kSingleUnits, 0) {}

std::wstring CaseFolder::Ask(std::wstring_view units) const {
    std::wstring folded = cases_.Lower(cases_.Upper(units));
    return folded.empty() ? std::wstring(units) : folded;
}

std::wstring_view CaseFolder::FoldOf(std::wstring_view units) {
    if (units.size() == 1 && static_cast<size_t>(units[0]) < kSingleUnits) {
        uint32_t& known = single_[static_cast<size_t>(units[0])];
        if (known == 0) {
            std::wstring folded = Ask(units);
            if (folded.size() == 1) {
                known = static_cast<uint32_t>(folded[0]) + 1;
            } else {
                known = kElsewhere;
                others_.emplace(std::wstring(units), std::move(folded));
            }
        }
        if (known != kElsewhere) {
            scratch_.assign(1, static_cast<wchar_t>(known - 1));
            return scratch_;
        }
    }
    auto found = others_.find(std::wstring(units));
    if (found == others_.end()) found = others_.emplace(std::wstring(units), Ask(units)).first;
    return found->second;
}

FoldedText CaseFolder::Fold(std::wstring_view text) {
    FoldedText out;
    // While every character keeps its length the fold is written in place.
    out.text_.resize(text.size());
    wchar_t* const to = out.text_.data();
    size_t i = 0;
    while (i < text.size()) {
        const auto unit = static_cast<size_t>(text[i]);
        if (unit < kSingleUnits && !IsHigh(text[i])) {
            const uint32_t known = single_[unit];
            if (known != 0 && known != kElsewhere) {
                to[i++] = static_cast<wchar_t>(known - 1);
                continue;
            }
        }
        const size_t n = CharacterLength(text, i);
        const std::wstring_view folded = FoldOf(text.substr(i, n));
        if (folded.size() != n) break;
        std::copy(folded.begin(), folded.end(), to + i);
        i += n;
    }
    if (i == text.size()) return out;

    // From here on the places differ: each unit keeps where its character
    // starts in the original.
    out.text_.resize(i);
    out.origins_.resize(i);
    std::iota(out.origins_.begin(), out.origins_.end(), uint32_t{0});
    while (i < text.size()) {
        const size_t n = CharacterLength(text, i);
        const std::wstring_view folded = FoldOf(text.substr(i, n));
        out.text_ += folded;
        out.origins_.insert(out.origins_.end(), folded.size(), static_cast<uint32_t>(i));
        i += n;
    }
    return out;
}

}  // namespace quillet
