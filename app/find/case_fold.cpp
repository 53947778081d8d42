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
    out.text_.reserve(text.size());
    bool mapped = false;
    for (size_t i = 0; i < text.size();) {
        const size_t n = CharacterLength(text, i);
        // The common case without building a view: a unit that folds to one.
        if (n == 1 && static_cast<size_t>(text[i]) < kSingleUnits) {
            const uint32_t known = single_[static_cast<size_t>(text[i])];
            if (known != 0 && known != kElsewhere) {
                out.text_ += static_cast<wchar_t>(known - 1);
                if (mapped) out.origins_.push_back(static_cast<uint32_t>(i));
                ++i;
                continue;
            }
        }
        const std::wstring_view folded = FoldOf(text.substr(i, n));
        if (folded.size() != n && !mapped) {
            // Until here every character kept its length: the places agree.
            mapped = true;
            out.origins_.resize(out.text_.size());
            std::iota(out.origins_.begin(), out.origins_.end(), uint32_t{0});
        }
        out.text_ += folded;
        if (mapped)
            out.origins_.insert(out.origins_.end(), folded.size(), static_cast<uint32_t>(i));
        i += n;
    }
    return out;
}

}  // namespace quillet
